#!/usr/bin/env python3
# A bounded race: while wondergen-cli deletes AAA, another process keeps exchanging a folder of AAA
# with a link to a victim folder outside it (renameat2 with RENAME_EXCHANGE), as an attacker would
# to make a deletion that resolves paths again delete the victim's files. None may be lost, and
# every run must have been raced: the exchanges made while it ran are counted, and too few (a file
# system without RENAME_EXCHANGE makes none) fail the test.
#
# race.py <wondergen-cli> [runs]
import ctypes
import mmap
import os
import shutil
import signal
import subprocess
import sys
import tempfile

ENTRIES = 3000
FEWEST_EXCHANGES = 20  # in each run, while wondergen-cli runs
libc = ctypes.CDLL(None, use_errno=True)


def fill(folder):
    os.makedirs(folder)
    for i in range(ENTRIES):
        open(os.path.join(folder, str(i)), "w").close()


def main():
    cli, runs = os.path.realpath(sys.argv[1]), int(sys.argv[2]) if len(sys.argv) > 2 else 5
    os.chdir(tempfile.mkdtemp(prefix="wondergen-race-"))
    fill("victim")
    lost, fewest = 0, 1 << 62
    exchanges = mmap.mmap(-1, 8)  # shared with the swapper, which counts its exchanges there
    count = lambda: int.from_bytes(exchanges, "little")
    for run in range(runs):
        fill("AAA/sub")
        os.symlink(os.path.abspath("victim"), "swap")
        swapper = os.fork()
        while swapper == 0:  # AT_FDCWD, RENAME_EXCHANGE
            if libc.renameat2(-100, b"AAA/sub", -100, b"swap", 2) == 0:
                exchanges[:] = (count() + 1).to_bytes(8, "little")
        before = count()
        subprocess.run([cli], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)
        fewest = min(fewest, count() - before)
        os.kill(swapper, signal.SIGKILL)
        os.waitpid(swapper, 0)
        lost += ENTRIES - len(os.listdir("victim"))
        os.unlink("swap") if os.path.islink("swap") else shutil.rmtree("swap")
        shutil.rmtree("AAA")
    shutil.rmtree(os.getcwd())
    print(f"{runs} runs against a swapping folder of {ENTRIES} entries, each raced by at least "
          f"{fewest} exchanges: {lost} victim files lost")
    return 1 if lost or fewest < FEWEST_EXCHANGES else 0


if __name__ == "__main__":
    sys.exit(main())
