#!/usr/bin/env python3
"""Runs one transcript: a .t file of prose and indented shell sessions, in
cram's format. "  $ " starts a command and "  > " continues it; the indented
lines after it are its exact output, then "[N]" for an exit status other than
0; a line ending in " (esc)" is written with \\xNN escapes. The commands run in
one /bin/sh, in a new temporary folder; TESTDIR names the transcript's folder
and CRAMTMP the temporary one. A shell that exits with status 80 skips the
transcript. Prints the differences and exits 1 when the output differs; writes
nothing beside the transcript. Usage: transcript.py FILE.t"""
import difflib
import os
import re
import shutil
import subprocess
import sys
import tempfile

NEEDS_ESCAPE = re.compile(rb"[\x00-\x09\x0b-\x1f\x7f-\xff]")
TO_ESCAPE = re.compile(rb"[\x00-\x09\x0b-\x1f\\\x7f-\xff]")
ESCAPE = re.compile(rb"\\(x[0-9a-f]{2}|\\|r|t)")
NAMED = {b"\\": rb"\\", b"\r": rb"\r", b"\t": rb"\t"}
UNNAMED = {rb"\\": b"\\", rb"\r": b"\r", rb"\t": b"\t"}
SKIPPED = 80


def shown(line):
    """An output line as a transcript writes it, indented."""
    if NEEDS_ESCAPE.search(line):
        line = TO_ESCAPE.sub(lambda m: NAMED.get(m[0], b"\\x%02x" % m[0][0]), line) + b" (esc)"
    return b"  " + line + b"\n"


def meant(expected):
    """An expected line in the one form that shown() gives."""
    if not expected.endswith(b" (esc)\n"):
        return expected
    raw = ESCAPE.sub(lambda m: UNNAMED.get(m[0]) or bytes([int(m[1][1:], 16)]), expected[2:-7])
    return shown(raw)


def blocks(lines):
    """(first, command, end_of_command, end_of_output) for each command."""
    found, number = [], 0
    while number < len(lines):
        if not lines[number].startswith(b"  $ "):
            number += 1
            continue
        first, command = number, lines[number][4:]
        number += 1
        while number < len(lines) and lines[number].startswith(b"  > "):
            command += lines[number][4:]
            number += 1
        end = number
        while (number < len(lines) and lines[number].startswith(b"  ")
               and not lines[number].startswith(b"  $ ")):
            number += 1
        found.append((first, command, end, number))
    return found


def run(commands, path, scratch):
    """Each command's output and exit status, or None if the transcript was skipped."""
    salt = b"TRANSCRIPT-%d-%d" % (os.getpid(), len(commands))
    script = b"".join(b"%sprintf '\\n%%s %%s %%s\\n' %s %d \"$?\"\n" % (command, salt, index)
                      for index, command in enumerate(commands))
    workdir = os.path.join(scratch, os.path.basename(path))
    os.mkdir(workdir)
    env = dict(os.environ, TESTDIR=os.path.dirname(os.path.abspath(path)),
               TESTFILE=os.path.basename(path), CRAMTMP=scratch, TMPDIR=scratch, TMP=scratch,
               TEMP=scratch, LANG="C", LC_ALL="C", LANGUAGE="C", TZ="GMT", CDPATH="")
    script_path = os.path.join(scratch, "script.sh")
    with open(script_path, "wb") as file:
        file.write(script)
    shell = subprocess.run(["/bin/sh", script_path], stdin=subprocess.DEVNULL,
                           stdout=subprocess.PIPE, stderr=subprocess.STDOUT, cwd=workdir, env=env)
    if shell.returncode == SKIPPED:
        return None
    pieces = re.split(rb"\n" + re.escape(salt) + rb" (\d+) (\d+)\n", shell.stdout)
    return {int(pieces[at + 1]): (pieces[at], int(pieces[at + 2]))
            for at in range(0, len(pieces) - 2, 3)}


def output_lines(output, status):
    lines = output.split(b"\n")
    if output.endswith(b"\n"):
        lines.pop()
    elif output:
        lines[-1] += b" (no-eol)"
    else:
        lines = []
    return [shown(line) for line in lines] + ([b"  [%d]\n" % status] if status else [])


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    path = sys.argv[1]
    with open(path, "rb") as file:
        lines = file.read().splitlines(keepends=True)
    found = blocks(lines)
    scratch = tempfile.mkdtemp(prefix="transcript-")
    try:
        results = run([command for _, command, _, _ in found], path, scratch)
    finally:
        shutil.rmtree(scratch, ignore_errors=True)
    if results is None:
        print(f"{path}: skipped")
        return SKIPPED
    got, kept = [], 0
    for index, (first, _, end, last) in enumerate(found):
        actual = output_lines(*results.get(index, (b"", 0)))
        expected = lines[end:last]
        got += lines[kept:end] + (expected if [meant(e) for e in expected] == actual else actual)
        kept = last
    got += lines[kept:]
    if got == lines:
        print(f"{path}: {len(found)} commands, as written")
        return 0
    sys.stdout.writelines(difflib.unified_diff(
        [line.decode(errors="backslashreplace") for line in lines],
        [line.decode(errors="backslashreplace") for line in got], path, path + " as run"))
    return 1


if __name__ == "__main__":
    sys.exit(main())
