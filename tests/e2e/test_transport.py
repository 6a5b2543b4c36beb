"""Play, pause, stop, next and previous by command; seeking by a click on
the seek bar; the tray icon's round trip."""

from e2e_env import qvplayer as q
from media import long_wav, seed_playlist, tone_wav, win

PLAY_PAUSE, STOP, PREVIOUS, NEXT, RESTORE = 40027, 40036, 40037, 40038, 40023
STOPPED, PLAYING, PAUSED = "0", "1", "2"


def status(player, expected, current=None, what=""):
    return player.wait_state(lambda s: s["status"] == expected and (current is None or s["current"] == current),
                             what=what or "status %s at entry %s" % (expected, current))


def test_transport_commands(player, music):
    files = [long_wav(music / ("%s.wav" % name), freq=freq) for name, freq in (("a", 330), ("b", 440), ("c", 550))]
    player.start(*[win(f) for f in files])
    state = status(player, PLAYING, "2", "the last file playing")
    assert q.entries(state) == [win(f) for f in files]

    player.driver("command", PLAY_PAUSE)
    state = status(player, PAUSED, "2", "paused")
    player.wait_state(lambda s: s["blink"] != "0", what="the time blinking while paused")
    position = int(state["position"])
    player.driver("command", PLAY_PAUSE)
    state = status(player, PLAYING, "2", "playing again")
    assert int(state["position"]) >= position  # resumed, not restarted

    player.driver("command", STOP)
    status(player, STOPPED, "2", "stopped")
    player.driver("command", NEXT)  # stopped: the next entry (wrapping) is only selected
    state = status(player, STOPPED, "0", "the first entry selected")
    assert state["animation"] == "7"

    player.driver("command", PLAY_PAUSE)
    status(player, PLAYING, "0", "the first entry playing")
    player.driver("command", NEXT)  # playing: the next entry plays
    status(player, PLAYING, "1", "the second entry playing")
    player.wait_state(lambda s: int(s["position"]) > 2500, what="more than 2.5 s played")
    player.driver("command", PREVIOUS)  # more than 2 s in: the same entry starts again
    state = player.wait_state(lambda s: s["current"] == "1" and s["status"] == PLAYING, what="still the second")
    player.driver("command", STOP)
    status(player, STOPPED, "1")
    player.driver("command", PREVIOUS)  # stopped: the previous entry, not played
    status(player, STOPPED, "0", "the first entry selected again")
    player.driver("command", PREVIOUS)  # from the first to the last
    status(player, STOPPED, "2", "the last entry selected")
    assert player.close() == 0


def test_click_on_the_seek_bar_seeks(player, installation, music):
    seed_playlist(installation, [long_wav(music / "long.wav", 240)])
    player.start()  # the track opened, stopped
    player.wait_window()
    player.driver("click", 73, 295)  # (73 - 11) / 125 of the track
    expected = int((73 - 11) / 125 * 240000)
    state = player.wait_state(lambda s: abs(int(s["position"]) - expected) < 100, what="the seek")
    assert state["status"] == STOPPED
    player.driver("click", 11, 295)  # the start of the bar
    player.wait_state(lambda s: int(s["position"]) < 100, what="the seek to the start")
    # A press outside the bar (below it) does not seek.
    player.driver("click", 73, 310)
    assert int(player.state()["position"]) < 100
    # Playback starts where the bar was clicked.
    player.driver("click", 73, 295)
    player.wait_state(lambda s: abs(int(s["position"]) - expected) < 100, what="the seek again")
    player.driver("command", PLAY_PAUSE)
    state = status(player, PLAYING, "0", "playback")
    assert int(state["position"]) >= expected - 100
    assert player.close() == 0


def test_tray_round_trip(wine, player, music):
    wine.import_reg('[%s]\r\n"TrayIcon"=dword:00000001\r\n' % q.OPTIONS_KEY)
    player.start(win(long_wav(music / "a.wav")))
    state = status(player, PLAYING, "0")
    assert state["visible"] == "1" and state["tray"] == "0"

    player.driver("command", RESTORE)  # a visible window minimizes, into the tray
    player.wait_state(lambda s: s["visible"] == "0" and s["tray"] == "1", what="hidden in the tray")
    player.driver("post", 2024, 1, 516)  # right button on the icon: the tray menu
    player.wait_state(lambda s: s["menuOpen"] == "1", what="the tray menu")
    player.driver("send", 0x1F, 0, 0)  # WM_CANCELMODE closes it
    player.wait_state(lambda s: s["menuOpen"] == "0", what="the menu closed")
    player.driver("send", 2024, 1, 515)  # double click on the icon
    state = player.wait_state(lambda s: s["visible"] == "1" and s["tray"] == "0" and s["iconic"] == "0",
                              what="back from the tray")
    assert state["status"] == PLAYING

    # A second start while the player is in the tray brings it back first.
    player.driver("command", RESTORE)
    player.wait_state(lambda s: s["visible"] == "0" and s["tray"] == "1", what="in the tray again")
    assert player.start_second(win(long_wav(music / "b.wav"))) == 0
    state = player.wait_state(lambda s: s["count"] == "2" and s["visible"] == "1", what="the hand-over")
    assert state["tray"] == "0"
    assert player.close() == 0
