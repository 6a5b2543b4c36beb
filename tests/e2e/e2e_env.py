"""Where the end-to-end tests find the build, and the shared wine template.

CTest passes the paths in the environment; run by hand, they default to the
win32 build folder of this checkout."""

import fcntl
import os
import subprocess
import sys
from pathlib import Path

REPO = Path(__file__).resolve().parents[2]
sys.path.insert(0, str(REPO / "tools" / "qvdriver"))

import qvplayer  # noqa: E402

BUILD = Path(os.environ.get("QV_E2E_BUILD", REPO / "build" / "win32"))
BIN = Path(os.environ.get("QV_E2E_BIN", BUILD / "bin"))
ART = Path(os.environ.get("QV_E2E_ART", BUILD / "resources" / "art"))
FIXTURES = Path(os.environ.get("QV_E2E_FIXTURES", BUILD / "fixtures"))
DEMO = Path(os.environ.get("QV_E2E_DEMO", BUILD / "demo"))
WORK = Path(os.environ.get("QV_E2E_WORK", BUILD / "e2e"))


def start_xvfb():
    """A virtual display of our own: (process, DISPLAY)."""
    read, write = os.pipe()
    proc = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
                            pass_fds=(write,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write)
    number = b""
    while not number.endswith(b"\n"):
        chunk = os.read(read, 16)
        if not chunk:
            break
        number += chunk
    os.close(read)
    if not number.strip():
        proc.kill()
        raise RuntimeError("Xvfb did not start")
    return proc, ":" + number.decode().strip()


def template_root(display):
    """The template prefix, made once (other test processes wait for it)."""
    WORK.mkdir(parents=True, exist_ok=True)
    root = WORK / "template"
    with open(WORK / "template.lock", "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        if not (root / "prefix" / "system.reg").exists():
            wine = qvplayer.WineRoot(root, display).create()
            wine.kill_server()
    return root
