#!/usr/bin/env python3
"""Times `bentro /s "*.wal"` through io_uring and with plain calls (the build
without io_uring) against the I/O floor (bench/io_floor.cpp: only the system
calls every repair of a 32-byte field needs) and a plain Python peer
(bench/peer.py), on trees generated here: warm (the trees in memory, on
tmpfs by default) and cold (the trees on disk, the page cache dropped before
every run; as root only).
Usage: python3 bench/run.py [--runs N] [--dir FOLDER] [--cold-dir FOLDER]
                            [--scaling 1000,10000,100000]"""
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
MIB = 1024 * 1024
RSS_LIMIT = 4 * MIB  # whatever the tree: only 32 bytes of a file are ever in memory
TARGETS = {"warm": 0.95, "cold": 0.45}  # io_uring / floor on (a)


def built(preset, name):
    return os.path.join(ROOT, "build", preset, name)


def build():
    for preset, targets in (("default", ["bentro", "io_floor", "measure"]), ("sequential", ["bentro"])):
        subprocess.run(["cmake", "--preset", preset], cwd=ROOT, check=True, stdout=subprocess.DEVNULL)
        subprocess.run(["cmake", "--build", "--preset", preset, "--target"] + targets, cwd=ROOT,
                       check=True, stdout=subprocess.DEVNULL)


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


def can_drop_caches():
    return os.access("/proc/sys/vm/drop_caches", os.W_OK)


def timed_run(command, cwd, output, cold):
    """Wall seconds, user and system CPU seconds, and peak RSS in bytes."""
    os.sync()  # no writeback left over from the previous run
    if cold:
        with open("/proc/sys/vm/drop_caches", "w") as caches:
            caches.write("3\n")
    with open(output, "wb") as out:
        run = subprocess.run([built("default", "measure")] + command, cwd=cwd, stdout=out,
                             stderr=subprocess.PIPE, text=True)
    if run.returncode != 0:
        sys.exit(f"{command[0]} failed with status {run.returncode}: {run.stderr}")
    wall, user, system, peak_kib = run.stderr.split("measure: ")[-1].split()
    return float(wall), float(user), float(system), int(peak_kib) * 1024


def measure(tree, scratch, runs, cold):
    listing = os.path.join(scratch, "list.txt")
    with open(listing, "w") as out:
        out.write("".join(os.path.abspath(f) + "\n" for f in matching_files(tree)))
    commands = {
        "io_uring": [built("default", "bentro"), "/s", "*.wal"],
        "plain calls": [built("sequential", "bentro"), "/s", "*.wal"],
        "floor": [built("default", "io_floor"), listing],
    }
    if not cold:
        commands["Python"] = [sys.executable, os.path.join(ROOT, "bench", "peer.py"), "*.wal"]
    samples = {program: [] for program in commands}
    order = list(commands)
    for run in range(runs + 1):  # the first round only warms the caches and the binaries
        for program in order[run % len(order):] + order[:run % len(order)]:
            sample = timed_run(commands[program], tree, os.path.join(scratch, "out.txt"), cold)
            if run > 0:
                samples[program].append(sample)
    return samples


def median(samples, index):
    return statistics.median(sample[index] for sample in samples)


def report(name, files, samples):
    floor = median(samples["floor"], 0)
    print(f"\n{name}: {files} matching files")
    print("| program | wall, median (min-max) | user CPU | system CPU | peak RSS | / floor |")
    print("|---|---|---|---|---|---|")
    for program, runs in samples.items():
        walls = [sample[0] for sample in runs]
        print(f"| {program} | {median(runs, 0):.3f} s ({min(walls):.3f}-{max(walls):.3f}) "
              f"| {median(runs, 1):.3f} s | {median(runs, 2):.3f} s "
              f"| {max(s[3] for s in runs) / MIB:.1f} MiB | {median(runs, 0) / floor:.2f} |")
    for program in ("io_uring", "plain calls"):
        peak = max(s[3] for s in samples[program])
        print(f"{program}: peak {peak / MIB:.2f} MiB, limit {RSS_LIMIT / MIB:.0f} MiB: "
              f"{'met' if peak < RSS_LIMIT else 'MISSED'}")
    return {program: median(runs, 0) for program, runs in samples.items()}


def scenario(name, make, folder, runs, cold):
    scratch = tempfile.mkdtemp(prefix="bentro-bench-", dir=folder)
    try:
        tree = os.path.join(scratch, "tree")
        make(tree)
        files = len(matching_files(tree))
        return files, report(name, files, measure(tree, scratch, runs, cold))
    finally:
        shutil.rmtree(scratch)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    warm_default = "/dev/shm" if os.path.isdir("/dev/shm") else tempfile.gettempdir()
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--dir", default=warm_default, help="where the warm trees are made (default %(default)s)")
    parser.add_argument("--cold-dir", default="/var/tmp", help="where the cold trees are made, on a disk "
                        "(default %(default)s)")
    parser.add_argument("--scaling", default="1000,10000,100000", help="file counts for the growth test")
    args = parser.parse_args()
    build()
    rng = random.Random(1)
    payload = rng.randbytes(96 * 1024)
    many = lambda count: lambda tree: make_many(tree, count, rng, payload)
    scaling = [(f"(c) {count:,} files", many(count)) for count in map(int, args.scaling.split(","))]
    print(f"bench: {time.strftime('%Y-%m-%d')}, {os.cpu_count()} cores, {args.runs} runs each, alternating")
    print(f"\n## Warm: trees in {args.dir}, in memory")
    _, start = scenario("(0) no files: the cost of starting", os.makedirs, args.dir, args.runs, False)
    _, warm = scenario("(a) 20,000 files", many(20000), args.dir, args.runs, False)
    scenario("(b) 20 files of 200 MiB", lambda tree: make_large(tree, rng, payload), args.dir, args.runs, False)
    for name, make in scaling:
        files, figures = scenario(name, make, args.dir, args.runs, False)
        print("per matching file, net of starting: " + ", ".join(
            f"{program} {(figures[program] - start[program]) / files * 1e6:.1f} us"
            for program in ("io_uring", "plain calls", "floor")))
    results = {"warm": warm["io_uring"] / warm["floor"]}
    if can_drop_caches():
        print(f"\n## Cold: trees in {args.cold_dir}, the page cache dropped before every run")
        _, cold = scenario("(a) 20,000 files", many(20000), args.cold_dir, args.runs, True)
        results["cold"] = cold["io_uring"] / cold["floor"]
        for name, make in scaling:
            scenario(name, make, args.cold_dir, args.runs, True)
    else:
        print("\n## Cold: skipped; dropping the page cache needs root")
    print()
    for kind, ratio in results.items():
        print(f"(a) {kind}: io_uring {ratio:.2f} x the floor, target {TARGETS[kind]}: "
              f"{'met' if ratio <= TARGETS[kind] else 'MISSED'}")


if __name__ == "__main__":
    main()
