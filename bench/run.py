#!/usr/bin/env python3
"""Times `bentro /s "*.wal"` against the I/O floor (bench/io_floor.cpp: only the
system calls every repair of a 32-byte field needs) and a plain Python peer (bench/peer.py), on
trees generated here. Usage: python3 bench/run.py [--runs N] [--dir FOLDER]"""
import argparse
import os
import random
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BUILD = os.path.join(ROOT, "build", "default")
MIB = 1024 * 1024


def build():
    subprocess.run(["cmake", "--preset", "default"], cwd=ROOT, check=True, stdout=subprocess.DEVNULL)
    subprocess.run(["cmake", "--build", "--preset", "default", "--target", "bentro", "io_floor", "measure"],
                   cwd=ROOT, check=True, stdout=subprocess.DEVNULL)


def write_file(path, size, payload):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as file:
        file.write(b"OLD\\NAME".ljust(32, b"\0"))
        left = size - 32
        while left > 0:
            chunk = payload[:left]
            file.write(chunk)
            left -= len(chunk)


def make_many(root, count, rng, payload):
    """`count` files of 4 to 96 KiB, 50 a folder, in folders three levels deep
    (4 x 10 x 10 folders for 20,000); one in five does not match *.wal."""
    for index in range(count):
        leaf = index // 50
        folder = os.path.join(root, f"A{leaf % 4}", f"B{leaf // 4 % 10}", f"C{leaf // 40}")
        suffix = ".pcx" if index % 5 == 4 else ".wal"
        write_file(os.path.join(folder, f"Tex{index:06d}{suffix}"), rng.randint(4, 96) * 1024, payload)


def make_large(root, rng, payload):
    for index in range(20):
        write_file(os.path.join(root, f"Huge{index}.wal"), 200 * MIB, payload)


def matching_files(root):
    found = []
    for top, dirs, files in os.walk(root):
        dirs[:] = [d for d in dirs if not d.startswith(".")]
        found += [os.path.join(top, f) for f in files if f.lower().endswith(".wal")]
    return found


def timed_run(command, cwd, output):
    """Wall seconds, user and system CPU seconds, and peak RSS in bytes."""
    os.sync()  # no writeback left over from the previous run
    with open(output, "wb") as out:
        run = subprocess.run([os.path.join(BUILD, "measure")] + command, cwd=cwd, stdout=out,
                             stderr=subprocess.PIPE, text=True)
    if run.returncode != 0:
        sys.exit(f"{command[0]} failed with status {run.returncode}: {run.stderr}")
    wall, user, system, peak_kib = run.stderr.split("measure: ")[-1].split()
    return float(wall), float(user), float(system), int(peak_kib) * 1024

def measure(name, tree, scratch, runs):
    files = matching_files(tree)
    listing = os.path.join(scratch, "list.txt")
    with open(listing, "w") as out:
        out.write("".join(os.path.abspath(f) + "\n" for f in files))
    commands = {
        "bentro": [os.path.join(BUILD, "bentro"), "/s", "*.wal"],
        "floor": [os.path.join(BUILD, "io_floor"), listing],
        "script": [sys.executable, os.path.join(ROOT, "bench", "peer.py"), "*.wal"],
    }
    samples = {program: [] for program in commands}
    order = list(commands)
    for run in range(runs + 1):  # the first round only warms the caches
        for program in order[run % 3:] + order[:run % 3]:
            sample = timed_run(commands[program], tree, os.path.join(scratch, "out.txt"))
            if run > 0:
                samples[program].append(sample)
    largest = max((os.path.getsize(f) for f in files), default=0)
    return {"name": name, "files": len(files), "largest": largest, "samples": samples}


def median(samples, index):
    return statistics.median(sample[index] for sample in samples)


def report(result):
    samples = result["samples"]
    bentro_wall = median(samples["bentro"], 0)
    print(f"\n{result['name']}: {result['files']} matching files, "
          f"largest {result['largest'] / MIB:.2f} MiB")
    print("| program | wall, median (min-max) | user CPU | system CPU | peak RSS | bentro / it |")
    print("|---|---|---|---|---|---|")
    for program, runs in samples.items():
        walls = [sample[0] for sample in runs]
        print(f"| {program} | {median(runs, 0):.3f} s ({min(walls):.3f}-{max(walls):.3f}) "
              f"| {median(runs, 1):.3f} s | {median(runs, 2):.3f} s "
              f"| {max(s[3] for s in runs) / MIB:.1f} MiB | {bentro_wall / median(runs, 0):.2f} |")
    floor_wall = median(samples["floor"], 0)
    peak = max(s[3] for s in samples["bentro"])
    limit = 4 * MIB  # whatever the file size: only 32 bytes of a file are ever in memory
    print(f"bentro/floor wall {bentro_wall / floor_wall:.3f} (target 1.25); bentro peak "
          f"{peak / MIB:.2f} MiB, limit {limit / MIB:.2f} MiB: {'met' if peak < limit else 'MISSED'}")
    return bentro_wall, floor_wall, result["files"]


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    default_dir = "/dev/shm" if os.path.isdir("/dev/shm") else tempfile.gettempdir()
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--dir", default=default_dir, help="where the trees are made (default %(default)s)")
    parser.add_argument("--scaling", default="1000,10000,100000", help="file counts for the growth test")
    args = parser.parse_args()
    build()
    rng = random.Random(1)
    payload = rng.randbytes(96 * 1024)
    print(f"bench: {time.strftime('%Y-%m-%d')}, {os.cpu_count()} cores, trees in {args.dir}, "
          f"{args.runs} runs each, alternating")
    scenarios = [("(a) 20,000 files", lambda t: make_many(t, 20000, rng, payload)),
                 ("(b) 20 files of 200 MiB", lambda t: make_large(t, rng, payload)),
                 ("(0) no files: the cost of starting", lambda t: os.makedirs(t))]
    scenarios += [(f"(c) {n:,} files", lambda t, n=n: make_many(t, n, rng, payload))
                  for n in map(int, args.scaling.split(","))]
    growth = []
    for name, make in scenarios:
        scratch = tempfile.mkdtemp(prefix="bentro-bench-", dir=args.dir)
        try:
            tree = os.path.join(scratch, "tree")
            make(tree)
            growth.append((name, report(measure(name, tree, scratch, args.runs))))
        finally:
            shutil.rmtree(scratch)
    # Net of the cost of starting, which the tree without files measures.
    start_bentro, start_floor, _ = dict(growth).pop("(0) no files: the cost of starting")
    print(f"\nStarting costs bentro {start_bentro * 1e3:.1f} ms, the floor {start_floor * 1e3:.1f} ms. "
          "Time per matching file, net of that (the same for 200 MiB files as for small ones):")
    for name, (bentro, floor, files) in growth:
        if files:
            print(f"  {name}: bentro {(bentro - start_bentro) / files * 1e6:.1f} us, "
                  f"floor {(floor - start_floor) / files * 1e6:.1f} us")


if __name__ == "__main__":
    main()
