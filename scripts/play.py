"""`make play`: the player under wine, installed as the installer would,
started with the given files or the demo tracks.

With a display it is an ordinary window on that display, playing through
the user's sound set-up, until it is closed. Without one it runs on a virtual
display with its audio captured, plays the demo (or the files) through, and
leaves out/play-capture.wav and out/play-window.png behind.

usage: play.py BUILD_DIR [FILE...]
"""

import os
import shutil
import sys
import time
from pathlib import Path

REPO = Path(__file__).resolve().parents[1]
sys.path.insert(0, str(REPO / "tools" / "qvdriver"))

import qvplayer as q  # noqa: E402

DEMO_NAMES = ("1 Harbour Lights.ogg", "2 Harbour Lights.flac", "3 Harbour Lights.mp3")


def say(text):
    print("play: " + text, flush=True)


def with_display(build, files):
    root = build / "play"
    wine = q.WineRoot(root, os.environ["DISPLAY"], captured=False).create()
    installation = q.Installation(wine, build / "bin", build / "resources" / "art").install()
    player = q.Player(wine, installation)
    say("QuoviraPlayer is starting on %s (wine prefix %s); close its window to end" % (wine.display, root / "prefix"))
    player.start(*[wine.winpath(f) for f in files])
    return player.proc.wait()


class Follower:
    """Follows playback until the player stops and its output has settled,
    grabbing the window once while a track plays (with its time running)."""

    def __init__(self, player, wine, picture):
        self.player, self.wine, self.picture = player, wine, picture
        self.shown = None

    def captured(self):
        return self.wine.capture.stat().st_size if self.wine.capture.exists() else 0

    def until_stopped(self, timeout=1800, settle=1.5, nothing_after=30):
        """The state once stopped with the output settled; also when nothing
        at all plays for nothing_after seconds (files that do not open)."""
        start = time.monotonic()
        size, steady_since = self.captured(), start
        grew = False
        while time.monotonic() - start < timeout:
            state = self.player.state()
            if state["status"] == "1" and not self.shown:
                self.try_grab(state)
            now = self.captured()
            if now != size:
                size, steady_since, grew = now, time.monotonic(), True
            quiet = time.monotonic() - steady_since
            if state["status"] == "0" and ((grew and quiet >= settle) or quiet >= nothing_after):
                return state
            time.sleep(0.1)
        raise q.WineError("playback did not end")

    def try_grab(self, state):
        # Far enough in for the time digits to run (short tracks: a third in).
        if int(state["position"]) < min(2000, int(state["length"]) // 3):
            return
        self.player.driver("grab", self.wine.winpath(self.picture))
        after = self.player.state()
        if after["status"] == "1" and after["current"] == state["current"]:
            self.shown = state


def play_through(player, wine, out_dir):
    """Plays the whole playlist once: the drop plays the last entry; after
    it, Play runs from the first entry to the end of the list."""
    follower = Follower(player, wine, out_dir / "play-window.png")
    state = follower.until_stopped()
    if int(state["count"]) > 1:
        before = follower.captured()
        player.driver("command", 40027)  # Play: from the first entry on
        player.wait_state(lambda s: s["status"] == "1" or follower.captured() > before, timeout=120,
                          what="playback from the first entry")
        follower.until_stopped()
    if follower.shown:
        say("window saved while playing %s (entry %d of %s) at %d s" % (
            follower.shown["title"], int(follower.shown["current"]) + 1, follower.shown["count"],
            int(follower.shown["position"]) // 1000))
    else:
        player.driver("grab", wine.winpath(out_dir / "play-window.png"))
        say("the tracks were too short to catch one playing: window saved stopped")


def headless(build, files):
    out_dir = REPO / "out"
    out_dir.mkdir(exist_ok=True)
    demo = not files
    if demo:
        files = [build / "demo" / name for name in DEMO_NAMES]
    xvfb, display = q.start_xvfb()
    work = build / "play-headless"
    template = q.WineRoot(work / "template", display)
    try:
        if not (work / "template" / "prefix" / "system.reg").exists():
            say("making the wine prefix (once)")
            template.create()
            template.kill_server()
        root = work / "run"
        shutil.rmtree(root, ignore_errors=True)
        wine = q.WineRoot(root, display, template=work / "template").create()
        wine.start_server()
        installation = q.Installation(wine, build / "bin", build / "resources" / "art").install()
        player = q.Player(wine, installation)
        say("no display: QuoviraPlayer runs on a virtual display (%s), its audio captured" % display)
        player.start(*[wine.winpath(f) for f in files])
        player.wait_window(timeout=120)
        play_through(player, wine, out_dir)
        code = player.close()
        wine.kill_server()
    finally:
        xvfb.kill()
    if code != 0:
        say("the player ended with %d" % code)
        return 1
    capture = q.read_capture(wine.capture)
    q.write_wav(out_dir / "play-capture.wav", capture)
    say("captured %.1f s of audio: out/play-capture.wav (44.1 kHz, 16-bit stereo)" % (len(capture) / 44100))
    say("the window while playing: out/play-window.png")
    if demo:
        # Every copy of the piece, chunk by chunk (a stalled audio thread on a
        # busy machine may slip a few milliseconds of silence in).
        reference = q.read_wav(build / "demo" / "piece.wav")
        found = sorted(q.find_piece(capture, reference, min_correlation=0.5))
        copies = [(t, q.piece_chunks_matched(capture, reference, t)) for t, _ in found]
        whole = [(t, m, n) for t, (m, n) in copies if m >= n - 1]
        if len(whole) < len(DEMO_NAMES):
            say("the capture does not hold the demo piece %d times: %r" % (len(DEMO_NAMES), copies))
            return 1
        say("the capture holds the demo piece %d times, from %s s (seconds matched: %s)" % (
            len(whole), ", ".join("%.1f" % t for t, _, _ in whole), ", ".join("%d/%d" % (m, n) for _, m, n in whole)))
    return 0


def main():
    build = Path(sys.argv[1]).resolve()
    files = [Path(f).resolve() for f in sys.argv[2:]]
    missing = [str(f) for f in files if not f.exists()]
    if missing:
        say("no such file: " + ", ".join(missing))
        return 2
    if os.environ.get("DISPLAY"):
        return with_display(build, files or [build / "demo" / name for name in DEMO_NAMES])
    return headless(build, files)


if __name__ == "__main__":
    sys.exit(main())
