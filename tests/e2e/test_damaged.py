"""A playlist of thirty damaged files, five kinds of damage for each format
the player opens, followed by a good one: the player walks past every
damaged entry without playing it, answers commands all the while, and plays
the good file."""

import shutil

from damaged_media import make_damaged
from e2e_env import DEMO, FIXTURES, qvplayer as q
from media import seed_playlist, win

PLAY_PAUSE, NEXT, VOLUME_UP, VOLUME_DOWN = 40027, 40038, 105, 106
ENGINE_STATUS = 11025  # WM_ENGINE_STATUS: wParam the status, lParam 1 after a failure
STOPPED, PLAYING = "0", "1"


def failure_report(player):
    """What the engine posts when playback ends with a failure: status 0,
    lParam 1. The player only selects the next entry."""
    player.driver("post", ENGINE_STATUS, 0, 1)


def next_command(player):
    """The Next command while stopped: the next entry, selected."""
    player.driver("command", NEXT)


# How the walk leaves a damaged entry, entry by entry in turn.
ADVANCES = (failure_report, next_command)


def test_damaged_entries_are_walked_past_and_the_good_file_plays(wine, player, installation, music):
    damaged = make_damaged(FIXTURES, music)
    assert len(damaged) == 30
    good = music / "31 good.mp3"
    shutil.copy(DEMO / "3 Harbour Lights.mp3", good)
    seed_playlist(installation, damaged + [good])

    player.start()  # the playlist loaded, its first entry selected
    state = player.wait_window(timeout=120)
    assert q.entries(state) == [win(p) for p in damaged + [good]]
    volume = int(state["volume"])

    for index, path in enumerate(damaged):
        what = "entry %d (%s)" % (index, path.name)
        state = player.wait_state(lambda s: s["current"] == str(index), timeout=60, what=what + " current")
        # Play: the file does not open, so nothing starts. The volume command
        # posted behind it shows when both have been handled.
        step = VOLUME_DOWN if index % 2 == 0 else VOLUME_UP
        player.driver("command", PLAY_PAUSE, ";", "command", step)
        volume += -10 if step == VOLUME_DOWN else 10
        state = player.wait_state(lambda s: int(s["volume"]) == volume, timeout=60, what=what + " volume answered")
        assert (state["status"], state["current"]) == (STOPPED, str(index)), what
        assert (state["length"], state["sampleRate"]) == ("0", "0"), what + " must not have opened"
        assert wine.capture.stat().st_size == 0, what + " reached the output"
        ADVANCES[index % len(ADVANCES)](player)

    # Walked past all thirty: the good file is selected, opened, not playing.
    state = player.wait_state(lambda s: s["current"] == "30", timeout=60, what="the good file selected")
    assert state["status"] == STOPPED
    assert int(state["length"]) > 0 and state["sampleRate"] == "44100"
    assert int(state["volume"]) == volume

    player.driver("command", PLAY_PAUSE)
    player.wait_state(lambda s: s["status"] == PLAYING or wine.capture.stat().st_size > 0, timeout=60,
                      what="the good file playing")
    # Its end: the list is over, the first entry is selected again.
    reference = q.read_wav(DEMO / "piece.wav")
    state = player.wait_state(lambda s: s["status"] == STOPPED and s["current"] == "0"
                              and wine.capture.stat().st_size >= len(reference) * 4, timeout=120,
                              what="the end of the good file")
    assert player.close() == 0
    capture = q.read_capture(wine.capture)
    found = q.find_piece(capture, reference, min_correlation=0.95)
    assert len(found) == 1, found  # the good file, once, and nothing else before it
