#!/usr/bin/env python3
"""wondergen-cli as a whole process against the floor of its work (bench/floor.c): the same
deletes, folder creations and writes from a small C program. The two run alternately, so that
both see the same machine; the result is the median of the per-pair ratios.

whole_process.py <wondergen-cli> <floor> [runs]
"""
import os
import statistics
import subprocess
import sys
import tempfile
import time

FORM = ["--science", "25", "--gold", "10", "--housing", "3", "--title", "奇观", "--author", "玩家"]
DOCUMENTS = ["AAA/Base/Assets/Text/Translations/Newbuilding2PD_zh_Hans_CN.xml",
             "AAA/DLC/Newbuilding2PD_RIR/Text/Newbuilding2PD_OtherLanguages.xml",
             "AAA/DLC/Newbuilding2PD_RIR/Data/Newbuilding2PD_RIR_GameplayData.xml",
             "AAA/DLC/Newbuilding2PD_RIR/Data/Newbuilding2PD_RIR_Icons.xml",
             "AAA/DLC/Newbuilding2PD_RIR/Newbuilding2PD_RIR.modinfo"]


# The wall time of one run, from spawning the process to reaping it, with its output discarded.
def timed(command):
    start = time.perf_counter()
    pid = os.posix_spawn(command[0], command, os.environ,
                         file_actions=[(os.POSIX_SPAWN_OPEN, 1, os.devnull, os.O_WRONLY, 0)])
    _, status = os.waitpid(pid, 0)
    elapsed = time.perf_counter() - start
    if status != 0:
        sys.exit(f"{command[0]} failed")
    return elapsed


def main():
    cli, floor = sys.argv[1], sys.argv[2]
    runs = int(sys.argv[3]) if len(sys.argv) > 3 else 500
    with tempfile.TemporaryDirectory() as cli_dir, tempfile.TemporaryDirectory() as floor_dir:
        subprocess.run([cli, "--out", cli_dir] + FORM, check=True, stdout=subprocess.DEVNULL)
        sizes = [str(os.path.getsize(os.path.join(cli_dir, document))) for document in DOCUMENTS]
        cli_times, floor_times = [], []
        for run in range(runs):
            pair = [(cli_times, [cli, "--out", cli_dir] + FORM),
                    (floor_times, [floor, floor_dir] + sizes)]
            for times, command in pair if run % 2 == 0 else reversed(pair):
                times.append(timed(command))
    ratios = [c / f for c, f in zip(cli_times, floor_times)]
    print(f"wondergen-cli {statistics.median(cli_times) * 1e3:.2f} ms, "
          f"floor {statistics.median(floor_times) * 1e3:.2f} ms, "
          f"median ratio {statistics.median(ratios):.2f} over {runs} pairs")


if __name__ == "__main__":
    main()
