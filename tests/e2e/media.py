"""Audio files and paths for the end-to-end tests."""

import time

from e2e_env import qvplayer as q


def win(path):
    """A path inside drive_c as the player sees it."""
    parts = str(path).split("/drive_c/", 1)
    return "C:\\" + parts[1].replace("/", "\\")


def tone_wav(path, seconds, freq=440.0, rate=44100):
    """A stereo 16-bit tone (left freq, right 1.5 x freq) of the given length."""
    import numpy as np
    t = np.arange(int(seconds * rate)) / rate
    frames = np.stack([np.sin(2 * np.pi * freq * t), np.sin(2 * np.pi * 1.5 * freq * t)], axis=1) * 0.4 * 32767
    q.write_wav(path, frames.astype("<i2"), rate)
    return path


def wait_exit(proc, timeout=60):
    deadline = time.monotonic() + timeout
    while proc.poll() is None and time.monotonic() < deadline:
        time.sleep(0.1)
    return proc.poll()


def seed_playlist(installation, paths):
    """The default playlist a start without files loads: the paths opened,
    the first selected, nothing playing."""
    text = "#EXTM3U\r\n" + "".join("%s\r\n" % win(p) for p in paths)
    installation.default_playlist.write_bytes(text.encode("utf-16"))


def long_wav(path, seconds=240, freq=440.0):
    """A track that outlasts any test: wine's null device plays about four
    times faster than real time. A low rate keeps the file small."""
    return tone_wav(path, seconds, freq, rate=11025)
