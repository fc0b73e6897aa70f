#!/usr/bin/env python3
"""Fails, one run at a time, each system call that $BENTRO_BINARY makes over
a small tree (strace's fault injection), at a spread of its occurrences, and
makes memory run out at each of its allocations in turn (the preloaded
$BENTRO_FAILING_MALLOC), on the tree and on it served through FUSE by
$BENTRO_SLOW_FUSE, where the ring writes the fields. Every run is held to
the same rules: no crash and no hang; no byte past the field changed; every
file either repaired and reported without a failure, or left unchanged (at
most its field half-written) with a failure reported for it, its folder or
the run; status 2 when anything failed, 0 otherwise; no file touched that
its line does not follow. A failure that only takes rings away must leave
the output, the status and the tree those of a run without it. Exits 80
(skipped) where strace cannot trace, 1 on a broken rule.
Usage: faults.py"""
import contextlib
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile

from differential import Served, can_serve

SKIPPED = 80
TOOL = os.environ["BENTRO_BINARY"]
FAILING_MALLOC = os.environ.get("BENTRO_FAILING_MALLOC", "")
ARGUMENTS = ["/s", "/c", "*.wal"]  # /c shows the fields read
TAIL = bytes(range(256))
# The tree: fields to repair, one right already, a short file, a read-only
# one, folders; a .txt file that does not match.
FILES = {"top.wal": b"WRONG", "ok.wal": b"ok", "sub/a.wal": b"Sub\\A", "sub/deep/b.wal": b"",
         "other/c.wal": b"OLD", "ro.wal": b"RO", "notes.txt": b"TEXT"}
SHORT, READ_ONLY = "short.wal", "ro.wal"
# Errors each call is failed with (EIO where none is named); "+" fails every
# call from that one on, as a ring that stays busy or memory that stays short.
ERRORS = {"io_uring_enter": ["EIO", "ENOMEM", "EAGAIN+", "EBUSY+", "EINTR+", "ENOMEM+"],
          "getdents64": ["EIO", "ENOENT"], "openat": ["EIO", "EMFILE", "EACCES"],
          "write": ["EIO", "ENOSPC", "EPIPE"], "pwrite64": ["EIO", "ENOSPC"],
          "io_uring_setup": ["ENOMEM"], "fstatfs": ["EIO", "ENOSYS"], "clone3": ["EAGAIN"]}
# Calls whose failure only takes the rings away or fewer of them, or fewer
# files at once: the plain calls do the rest, and the run shows nothing.
UNSEEN = {"io_uring_setup", "io_uring_enter", "io_uring_register", "clone3", "prlimit64",
          "sched_getaffinity"}
FAILURE_WORDS = re.compile(r"^(Could not|Incorrect|File |Name for|Name of|Directory |Out of memory)")
FOLDER_WORDS = re.compile(r"^(Could not list directory|Directory )")
AS_NOBODY = os.geteuid() == 0  # permission bits would not stop root


def make_tree(root):
    for name, field in FILES.items():
        os.makedirs(os.path.dirname(os.path.join(root, name)) or root, exist_ok=True)
        with open(os.path.join(root, name), "wb") as out:
            out.write(field.ljust(32, b"\0") + TAIL)
    with open(os.path.join(root, SHORT), "wb") as out:
        out.write(b"0123456789")
    os.chmod(os.path.join(root, READ_ONLY), 0o444)
    if AS_NOBODY:
        for top, names, others in os.walk(root):
            for name in [top] + [os.path.join(top, other) for other in names + others]:
                os.chown(name, 65534, 65534)


def derived(path):
    """The field the tool gives the file at `path`, relative to the top."""
    cut = path[:path.rfind(".")].lower().replace("\\", "/").encode()
    return cut.ljust(32, b"\0")


def contents(root):
    found = {}
    for top, names, others in os.walk(root):
        for name in others:
            path = os.path.join(top, name)
            with open(path, "rb") as file:
                found[os.path.relpath(path, root)] = file.read()
    return found


def run(scratch, prefix, environment=None, served=False):
    """Runs the tool over a new copy of the tree, served through FUSE where
    asked (on one core, with one ring that the walk's thread serves): its
    output, status and the files before and after."""
    tree = os.path.join(scratch, "tree")
    shutil.rmtree(tree, ignore_errors=True)
    make_tree(tree)
    before = contents(tree)
    with Served(tree) if served else contextlib.nullcontext(tree) as top:
        one_core = {min(os.sched_getaffinity(0))}  # the first this test may use
        result = run_in(top, prefix, environment, one_core if served else None)
    return result + (before, contents(tree))


def run_in(top, prefix, environment, cores):
    # A session of its own, so that a hung tool goes with strace.
    tool = subprocess.Popen(prefix + [TOOL] + ARGUMENTS, cwd=top, stdin=subprocess.DEVNULL,
                            preexec_fn=cores and (lambda: os.sched_setaffinity(0, cores)),
                            stdout=subprocess.PIPE, stderr=subprocess.PIPE, start_new_session=True,
                            env=dict(os.environ, **(environment or {})))
    try:
        output, error = tool.communicate(timeout=30)
    except subprocess.TimeoutExpired:
        os.killpg(tool.pid, signal.SIGKILL)
        tool.communicate()
        return None, b"", None
    return output.decode(errors="replace"), error, tool.returncode


def broken_rules(output, error, status, before, after):
    """What the run did that it must not."""
    if status is None:
        return ["it hung"]
    if status < 0 or status > 3:
        return [f"it ended with status {status}: {error.decode(errors='replace')[-300:]}"]
    lines = output.splitlines()
    output_lost = b"Could not write to standard output" in error
    failed = output_lost or any(FAILURE_WORDS.match(line) for line in lines)
    rules = []
    if (status == 2) != failed:
        rules.append(f"status {status} though {'a' if failed else 'no'} failure was reported")
    # Each file's lines: its path, then what follows until the next path,
    # a folder's line or the run's.
    said = {}
    for at, line in enumerate(lines):
        if line.startswith("./"):
            said[line[2:]] = []
            for rest in lines[at + 1:]:
                if rest.startswith("./") or FOLDER_WORDS.match(rest) or rest == "Out of memory":
                    break
                said[line[2:]].append(rest)
    # The folders not entered, as paths relative to the top.
    folder_failures = [re.search(r"'(?:\./)?([^']*)'", line)[1] for line in lines
                       if FOLDER_WORDS.match(line)]
    run_failed = output_lost or "Out of memory" in lines
    for path, old in before.items():
        new = after.get(path)
        if new is None or new[32:] != old[32:]:
            rules.append(f"{path}: bytes past the field changed")
            continue
        if not path.endswith(".wal") or len(old) < 32:
            if new != old:
                rules.append(f"{path}: changed, though no file to repair")
            continue
        right, file_failed = derived(path), any(FAILURE_WORDS.match(l) for l in said.get(path, []))
        if new[:32] != old[:32] and path not in said and not output_lost:
            rules.append(f"{path}: changed without its line")
        if new[:32] == right or (new[:32] == old[:32] and old[:32] == right):
            continue
        half = any(new[:32] == right[:cut] + old[cut:32] for cut in range(33))
        in_failed_folder = any(path.startswith(folder + "/") or folder == "."
                               for folder in folder_failures)
        if not half:
            rules.append(f"{path}: its field is neither the old, the new nor half of each")
        elif not (file_failed or in_failed_folder or run_failed):
            rules.append(f"{path}: left unrepaired without a failure reported")
    return rules


def injected_calls(scratch, prefix):
    """How often the tool itself makes each system call, from its first
    signal handler on (before that, the loader's calls are its own), and
    how many of each came before."""
    trace = os.path.join(scratch, "trace")
    run(scratch, prefix + ["-o", trace])
    before, counts, started = {}, {}, False
    with open(trace) as lines:
        for line in lines:
            name = re.match(r"(?:\d+ +)?(\w+)\(", line)
            if not name:
                continue
            started = started or name[1] == "rt_sigaction"
            (counts if started else before)[name[1]] = (counts if started else before).get(name[1], 0) + 1
    # A failed brk returns the old break, not an error, which strace cannot
    # pose (the allocator below makes memory run out); a failed futex the C
    # library takes for its own fault; exit does not return.
    return {name: (before.get(name, 0), count) for name, count in counts.items()
            if name not in ("exit_group", "exit", "brk", "futex")}


def strace_runs(scratch, strace):
    for name, (offset, count) in sorted(injected_calls(scratch, strace).items()):
        occurrences = sorted({1, 2, (count + 1) // 2, count} & set(range(1, count + 1)))
        for error in ERRORS.get(name, ["EIO"]):
            for occurrence in occurrences:
                when = f"{offset + occurrence}{'+' if error.endswith('+') else ''}"
                injection = f"inject={name}:error={error.rstrip('+')}:when={when}"
                yield (injection, strace + ["-o", "/dev/null", "-e", injection], None, False,
                       name in UNSEEN)


def memory_runs(scratch, served):
    preload = {"LD_PRELOAD": FAILING_MALLOC, "BENTRO_FAIL_ALLOCATION": "0"}
    made = int(re.search(rb"allocations: (\d+)", run(scratch, [], preload, served)[1])[1])
    where = "through FUSE" if served else "on"
    for point in range(1, made + 1):  # each: a small tree makes few
        yield (f"allocation {point} of {made} {where}", [],
               dict(preload, BENTRO_FAIL_ALLOCATION=str(point)), served, False)


def main():
    if re.search(rb"__[at]san_init", open(TOOL, "rb").read()):
        print("faults.py: skipped, the sanitizers make calls and allocations of their own")
        return SKIPPED
    if shutil.which("strace") is None or subprocess.run(
            ["strace", "-o", "/dev/null", "true"], capture_output=True).returncode != 0:
        print("faults.py: skipped, strace cannot trace here (Debian: strace)")
        return SKIPPED
    scratch = tempfile.mkdtemp(prefix="faults-")
    os.chmod(scratch, 0o755)
    try:
        strace = ["strace", "-f", "-qq"] + (["-u", "nobody"] if AS_NOBODY else [])
        runs = list(strace_runs(scratch, strace))
        if FAILING_MALLOC:
            # Through FUSE the ring writes the fields.
            for served in [False] + [True] * can_serve():
                runs += list(memory_runs(scratch, served))
        untouched = run(scratch, strace + ["-o", "/dev/null"])
        broken = 0
        for name, prefix, environment, served, unseen in runs:
            result = run(scratch, prefix, environment, served)
            rules = broken_rules(*result)
            seen = [result[at] != untouched[at] for at in (0, 2, 4)]  # output, status, tree
            if unseen and not rules and any(seen):
                rules = [f"output, status or tree {seen} not those of a run without it:\n{result[0]}"]
            for rule in rules:
                print(f"{name}: {rule}")
            broken += bool(rules)
        print(f"faults.py: {len(runs)} runs, {broken} broke a rule")
        return 1 if broken else 0
    finally:
        shutil.rmtree(scratch, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
