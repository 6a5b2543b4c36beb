#!/usr/bin/env python3
"""Runs every file of a damaged corpus through the player's code (audio
through qvrender, playlists and skins through qvload), several at a time,
and fails when any of them does not end cleanly.

Clean: the program exits 0, 2 or 3; its report (the last line on stdout) is
a JSON object; a refusal (2 or 3) comes with a line on stderr saying why;
stderr holds no sanitizer report, no unhandled exception and no abort; the
file it read is unchanged; and it ends within the time limit.

usage: run.py CORPUS_DIR --qvrender PROGRAM --qvload PROGRAM [--wine]
              [--jobs N] [--timeout SECONDS]
With --wine the programs are Win32 ones run by wine (in the environment the
caller set up), and paths are handed over as Windows paths."""
import argparse
import concurrent.futures
import hashlib
import json
import os
import subprocess
import sys
import time

CLEAN_EXITS = (0, 2, 3)
# Text that only a crash, a sanitizer or a runtime abort writes.
FAULT_MARKERS = (
    "ERROR: AddressSanitizer", "ERROR: LeakSanitizer", "runtime error:", "SUMMARY: UndefinedBehaviorSanitizer",
    "WARNING: ThreadSanitizer", "Unhandled exception", "Unhandled page fault", "Unhandled stack overflow",
    "wine: Unhandled", "Backtrace:", "terminate called", "abnormal program termination",
    "requested the Runtime to terminate", "Assertion failed", "Assertion `",
)


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def digest(path):
    with open(path, "rb") as f:
        return hashlib.sha1(f.read()).hexdigest()


def run_case(case, opts, work):
    name, tool, extra = case
    path = os.path.join(opts.corpus, name)
    shown = windows_path(path) if opts.wine else path
    if tool == "render":
        command = [opts.qvrender] + extra.split() + [shown]
    else:
        command = [opts.qvload, tool, shown]
    if opts.wine:
        command = ["wine"] + command
    before = digest(path)
    out_path = os.path.join(work, name + ".out")
    err_path = os.path.join(work, name + ".err")
    started = time.monotonic()
    # Output to files, not pipes: wine's helper processes may inherit them
    # and outlive the program.
    with open(out_path, "wb") as out, open(err_path, "wb") as err:
        try:
            rc = subprocess.run(command, stdout=out, stderr=err, stdin=subprocess.DEVNULL, timeout=opts.timeout).returncode
        except subprocess.TimeoutExpired:
            rc = None
    seconds = time.monotonic() - started
    with open(out_path, "rb") as f:
        stdout = f.read().decode("utf-8", "replace")
    with open(err_path, "rb") as f:
        stderr = f.read().decode("utf-8", "replace")
    problem = judge(rc, stdout, stderr, "qvrender: " if tool == "render" else "qvload: ", opts.timeout)
    if not problem and digest(path) != before:
        problem = "the file was changed"
    return name, command, rc, seconds, problem, stderr


def judge(rc, stdout, stderr, reason_prefix, timeout):
    if rc is None:
        return "no end within %d s (a hang)" % timeout
    marker = next((m for m in FAULT_MARKERS if m in stderr), None)
    if marker:
        return "stderr holds %r" % marker
    if rc not in CLEAN_EXITS:
        return "exit status %d" % rc if rc >= 0 else "killed by signal %d" % -rc
    lines = stdout.strip().splitlines()
    try:
        report = json.loads(lines[-1]) if lines else None
    except ValueError:
        report = None
    if not isinstance(report, dict):
        return "exit %d without a JSON report on stdout" % rc
    if rc != 0 and not any(line.startswith(reason_prefix) for line in stderr.splitlines()):
        return "exit %d without a reason on stderr" % rc
    return None


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("corpus")
    parser.add_argument("--qvrender", required=True)
    parser.add_argument("--qvload", required=True)
    parser.add_argument("--wine", action="store_true")
    parser.add_argument("--jobs", type=int, default=os.cpu_count() or 2)
    parser.add_argument("--timeout", type=int, default=30)
    opts = parser.parse_args()

    with open(os.path.join(opts.corpus, "manifest.tsv")) as f:
        cases = [tuple(line.rstrip("\n").split("\t")) for line in f if line.strip()]
    work = os.path.join(opts.corpus, "runs")
    os.makedirs(work, exist_ok=True)

    started = time.monotonic()
    failures = []
    exits = {}
    durations = []
    with concurrent.futures.ThreadPoolExecutor(max_workers=opts.jobs) as pool:
        for name, command, rc, seconds, problem, stderr in pool.map(lambda c: run_case(c, opts, work), cases):
            key = "timeout" if rc is None else str(rc)
            exits[key] = exits.get(key, 0) + 1
            durations.append((seconds, name))
            if problem:
                failures.append((name, command, problem, stderr))
    elapsed = time.monotonic() - started
    print("longest: " + ", ".join("%s %.1f s" % (n, s) for s, n in sorted(durations, reverse=True)[:5]))
    with open(os.path.join(opts.corpus, "results.txt"), "w") as f:
        f.write("files %d, exits %s, failures %d, %.0f s\n" % (
            len(cases), ", ".join("%s: %d" % kv for kv in sorted(exits.items())), len(failures), elapsed))
    print("damaged corpus: %d files in %.0f s; exit statuses: %s" % (
        len(cases), elapsed, ", ".join("%s: %d" % kv for kv in sorted(exits.items()))))
    for name, command, problem, stderr in failures:
        print("FAILED %s: %s" % (name, problem))
        print("  command: %s" % " ".join(command))
        for line in stderr.strip().splitlines()[-12:]:
            print("  | " + line)
    if failures:
        print("%d of %d files did not end cleanly" % (len(failures), len(cases)))
        return 1
    print("every file ended cleanly")
    return 0


if __name__ == "__main__":
    sys.exit(main())
