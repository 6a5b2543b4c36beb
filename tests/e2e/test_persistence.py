"""What a close keeps and the next start restores: placement, volume and the
playlist; the agent's restart "R"; damaged stored values; snapping."""

from e2e_env import qvplayer as q
from media import long_wav, win


def m3u_locations(path):
    text = path.read_bytes().decode("utf-16")
    return [line for line in text.splitlines() if line and not line.startswith("#")]


def dword(values, name):
    kind, text = values[name]
    assert kind == "REG_DWORD", (name, kind)
    return int(text, 16)


def test_close_keeps_placement_volume_and_playlist(wine, player, installation, music):
    files = [long_wav(music / ("%s.wav" % n), freq=f) for n, f in (("one", 330), ("two", 440))]
    player.start(*[win(f) for f in files])
    player.wait_state(lambda s: s.get("status") == "1", what="playback")
    player.driver("move", 300, 200)
    for _ in range(3):
        player.driver("command", 106)  # volume down
    player.wait_state(lambda s: s["volume"] == "226" and s["left"] == "300", what="moved, quieter")
    assert player.close() == 0

    values = wine.query_reg(q.OPTIONS_KEY)
    assert (dword(values, "Pos_left"), dword(values, "Pos_top")) == (300, 200)
    assert (dword(values, "Pos_right"), dword(values, "Pos_bottom")) == (300 + 261, 200 + 383)
    assert dword(values, "Volume") == 226
    assert m3u_locations(installation.default_playlist) == [win(f) for f in files]

    player.start()
    state = player.wait_window()
    assert q.entries(state) == [win(f) for f in files]
    assert (state["left"], state["top"], state["width"], state["height"]) == ("300", "200", "261", "383")
    assert state["volume"] == "226" and state["engineVolume"] == "226"
    assert state["status"] == "0" and state["current"] == "0"  # opened, not played
    assert player.close() == 0


def test_agent_restart_keeps_the_default_playlist(wine, player, installation, music):
    track = long_wav(music / "kept.wav")
    player.start(win(track))
    player.wait_state(lambda s: s.get("status") == "1", what="playback")
    assert player.close() == 0
    saved = m3u_locations(installation.default_playlist)
    assert len(saved) == 1

    player.start("R")  # as the agent restarts the player
    state = player.wait_window()
    assert q.entries(state) == [win(track)]
    assert player.close() == 0
    assert m3u_locations(installation.default_playlist) == saved


def test_damaged_stored_window_values(wine, player, music):
    # A zero-size stored placement and no stored volume.
    wine.import_reg('[%s]\r\n"Pos_left"=dword:00000040\r\n"Pos_top"=dword:00000030\r\n'
                    '"Pos_right"=dword:00000040\r\n"Pos_bottom"=dword:00000030\r\n"Pos_showCmd"=dword:00000002\r\n'
                    % q.OPTIONS_KEY)
    player.start()
    state = player.wait_window()
    assert (state["left"], state["top"], state["width"], state["height"]) == ("64", "48", "261", "383")
    assert state["volume"] == "256" and state["engineVolume"] == "256"  # missing means full volume
    assert state["visible"] == "1" and state["iconic"] == "0"  # a stored minimized state restores
    assert player.close() == 0

    # A volume stored as 0 stays silent.
    wine.import_reg('[%s]\r\n"Volume"=dword:00000000\r\n' % q.OPTIONS_KEY)
    player.start()
    state = player.wait_window()
    assert state["volume"] == "0" and state["engineVolume"] == "0"
    assert player.close() == 0


def test_window_snaps_to_the_work_area_edges(player):
    player.start()
    player.wait_window()
    player.driver("move", 5, 100)
    state = player.wait_state(lambda s: s["top"] == "100", what="moved")
    assert state["left"] == "0"  # 5 pixels from the edge: snapped
    player.driver("move", 8, 100)
    state = player.wait_state(lambda s: s["left"] != "0", what="moved again")
    assert state["left"] == "8"  # exactly 8: stays
    assert player.close() == 0
