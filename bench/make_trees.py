#!/usr/bin/env python3
"""Generates the benchmark trees (once; a marker file says they are complete).

small/: 20 000 files of 1 to 8 KiB in 1 000 folders (50 folders of 20
        subfolders, 20 files each), names with spaces and a few non-ASCII ones.
large/: 4 files of 256 MiB.
"""
import os
import random
import sys


def make_small(root):
    rng = random.Random(20260)
    for top in range(50):
        for sub in range(20):
            folder = os.path.join(root, f"map {top:02d}", f"deel {sub:02d}")
            os.makedirs(folder, exist_ok=True)
            for n in range(20):
                name = f"bestand {n:02d}.dat" if n % 5 else f"überzicht {n:02d}.txt"
                with open(os.path.join(folder, name), "wb") as f:
                    f.write(os.urandom(rng.randint(1024, 8192)))


def make_large(root):
    os.makedirs(root, exist_ok=True)
    chunk = 16 * 1024 * 1024
    for n in range(4):
        with open(os.path.join(root, f"groot {n}.bin"), "wb") as f:
            for _ in range(256 * 1024 * 1024 // chunk):
                f.write(os.urandom(chunk))


def main():
    data = sys.argv[1]
    for name, make in (("small", make_small), ("large", make_large)):
        root = os.path.join(data, name)
        marker = os.path.join(data, name + ".complete")
        if os.path.exists(marker):
            continue
        make(root)
        open(marker, "w").close()


if __name__ == "__main__":
    main()
