"""Fixtures of the end-to-end tests: a display, a private wine prefix per
test with the player installed as the installer would, and the player."""

import os
import shutil
import time

import pytest

import e2e_env
from e2e_env import qvplayer as q


@pytest.fixture(scope="session")
def display():
    """A virtual display of this test process's own: on a shared one, other
    programs' windows could cover the player's when its pixels are grabbed."""
    xvfb, name = e2e_env.start_xvfb()
    yield name
    xvfb.kill()


@pytest.fixture(scope="session")
def template(display):
    return e2e_env.template_root(display)


@pytest.hookimpl(tryfirst=True, hookwrapper=True)
def pytest_runtest_makereport(item, call):
    outcome = yield
    report = outcome.get_result()
    setattr(item, "report_" + report.when, report)


@pytest.fixture
def wine(request, template, display):
    """A private prefix (own wineserver, own audio capture) for one test."""
    root = e2e_env.WORK / "roots" / request.node.name
    shutil.rmtree(root, ignore_errors=True)
    w = q.WineRoot(root, display, template=template).create()
    w.start_server()
    yield w
    w.kill_server()
    failed = getattr(request.node, "report_call", None) is not None and request.node.report_call.failed
    if failed:
        print("kept for inspection:", root)
    elif not os.environ.get("QV_E2E_KEEP"):
        shutil.rmtree(root, ignore_errors=True)


@pytest.fixture
def installation(wine):
    return q.Installation(wine, e2e_env.BIN, e2e_env.ART).install()


@pytest.fixture
def player(wine, installation):
    p = q.Player(wine, installation)
    yield p
    if p.proc and p.proc.poll() is None:
        try:
            p.driver("command", 40004, check=False)
            p.proc.wait(timeout=30)
        except Exception:
            p.proc.kill()


@pytest.fixture
def music(wine):
    """A folder for the test's audio files inside the prefix (C:\\Music)."""
    folder = wine.drive_c() / "Music"
    folder.mkdir(exist_ok=True)
    return folder

