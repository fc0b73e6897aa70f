#!/usr/bin/env python3
"""Runs one transcript: a .t file of prose and indented shell sessions, in
cram's format. "  $ " starts a command and "  > " continues it; the indented
lines after it are its exact output, then "[N]" for an exit status other than
0; a line with other bytes than printable ASCII is written with \\xNN escapes
and " (esc)". The commands run in one /bin/sh, in a new temporary folder;
TESTDIR names the transcript's folder and CRAMTMP the temporary one. Status
80 from the shell skips the transcript. Prints the differences and exits 1
when the output differs; writes nothing beside the transcript.
Usage: transcript.py FILE.t"""
import difflib
import os
import re
import shutil
import subprocess
import sys
import tempfile

BLOCK = re.compile(rb"^  \$ (.*\n(?:  > .*\n)*)((?:  (?!\$ ).*\n)*)", re.M)
NEEDS_ESCAPE = re.compile(rb"[\x00-\x09\x0b-\x1f\x7f-\xff]")
TO_ESCAPE = re.compile(rb"[\x00-\x09\x0b-\x1f\\\x7f-\xff]")
NAMED = {b"\\": rb"\\", b"\r": rb"\r", b"\t": rb"\t"}
SKIPPED = 80


def shown(line):
    """An output line as a transcript writes it, indented: the one form compared."""
    if NEEDS_ESCAPE.search(line):
        line = TO_ESCAPE.sub(lambda m: NAMED.get(m[0], b"\\x%02x" % m[0][0]), line) + b" (esc)"
    return b"  " + line + b"\n"


def run(commands, path, scratch):
    """Each command's output and exit status, or None if the transcript was skipped."""
    salt = b"TRANSCRIPT-%d" % os.getpid()
    script = os.path.join(scratch, "script.sh")
    with open(script, "wb") as file:
        file.writelines(b"%sprintf '\\n%%s %%s %%s\\n' %s %d \"$?\"\n" % (command, salt, index)
                        for index, command in enumerate(commands))
    workdir = os.path.join(scratch, os.path.basename(path))
    os.mkdir(workdir)
    env = dict(os.environ, TESTDIR=os.path.dirname(os.path.abspath(path)), CRAMTMP=scratch,
               TMPDIR=scratch, LANG="C", LC_ALL="C", LANGUAGE="C", TZ="GMT", CDPATH="")
    shell = subprocess.run(["/bin/sh", script], stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                           stderr=subprocess.STDOUT, cwd=workdir, env=env)
    if shell.returncode == SKIPPED:
        return None
    pieces = re.split(rb"\n" + re.escape(salt) + rb" (\d+) (\d+)\n", shell.stdout)
    return {int(pieces[at + 1]): (pieces[at], int(pieces[at + 2]))
            for at in range(0, len(pieces) - 2, 3)}


def output_lines(output, status):
    lines = output.split(b"\n")
    if output.endswith(b"\n") or not output:
        lines.pop()
    else:
        lines[-1] += b" (no-eol)"
    return [shown(line) for line in lines] + ([b"  [%d]\n" % status] if status else [])


def as_run(text, results):
    """The transcript with each command's output as it ran."""
    pieces, end = [], 0
    for index, block in enumerate(BLOCK.finditer(text)):
        output, status = results.get(index, (b"", 0))
        pieces += [text[end:block.start(2)], *output_lines(output, status)]
        end = block.end()
    return b"".join(pieces) + text[end:]


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    path = sys.argv[1]
    with open(path, "rb") as file:
        text = file.read()
    commands = [m[1].replace(b"\n  > ", b"\n") for m in BLOCK.finditer(text)]
    scratch = tempfile.mkdtemp(prefix="transcript-")
    try:
        results = run(commands, path, scratch)
    finally:
        shutil.rmtree(scratch, ignore_errors=True)
    if results is None:
        print(f"{path}: skipped")
        return SKIPPED
    got = as_run(text, results)
    if got == text:
        print(f"{path}: {len(commands)} commands, as written")
        return 0
    sys.stdout.writelines(difflib.unified_diff(
        text.decode(errors="backslashreplace").splitlines(keepends=True),
        got.decode(errors="backslashreplace").splitlines(keepends=True), path, path + " as run"))
    return 1


if __name__ == "__main__":
    sys.exit(main())
