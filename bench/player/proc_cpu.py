"""CPU time of the Linux processes that run a wine prefix's programs, read
from /proc (wine gives no other process's CPU times to a Windows program)."""

import os
from pathlib import Path

TICKS = os.sysconf("SC_CLK_TCK")


def processes_of(prefix, program):
    """Pids of the processes of a wine prefix that run program (the last
    part of their first argument: wine shows a Windows program's path there)."""
    found = []
    want = ("WINEPREFIX=%s" % prefix).encode()
    for entry in Path("/proc").iterdir():
        if not entry.name.isdigit():
            continue
        try:
            first = (entry / "cmdline").read_bytes().split(b"\0")[0].decode(errors="replace")
            if not first.replace("\\", "/").rsplit("/", 1)[-1].startswith(program):
                continue
            if want in (entry / "environ").read_bytes().split(b"\0"):
                found.append(int(entry.name))
        except OSError:
            continue
    return found


def cpu_seconds(pid):
    """User plus system CPU seconds of a process (all its threads); None once
    it is gone."""
    try:
        text = Path("/proc/%d/stat" % pid).read_text()
    except OSError:
        return None
    fields = text[text.rindex(")") + 2:].split()
    return (int(fields[11]) + int(fields[12])) / TICKS
