"""Running one measured program: natively, or under wine inside a session
(scripts/wine/session), with a time limit, its output, its wall time seen
from outside and, natively, the CPU time of the process and its children."""

import dataclasses
import json
import os
import resource
import signal
import subprocess
import tempfile
import threading
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
WINE_RUN = os.path.join(ROOT, "scripts", "wine", "run")


class RunError(Exception):
    """A run that failed: the one line that says why."""


@dataclasses.dataclass
class Run:
    stdout: str
    stderr: str
    wall: float  # seconds, process start to exit, seen from here
    cpu: float  # user + system seconds of the process tree (native only; 0 under wine)


def _children_cpu():
    u = resource.getrusage(resource.RUSAGE_CHILDREN)
    return u.ru_utime + u.ru_stime


def _first_line(text):
    lines = [l.strip() for l in text.strip().splitlines() if l.strip()]
    return lines[-1] if lines else ""


def _echo(stream, kept):
    for line in stream:
        kept.append(line)
        print("    " + line.rstrip(), flush=True)


def _kill(proc, what, timeout):
    os.killpg(proc.pid, signal.SIGKILL)
    proc.wait()
    raise RunError(f"{what}: no result within {timeout:.0f} s")


def _communicate(argv, timeout, what, echo_stderr):
    """(stdout, stderr, exit code); stderr shown line by line as it comes with echo_stderr."""
    common = dict(stdin=subprocess.DEVNULL, text=True, errors="replace", start_new_session=True)
    if not echo_stderr:
        proc = subprocess.Popen(argv, stdout=subprocess.PIPE, stderr=subprocess.PIPE, **common)
        try:
            out, err = proc.communicate(timeout=timeout)
        except subprocess.TimeoutExpired:
            _kill(proc, what, timeout)
        return out, err, proc.returncode
    with tempfile.TemporaryFile(mode="w+") as out_file:
        proc = subprocess.Popen(argv, stdout=out_file, stderr=subprocess.PIPE, **common)
        kept = []
        echo = threading.Thread(target=_echo, args=(proc.stderr, kept), daemon=True)
        echo.start()
        try:
            proc.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            _kill(proc, what, timeout)
        echo.join(timeout=10)  # a helper left running may hold the pipe
        out_file.seek(0)
        return out_file.read(), "".join(kept), proc.returncode


def run(argv, timeout=300.0, what=None, echo_stderr=False):
    """Runs argv to its end; a Run, or RunError on a non-zero exit or a timeout."""
    what = what or os.path.basename(argv[0])
    cpu_before = _children_cpu()
    start = time.monotonic()
    out, err, code = _communicate(argv, timeout, what, echo_stderr)
    wall = time.monotonic() - start
    cpu = _children_cpu() - cpu_before
    if code != 0:
        reason = _first_line(err) or _first_line(out) or "no message"
        raise RunError(f"{what}: exit {code}: {reason}")
    return Run(out, err, wall, cpu)


def in_wine_session():
    return bool(os.environ.get("WINEPREFIX")) and bool(os.environ.get("QV_WINE_ROOT"))


def run_wine(exe, args, timeout=300.0):
    """Runs a Win32 program under wine; the caller runs inside a session."""
    result = run([WINE_RUN, exe, *args], timeout=timeout, what=os.path.basename(exe))
    result.cpu = 0.0  # wine's own processes share the work; not this program's CPU time
    return result


def wine_path(path):
    """A Unix path as a Win32 program sees it (wine maps Z: to /)."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def json_line(text, what):
    """The last line of the output that parses as a JSON object."""
    for line in reversed(text.strip().splitlines()):
        line = line.strip()
        if line.startswith("{"):
            try:
                return json.loads(line)
            except ValueError:
                continue
    raise RunError(f"{what}: no JSON line in its output")
