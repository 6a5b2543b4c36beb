"""Where the end-to-end tests find the build, and the shared wine template.

CTest passes the paths in the environment; run by hand, they default to the
win32 build folder of this checkout."""

import fcntl
import os
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
    return qvplayer.start_xvfb()


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
