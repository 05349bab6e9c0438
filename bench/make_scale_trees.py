#!/usr/bin/env python3
"""Generates one tree for the scaling benchmark (bench/scale_bench.sh), once:
a marker file FOLDER.complete says it is whole; a folder without one (an
interrupted run) is made again.

  make_scale_trees.py files FOLDER COUNT MIN MAX
      COUNT files of MIN to MAX bytes, 20 a folder, in two levels of folders
      ("map NN/deel NN"); names with spaces, every fifth one non-ASCII.
  make_scale_trees.py wide FOLDER COUNT MIN MAX
      COUNT files of MIN to MAX bytes in FOLDER itself.
  make_scale_trees.py chain FOLDER DEPTH PER
      DEPTH folders each in the one before (d000/d001/...), PER small files
      of up to 2 KiB in each.
  make_scale_trees.py big FOLDER COUNT MIB
      COUNT files of MIB MiB of random data.

Files are written with os.open/os.write relative to their folder's
descriptor: the per-file cost of Python is then small next to the system
calls. Their data are slices of one random block (the file system does not
compress, so random per file would only cost time).
"""
import math
import os
import random
import shutil
import sys

FLAGS = os.O_WRONLY | os.O_CREAT | os.O_EXCL | os.O_CLOEXEC
BLOCK = os.urandom(64 * 1024)
PER_FOLDER = 20


def write_file(dir_fd, name, size, rng):
    start = rng.randrange(len(BLOCK) - size + 1)
    fd = os.open(name, FLAGS, 0o644, dir_fd=dir_fd)
    try:
        if size:
            os.write(fd, BLOCK[start:start + size])
    finally:
        os.close(fd)


def file_name(n, width):
    return f"überzicht {n:0{width}d}.txt" if n % 5 == 0 else f"bestand {n:0{width}d}.dat"


def fill_folder(path, names, low, high, rng):
    os.makedirs(path, exist_ok=True)
    dir_fd = os.open(path, os.O_RDONLY | os.O_DIRECTORY)
    try:
        for name in names:
            write_file(dir_fd, name, rng.randint(low, high), rng)
    finally:
        os.close(dir_fd)


def make_files(root, count, low, high):
    rng = random.Random(20261)
    folders = math.ceil(count / PER_FOLDER)
    top = math.ceil(math.sqrt(folders))
    width = len(str(top))
    for i in range(folders):
        path = os.path.join(root, f"map {i // top:0{width}d}", f"deel {i % top:0{width}d}")
        names = [file_name(n, 2) for n in range(min(PER_FOLDER, count - i * PER_FOLDER))]
        fill_folder(path, names, low, high, rng)


def make_wide(root, count, low, high):
    width = len(str(count))
    fill_folder(root, (file_name(n, width) for n in range(count)), low, high, random.Random(20262))


def make_chain(root, depth, per):
    rng = random.Random(20263)
    names = [file_name(n, 2) for n in range(per)]
    folder = root
    for level in range(depth):
        folder = os.path.join(folder, f"d{level:03d}")
        fill_folder(folder, names, 0, 2048, rng)


def make_big(root, count, mib):
    os.makedirs(root, exist_ok=True)
    chunk = 16 * 1024 * 1024
    for n in range(count):
        with open(os.path.join(root, f"groot {n}.bin"), "wb") as f:
            for _ in range(mib * 1024 * 1024 // chunk):
                f.write(os.urandom(chunk))


MAKERS = {
    "files": (make_files, 3),
    "wide": (make_wide, 3),
    "chain": (make_chain, 2),
    "big": (make_big, 2),
}


def main():
    if len(sys.argv) < 3 or sys.argv[1] not in MAKERS:
        sys.exit(__doc__)
    make, words = MAKERS[sys.argv[1]]
    root = sys.argv[2].rstrip("/")
    numbers = [int(word) for word in sys.argv[3:]]
    if len(numbers) != words:
        sys.exit(__doc__)
    marker = root + ".complete"
    if os.path.exists(marker):
        return
    if os.path.exists(root):
        shutil.rmtree(root)
    make(root, *numbers)
    open(marker, "w").close()


if __name__ == "__main__":
    main()
