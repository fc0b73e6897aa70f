#!/usr/bin/env python3
"""Times `bentro /s "*.wal"` through io_uring, with rings on every core and
with one ring on one core, and with plain calls (the build without
io_uring), against the I/O floor (bench/io_floor.cpp: only the system calls
every repair of a 32-byte field needs, given the list of files) and a plain
Python peer (bench/peer.py), on trees generated here. Each round runs every
program once, in a turning order; the figures are medians over the rounds,
and each ratio to the floor is the median of the rounds' own ratios.
  warm: the trees in memory, on tmpfs (--dir) and on a disk (--disk-dir),
        in three times the rounds, as each run is short
  cold: on the disk, the page cache dropped before every run (root only)
  slow share: 4,000 files served by bench/slow_fuse.cpp, 0.5 ms a request,
        mounted afresh before every run (needs FUSE: fuse3, libfuse3-dev)
  named: the files of a tree named with /f, against the walk of it
  million: 1,000,000 files in 20,000 folders, for memory (--million)
Usage: python3 bench/run.py [--runs N] [--dir FOLDER] [--disk-dir FOLDER]
                            [--scaling 1000,10000,100000] [--million]"""
import argparse
import contextlib
import os
import platform
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
SHARE_DELAY_US = 500
PINNED = {"one ring"}  # run on one core: the tool then serves a single ring


def built(preset, name):
    return os.path.join(ROOT, "build", preset, name)


def build():
    for preset, targets in (("default", ["bentro", "io_floor", "measure"]), ("sequential", ["bentro"])):
        subprocess.run(["cmake", "--preset", preset], cwd=ROOT, check=True, stdout=subprocess.DEVNULL)
        subprocess.run(["cmake", "--build", "--preset", preset, "--target"] + targets, cwd=ROOT,
                       check=True, stdout=subprocess.DEVNULL)
    # The slow share's server, where libfuse3 is found.
    subprocess.run(["cmake", "--build", "--preset", "default", "--target", "slow_fuse"], cwd=ROOT,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def write_file(path, size, payload):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as file:
        file.write(b"OLD\\NAME".ljust(32, b"\0"))
        left = size - 32
        while left > 0:
            chunk = payload[:left]
            file.write(chunk)
            left -= len(chunk)


def make_many(root, count, sizes, payload):
    """`count` files, 50 a folder, in folders three levels deep (4 x 10 x 10
    folders for 20,000); one in five does not match *.wal."""
    for index in range(count):
        leaf = index // 50
        folder = os.path.join(root, f"A{leaf % 4}", f"B{leaf // 4 % 10}", f"C{leaf // 40}")
        suffix = ".pcx" if index % 5 == 4 else ".wal"
        write_file(os.path.join(folder, f"Tex{index:07d}{suffix}"), sizes(), payload)


def make_large(root, payload):
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


class Share:
    """The tree served through FUSE at `mount`, mounted afresh for each run,
    so that nothing of it is cached on the client's side."""
    def __init__(self, tree):
        self.tree, self.mount, self.server = tree, tree + ".share", None
        os.makedirs(self.mount, exist_ok=True)

    def __enter__(self):
        self.server = subprocess.Popen([built("default", "slow_fuse"), self.tree, self.mount,
                                        str(SHARE_DELAY_US)])
        while not os.path.ismount(self.mount):
            if self.server.poll() is not None:
                sys.exit("slow_fuse could not mount the share")
            time.sleep(0.01)
        return self

    def __exit__(self, *_):
        subprocess.run(["fusermount3", "-u", self.mount], check=True)
        self.server.wait()


def first_core():
    """Pins the timing program, before it starts the tool, to the first core
    it may use, so that no pinning program's own start is timed."""
    os.sched_setaffinity(0, {min(os.sched_getaffinity(0))})


def timed_run(command, cwd, output, cold, share, pinned=False):
    """Wall seconds, user and system CPU seconds, and peak RSS in bytes."""
    os.sync()  # no writeback left over from the previous run
    if cold:
        with open("/proc/sys/vm/drop_caches", "w") as caches:
            caches.write("3\n")
    with open(output, "wb") as out, share or contextlib.nullcontext():
        run = subprocess.run([built("default", "measure")] + command, cwd=cwd, stdout=out,
                             stderr=subprocess.PIPE, text=True,
                             preexec_fn=first_core if pinned else None)
    if run.returncode != 0:
        sys.exit(f"{command[0]} failed with status {run.returncode}: {run.stderr}")
    wall, user, system, peak_kib = run.stderr.split("measure: ")[-1].split()
    return float(wall), float(user), float(system), int(peak_kib) * 1024


def programs(listing, python, pattern=("/s", "*.wal")):
    commands = {
        "rings": [built("default", "bentro"), *pattern],
        "one ring": [built("default", "bentro"), *pattern],
        "plain calls": [built("sequential", "bentro"), *pattern],
        "floor": [built("default", "io_floor"), listing],
    }
    if python:
        commands["Python"] = [sys.executable, os.path.join(ROOT, "bench", "peer.py"), "*.wal"]
    return commands


def measure(commands, cwd, scratch, runs, cold=False, share=None):
    samples = {program: [] for program in commands}
    order = list(commands)
    for run in range(runs + 1):  # the first round only warms the caches and the binaries
        for program in order[run % len(order):] + order[:run % len(order)]:
            sample = timed_run(commands[program], cwd, os.path.join(scratch, "out.txt"), cold, share,
                               program in PINNED)
            if run > 0:
                samples[program].append(sample)
    return samples


def median(samples, index):
    return statistics.median(sample[index] for sample in samples)


def report(name, files, samples, base="floor"):
    """The table, and for each program its median time and its median ratio
    to `base` over the rounds."""
    print(f"\n{name}: {files} matching files")
    print(f"| program | wall, median (min-max) | user CPU | system CPU | peak RSS | / {base} |")
    print("|---|---|---|---|---|---|")
    figures = {}
    for program, runs in samples.items():
        walls = [sample[0] for sample in runs]
        ratio = statistics.median(a[0] / b[0] for a, b in zip(runs, samples[base]))
        figures[program] = (median(runs, 0), ratio, max(s[3] for s in runs))
        print(f"| {program} | {median(runs, 0):.3f} s ({min(walls):.3f}-{max(walls):.3f}) "
              f"| {median(runs, 1):.3f} s | {median(runs, 2):.3f} s "
              f"| {max(s[3] for s in runs) / MIB:.2f} MiB | {ratio:.2f} |")
    return figures


def scenario(name, make, folder, runs, cold=False, shared=False, python=True):
    scratch = tempfile.mkdtemp(prefix="bentro-bench-", dir=folder)
    try:
        tree = os.path.join(scratch, "tree")
        make(tree)
        share = Share(tree) if shared else None
        top = share.mount if share else tree
        listing = os.path.join(scratch, "list.txt")
        with open(listing, "w") as out:  # the paths the floor opens: in the share, if one
            out.write("".join(os.path.join(top, os.path.relpath(f, tree)) + "\n"
                              for f in matching_files(tree)))
        commands = programs(listing, python and not cold and not shared)
        return report(name, len(matching_files(tree)),
                      measure(commands, top, scratch, runs, cold, share))
    finally:
        shutil.rmtree(scratch)


def named_scenario(make, folder, runs):
    """The walk of a tree of 1,000 files and the same files named with /f,
    each net of starting: /f with no names, timed in the same rounds. A run
    takes milliseconds and a millisecond's swing is a tenth of it: the
    rounds are eight times as many as elsewhere."""
    scratch = tempfile.mkdtemp(prefix="bentro-bench-", dir=folder)
    try:
        tree = os.path.join(scratch, "tree")
        make(tree)
        names = sorted(os.path.relpath(f, tree) for f in matching_files(tree))
        commands = {"walk": [built("default", "bentro"), "/s", "*.wal"],
                    "named with /f": [built("default", "bentro"), "/f", "--", *names],
                    "starting": [built("default", "bentro"), "/f"]}
        figures = report("(f) 1,000 files, 800 named with /f", len(names),
                         measure(commands, tree, scratch, 8 * runs), base="walk")
        start = figures.pop("starting")[0]
        costs = {program: (figures[program][0] - start) / len(names) * 1e6 for program in figures}
        print("per file, net of starting: " + ", ".join(f"{p} {c:.1f} us" for p, c in costs.items()))
        return costs
    finally:
        shutil.rmtree(scratch)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--runs", type=int, default=7)
    parser.add_argument("--dir", default="/dev/shm" if os.path.isdir("/dev/shm") else tempfile.gettempdir(),
                        help="where the trees in memory are made (default %(default)s)")
    parser.add_argument("--disk-dir", default="/var/tmp", help="where the trees on a disk are made "
                        "(default %(default)s)")
    parser.add_argument("--scaling", default="1000,10000,100000", help="file counts for the growth test")
    parser.add_argument("--million", action="store_true", help="also 1,000,000 files, for memory")
    args = parser.parse_args()
    build()
    rng = random.Random(1)
    payload = rng.randbytes(96 * 1024)
    texture = lambda: rng.randint(4, 96) * 1024
    many = lambda count, sizes=texture: lambda tree: make_many(tree, count, sizes, payload)
    print(f"bench: {time.strftime('%Y-%m-%d')}, {os.cpu_count()} cores, kernel "
          f"{platform.release()}, {args.runs} rounds, alternating")
    targets, peaks = [], []

    def noted(figures):
        peaks.extend((program, peak) for program, (_, _, peak) in figures.items()
                     if program not in ("floor", "Python"))
        return figures

    # A warm run of tree (a) takes a tenth of a second, and on a shared host
    # one round in seven may be a fifth slower or faster than the next: the
    # warm trees take three times the rounds.
    warm_runs = 3 * args.runs
    print(f"\n## Warm: trees in memory, on {args.dir} (tmpfs) and {args.disk_dir} (disk), "
          f"{warm_runs} rounds")
    start = noted(scenario("(0) no files: the cost of starting", os.makedirs, args.dir, warm_runs))
    for folder in (args.dir, args.disk_dir):
        warm = noted(scenario(f"(a) 20,000 files in {folder}", many(20000), folder, warm_runs))
        targets += [(f"(a) warm in {folder}, rings on every core", warm["rings"][1], 0.85),
                    (f"(a) warm in {folder}, one ring", warm["one ring"][1], 1.0)]
    noted(scenario("(b) 20 files of 200 MiB", lambda tree: make_large(tree, payload), args.dir,
                   warm_runs))
    for count in map(int, args.scaling.split(",")):
        files = count * 4 // 5
        figures = noted(scenario(f"(c) {count:,} files", many(count), args.dir, warm_runs))
        print("per matching file, net of starting: " + ", ".join(
            f"{program} {(figures[program][0] - start[program][0]) / files * 1e6:.1f} us"
            for program in ("rings", "one ring", "plain calls", "floor")))
    named = named_scenario(many(1000), args.dir, args.runs)
    targets.append(("(f) /f, a file's cost over the walk's", named["named with /f"] / named["walk"], 1.0))
    if can_drop_caches():
        print(f"\n## Cold: trees on {args.disk_dir}, the page cache dropped before every run")
        cold = noted(scenario("(a) 20,000 files", many(20000), args.disk_dir, args.runs, cold=True))
        targets.append(("(a) cold, rings on every core", cold["rings"][1], 0.22))
        for count in map(int, args.scaling.split(",")):
            noted(scenario(f"(c) {count:,} files", many(count), args.disk_dir, args.runs, cold=True))
    else:
        print("\n## Cold: skipped; dropping the page cache needs root")
    if os.path.exists(built("default", "slow_fuse")) and os.path.exists("/dev/fuse"):
        print(f"\n## Slow share: FUSE, {SHARE_DELAY_US / 1000} ms a request, mounted afresh for every run")
        share = noted(scenario("(d) 4,000 files", many(5000, lambda: 4096), args.dir, args.runs,
                               shared=True))
        targets.append(("(d) slow share, rings on every core", share["rings"][1], 0.12))
    else:
        print("\n## Slow share: skipped; it needs FUSE (fuse3) and slow_fuse (libfuse3-dev)")
    if args.million:
        print("\n## A million files of 64 bytes, 800,000 matching, in 20,000 folders")
        noted(scenario("(e) 1,000,000 files", many(1000000, lambda: 64), args.dir, args.runs,
                       python=False))
    print()
    for name, ratio, target in targets:
        print(f"{name}: {ratio:.2f} x, target {target}: {'met' if ratio <= target else 'MISSED'}")
    peak = max(peaks, key=lambda item: item[1])
    print(f"peak memory, every tree: {peak[1] / MIB:.2f} MiB ({peak[0]}), limit "
          f"{RSS_LIMIT / MIB:.0f} MiB: {'met' if peak[1] < RSS_LIMIT else 'MISSED'}")


if __name__ == "__main__":
    main()
