#!/usr/bin/env python3
"""A run that makes the wonder's icon from a photo of 4000 x 3000 pixels, against ImageMagick
making the same seven DXT5 textures, with their mip chains, from it in one convert process:
taking turns in one run, the median of each and their ratio.

    bench/icon.py build-bench/cli/wondergen-cli [REPEATS]

It needs ImageMagick's convert (./scripts/setup bench) and makes its photo with it once.
"""
import os
import statistics
import subprocess
import sys
import tempfile
import time

SIZES = [32, 38, 50, 64, 80, 128, 256]


def timed(command):
    start = time.perf_counter()
    subprocess.run(command, check=True, stdout=subprocess.DEVNULL)
    return time.perf_counter() - start


def main():
    cli, repeats = sys.argv[1], int(sys.argv[2]) if len(sys.argv) > 2 else 9
    with tempfile.TemporaryDirectory() as scratch:
        photo = os.path.join(scratch, "photo.jpg")
        subprocess.run(["convert", "-size", "4000x3000", "plasma:fractal", "-blur", "0x1",
                        "-quality", "92", photo], check=True)
        ours = [cli, "--out", scratch, "--icon", photo]
        # Fitted into the square, transparent around, then each size as a DXT5 texture.
        theirs = ["convert", photo, "-resize", "256x256", "-background", "none", "-gravity",
                  "center", "-extent", "256x256"]
        for size in SIZES:
            theirs += ["(", "+clone", "-resize", f"{size}x{size}", "-define",
                       "dds:compression=dxt5", "-write", os.path.join(scratch, f"m{size}.dds"),
                       "+delete", ")"]
        theirs += ["null:"]
        times = {"ours": [], "theirs": []}
        for _ in range(repeats):
            times["ours"].append(timed(ours))
            times["theirs"].append(timed(theirs))
        mine, magick = statistics.median(times["ours"]), statistics.median(times["theirs"])
        print(f"wondergen-cli {mine:.3f} s, ImageMagick {magick:.3f} s, ratio {mine / magick:.2f}"
              f" (medians of {repeats})")


if __name__ == "__main__":
    main()
