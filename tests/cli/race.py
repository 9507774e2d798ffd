#!/usr/bin/env python3
# A bounded race: while wondergen-cli deletes AAA, another process keeps exchanging a folder of AAA
# with a link to a victim folder outside it (renameat2 with RENAME_EXCHANGE), as an attacker would
# to make a deletion that resolves paths again delete the victim's files. None may be lost, and
# the runs must have been raced: each starts once the swapper has made a few exchanges (a file
# system without RENAME_EXCHANGE makes none, and fails the test), and the exchanges made while
# the runs went on are counted: fewer than one a run fail the test too.
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
import time

ENTRIES = 3000
libc = ctypes.CDLL(None, use_errno=True)


def fill(folder):
    os.makedirs(folder)
    for i in range(ENTRIES):
        open(os.path.join(folder, str(i)), "w").close()


def main():
    cli, runs = os.path.realpath(sys.argv[1]), int(sys.argv[2]) if len(sys.argv) > 2 else 5
    os.chdir(tempfile.mkdtemp(prefix="wondergen-race-"))
    fill("victim")
    lost, raced, going = 0, 0, True
    exchanges = mmap.mmap(-1, 8)  # shared with the swapper, which counts its exchanges there
    count = lambda: int.from_bytes(exchanges, "little")
    for run in range(runs):
        fill("AAA/sub")
        os.symlink(os.path.abspath("victim"), "swap")
        start, deadline, swapper = count(), time.time() + 10, os.fork()
        while swapper == 0:  # AT_FDCWD, RENAME_EXCHANGE
            if libc.renameat2(-100, b"AAA/sub", -100, b"swap", 2) == 0:
                exchanges[:] = (count() + 1).to_bytes(8, "little")
        while count() - start < 20 and time.time() < deadline:  # the swapper getting going
            time.sleep(0.01)
        before, going = count(), going and count() - start >= 20
        subprocess.run([cli], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)
        raced += count() - before
        os.kill(swapper, signal.SIGKILL)
        os.waitpid(swapper, 0)
        lost += ENTRIES - len(os.listdir("victim"))
        os.unlink("swap") if os.path.islink("swap") else shutil.rmtree("swap")
        shutil.rmtree("AAA")
    shutil.rmtree(os.getcwd())
    print(f"{runs} runs against a swapping folder of {ENTRIES} entries, raced by {raced} exchanges"
          f"{'' if going else ' (the swapper made none before a run)'}: {lost} victim files lost")
    return 1 if lost or raced < runs or not going else 0


if __name__ == "__main__":
    sys.exit(main())
