#!/usr/bin/env python3
"""Runs $BENTRO_BINARY over random trees (a pattern, one with a folder part,
or files named with /f) twice: once as it is, through io_uring (rings on
every core, or one ring on one core; every third tree served through FUSE
by $BENTRO_SLOW_FUSE, where the ring writes the fields), and once with
io_uring_setup forbidden, so that the tool falls back
on plain calls. Both runs must print the same bytes, end with the same status
and leave the same tree. A first run, with plain 32-byte reads forbidden,
shows that the tool reads through io_uring where the host offers it. Exits 80
(skipped) where the host cannot pose this (no seccomp numbers for its
architecture, or no io_uring), 1 on a difference.
Usage: differential.py [TREES [SEED]]"""
import ctypes
import os
import platform
import random
import shutil
import stat
import struct
import subprocess
import sys
import tempfile

SKIPPED = 80
SLOW_FUSE = os.environ.get("BENTRO_SLOW_FUSE", "")
# System call numbers: pread64 differs between architectures, io_uring_setup not.
PREAD64 = {"x86_64": 17, "aarch64": 67}.get(platform.machine())
IO_URING_SETUP = 425
PR_SET_NO_NEW_PRIVS, PR_SET_SECCOMP, SECCOMP_MODE_FILTER = 38, 22, 2
SECCOMP_RET_ALLOW, SECCOMP_RET_EPERM = 0x7FFF0000, 0x00050000 | 1
LOAD, JUMP_IF_EQUAL, RETURN = 0x20, 0x15, 0x06  # BPF_LD|BPF_W|BPF_ABS, BPF_JMP|BPF_JEQ|BPF_K, BPF_RET|BPF_K
NUMBER, THIRD_ARGUMENT = 0, 32  # offsets in struct seccomp_data
OLD = 978307200  # 2001-01-01: every file's time before the run


def filter_program(call, third_argument=None):
    """A seccomp filter that fails `call` with EPERM (when its third argument
    is `third_argument`, if given) and allows every other call."""
    rules = [(LOAD, 0, 0, NUMBER)]
    if third_argument is None:
        rules += [(JUMP_IF_EQUAL, 0, 1, call)]
    else:
        rules += [(JUMP_IF_EQUAL, 0, 3, call), (LOAD, 0, 0, THIRD_ARGUMENT),
                  (JUMP_IF_EQUAL, 0, 1, third_argument)]
    rules += [(RETURN, 0, 0, SECCOMP_RET_EPERM), (RETURN, 0, 0, SECCOMP_RET_ALLOW)]
    return b"".join(struct.pack("HBBI", *rule) for rule in rules)


def forbidding(program):
    """A function for subprocess's preexec_fn that installs the filter."""
    def install():
        libc = ctypes.CDLL(None, use_errno=True)
        code = ctypes.create_string_buffer(program)
        fprog = struct.pack("HxxxxxxQ", len(program) // 8, ctypes.addressof(code))
        if libc.prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0 or \
                libc.prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, ctypes.c_char_p(fprog), 0, 0) != 0:
            os._exit(126)
    return install


PLAIN_READS_FAIL = filter_program(PREAD64, 32)
PLAIN = filter_program(IO_URING_SETUP)


def make_file(path, rng):
    size = rng.choice([0, 10, 31, 32, 33, 64, 200])
    field = rng.choice([b"OLD", b"Textures\\Old\\X", b"right", b"", b"\x01\xffA/B"])
    with open(path, "wb") as out:
        out.write(((field + bytes(32))[:32] + rng.randbytes(max(0, size - 32)))[:size])


def random_name(rng):
    stem = rng.choice(["a", "Wall1", "sky.old", "b_", "Z", "x" * 40, "\x01ctl", "\xc2\x9bcsi", "e\xcc\x81"])
    return stem + rng.choice([".wal", ".wal", ".WAL", ".pcx", "", ".wal."])


def make_tree(root, rng):
    """A tree of files of every size around 32 bytes, folders (deep ones
    among them), FIFOs, symbolic and hard links, names that do not fit."""
    folders, files = [root], []  # root exists
    for _ in range(rng.randint(5, 40)):
        parent, name = rng.choice(folders), random_name(rng)
        path = os.path.join(parent, name)
        if os.path.lexists(path):
            continue
        kind = rng.choices(["file", "folder", "deep", "fifo", "symlink", "hardlink"], [12, 3, 1, 1, 1, 1])[0]
        if kind == "file":
            make_file(path, rng)
            files.append(path)
            if rng.random() < 0.1:
                os.chmod(path, 0o444)
        elif kind in ("folder", "deep"):
            os.makedirs(path)
            folders.append(path)
            for _ in range(rng.randint(5, 25) if kind == "deep" else 0):
                path = os.path.join(path, rng.choice(["d", "Deeper.dir", ".hidden"]))
                os.mkdir(path)
            folders.append(path)
        elif kind == "fifo":
            os.mkfifo(path)
        elif kind == "symlink":
            os.symlink(os.path.relpath(rng.choice(files + folders + ["missing"]), parent), path)
        elif files:
            os.link(rng.choice(files), path)
    for top, names, others in os.walk(root):
        for name in names + others:
            os.utime(os.path.join(top, name), (OLD, OLD), follow_symlinks=False)


def snapshot(root):
    """Every entry below root: its kind, and its bytes, link target or time."""
    seen = {}
    for top, names, others in os.walk(root):
        for name in sorted(names + others):
            path = os.path.join(top, name)
            facts = os.lstat(path)
            if stat.S_ISREG(facts.st_mode):
                with open(path, "rb") as file:
                    seen[path[len(root):]] = (file.read(), facts.st_mtime_ns == OLD * 10**9)
            elif stat.S_ISLNK(facts.st_mode):
                seen[path[len(root):]] = ("link", os.readlink(path))
            else:
                seen[path[len(root):]] = stat.S_IFMT(facts.st_mode)
    return seen


def host_offers_io_uring():
    parameters = ctypes.create_string_buffer(120)  # struct io_uring_params
    ring = ctypes.CDLL(None).syscall(IO_URING_SETUP, 4, parameters)
    if ring >= 0:
        os.close(ring)
    return ring >= 0


def run(tree, arguments, program=None, prefix=(), served=None):
    """The tool's output, status and the tree after it: run in `served` (the
    tree through FUSE) where given."""
    tool = subprocess.run(list(prefix) + [os.environ["BENTRO_BINARY"]] + arguments,
                          cwd=served or tree, preexec_fn=forbidding(program) if program else None,
                          stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    return tool.stdout, tool.stderr, tool.returncode, snapshot(tree)


class Served:
    """A tree served through the FUSE server of the benchmark, as a share:
    the ring writes the fields there."""
    def __init__(self, tree):
        self.mount = tree + ".served"
        os.mkdir(self.mount)
        self.server = subprocess.Popen([SLOW_FUSE, tree, self.mount, "0"], stderr=subprocess.DEVNULL)
        while not os.path.ismount(self.mount):
            if self.server.poll() is not None:
                raise OSError("the FUSE server ended")

    def __enter__(self):
        return self.mount

    def __exit__(self, *_):
        # A tool killed amid a request leaves the mount busy for a while.
        if subprocess.run(["fusermount3", "-u", self.mount]).returncode != 0:
            subprocess.run(["fusermount3", "-u", "-z", self.mount], check=True)
        self.server.wait()
        os.rmdir(self.mount)


def can_serve():
    if not SLOW_FUSE or not os.path.exists("/dev/fuse") or shutil.which("fusermount3") is None:
        return False
    probe = tempfile.mkdtemp(prefix="differential-fuse-")
    try:
        with Served(probe):
            return True
    except OSError:
        return False
    finally:
        shutil.rmtree(probe, ignore_errors=True)


def random_arguments(rng, tree):
    """Switches and a pattern, a pattern with a folder part, or /f and names
    of the tree's entries (some twice, some missing), in a random order."""
    switches = [switch for switch in ["/s", "/k", "/l", "/q", "/c"] if rng.random() < 0.4]
    pattern = rng.choice(["*.wal", "*", "*.*", "?.wal", "a*", "*.WAL"])
    entries = sorted(os.path.relpath(os.path.join(top, name), tree)
                     for top, names, others in os.walk(tree) for name in names + others)
    kind = rng.random()
    if kind < 0.2:
        folders = [entry for entry in entries if os.path.isdir(os.path.join(tree, entry))]
        return switches + [os.path.join(rng.choice(folders or ["."]), pattern)]
    if kind < 0.4:
        names = rng.sample(entries, min(len(entries), 12)) + ["missing.wal"]
        names += rng.sample(names, 3)
        rng.shuffle(names)
        return [switch for switch in switches if switch != "/s"] + ["/f", "--"] + names
    return switches + [pattern]


def main():
    trees = int(sys.argv[1]) if len(sys.argv) > 1 else 100
    seed = int(sys.argv[2]) if len(sys.argv) > 2 else 1
    if PREAD64 is None or not host_offers_io_uring():
        print(f"differential.py: skipped, no seccomp numbers for {platform.machine()} or no io_uring")
        return SKIPPED
    fuse = can_serve()
    if not fuse:
        print("differential.py: no tree through FUSE here (root, /dev/fuse, fuse3 and the "
              "benchmark's slow_fuse needed)")
    scratch = tempfile.mkdtemp(prefix="differential-")
    try:
        probe = os.path.join(scratch, "probe")
        os.mkdir(probe)
        with open(os.path.join(probe, "x.wal"), "wb") as out:
            out.write(bytes(64))
        if b"Could not read" in run(probe, ["x.wal"], PLAIN_READS_FAIL)[0]:
            print("differential.py: the tool read with plain calls, though the host offers io_uring")
            return 1
        for index in range(trees):
            rng = random.Random(seed * 1000 + index)
            state = rng.getstate()
            for name in ("uring", "plain"):  # the same tree twice: a FIFO cannot be copied
                rng.setstate(state)
                os.mkdir(os.path.join(scratch, name))
                make_tree(os.path.join(scratch, name), rng)
            arguments = random_arguments(rng, os.path.join(scratch, "uring"))
            # Rings on every core, or one served by the walk's thread; every
            # third tree through FUSE, where the ring writes the fields.
            prefix = ["taskset", "-c", "0"] if index % 2 else []
            roots = [os.path.join(scratch, name) for name in ("uring", "plain")]
            if fuse and index % 3 == 0:
                with Served(roots[0]) as served_uring, Served(roots[1]) as served_plain:
                    through_uring = run(roots[0], arguments, None, prefix, served_uring)
                    plain = run(roots[1], arguments, PLAIN, (), served_plain)
            else:
                through_uring = run(roots[0], arguments, None, prefix)
                plain = run(roots[1], arguments, PLAIN)
            if through_uring != plain:
                print(f"tree {index} (seed {seed}), bentro {' '.join(arguments)}:")
                print("through io_uring:", *through_uring[:3], sep="\n")
                print("plain calls:", *plain[:3], sep="\n")
                return 1
            for name in ("uring", "plain"):
                shutil.rmtree(os.path.join(scratch, name))
        print(f"differential.py: {trees} random trees, the same through io_uring and with plain calls")
        return 0
    finally:
        shutil.rmtree(scratch, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
