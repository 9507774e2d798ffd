#!/usr/bin/env python3
"""Deleting an old AAA that is DEPTH folders deep: wondergen-cli, within 64 file descriptors,
against GNU rm -rf, taking turns in one run, each on a tree made anew; the median of each and their
ratio, for each depth given.

    bench/deep_tree.py build-bench/cli/wondergen-cli [REPEATS] DEPTH...
"""
import os
import resource
import statistics
import subprocess
import sys
import tempfile
import time


def make_tree(top, depth):
    """AAA in `top`, DEPTH folders deep, made through folder descriptors at any depth."""
    os.mkdir(os.path.join(top, "AAA"))
    folder = os.open(os.path.join(top, "AAA"), os.O_RDONLY)
    for _ in range(depth):
        os.mkdir("d", dir_fd=folder)
        deeper = os.open("d", os.O_RDONLY, dir_fd=folder)
        os.close(folder)
        folder = deeper
    os.close(folder)


def timed(command, **options):
    start = time.perf_counter()
    subprocess.run(command, check=True, stdout=subprocess.DEVNULL, **options)
    return time.perf_counter() - start


def few_descriptors():
    resource.setrlimit(resource.RLIMIT_NOFILE, (64, 64))


def main():
    cli, arguments = sys.argv[1], [int(word) for word in sys.argv[2:]]
    repeats, depths = (arguments[0], arguments[1:]) if len(arguments) > 1 else (5, arguments)
    print(f"{'depth':>6} {'wondergen-cli':>14} {'rm -rf':>8} {'ratio':>6}")
    for depth in depths:
        times = {"wondergen": [], "rm": []}
        with tempfile.TemporaryDirectory() as top:
            for _ in range(repeats):
                make_tree(top, depth)
                times["wondergen"].append(
                    timed([cli, "--out", top], preexec_fn=few_descriptors))
                subprocess.run(["rm", "-rf", top + "/AAA"], check=True)  # the package written
                make_tree(top, depth)
                times["rm"].append(timed(["rm", "-rf", top + "/AAA"]))
        ours, rm = statistics.median(times["wondergen"]), statistics.median(times["rm"])
        print(f"{depth:>6} {ours:>12.3f} s {rm:>6.3f} s {ours / rm:>6.2f}")


if __name__ == "__main__":
    main()
