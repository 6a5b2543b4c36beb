"""Twenty starts in a row, each with a file and closed again, leave one
consistent playlist and settings and no process behind."""

import os
from pathlib import Path

from e2e_env import qvplayer as q
from media import long_wav, win

CYCLES = 20


def players_in(prefix):
    """Processes of the prefix that run the player."""
    found = []
    for entry in Path("/proc").iterdir():
        if not entry.name.isdigit():
            continue
        try:
            environ = (entry / "environ").read_bytes().split(b"\0")
            cmdline = (entry / "cmdline").read_bytes()
        except OSError:
            continue
        if ("WINEPREFIX=%s" % prefix).encode() in environ and b"QuoviraPlayer.exe" in cmdline:
            found.append(int(entry.name))
    return found


def test_twenty_start_and_close_cycles(wine, player, installation, music):
    track = long_wav(music / "cycle.wav")
    volumes = []
    for cycle in range(CYCLES):
        player.start(win(track))
        state = player.wait_state(lambda s: s.get("status") == "1", timeout=60, what="cycle %d playing" % cycle)
        assert q.entries(state) == [win(track)], "cycle %d" % cycle
        if cycle % 5 == 0:
            player.driver("command", 106)  # a change now and then, kept by the next start
            state = player.wait_state(lambda s: int(s["volume"]) == 256 - 10 * (cycle // 5 + 1),
                                      what="cycle %d quieter" % cycle)
        volumes.append(int(state["volume"]))
        assert player.close() == 0, "cycle %d" % cycle
        assert players_in(wine.env["WINEPREFIX"]) == [], "cycle %d left a player running" % cycle

    assert volumes[-1] == 256 - 10 * 4
    playlist = installation.default_playlist.read_bytes().decode("utf-16")
    assert [line for line in playlist.splitlines() if line and not line.startswith("#")] == [win(track)]
    values = wine.query_reg(q.OPTIONS_KEY)
    assert int(values["Volume"][1], 16) == 216
    assert (int(values["Pos_right"][1], 16) - int(values["Pos_left"][1], 16),
            int(values["Pos_bottom"][1], 16) - int(values["Pos_top"][1], 16)) == (261, 383)
    assert int(values["SaveDefPlayList"][1], 16) == 1

    # The next start finds exactly that.
    player.start()
    state = player.wait_window()
    assert q.entries(state) == [win(track)]
    assert state["volume"] == "216"
    assert player.close() == 0
    assert players_in(wine.env["WINEPREFIX"]) == []
