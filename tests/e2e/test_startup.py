"""Starting the player: files on the command line, a second start, the update
agent, and the missing "skin.ini"."""

import shutil
import time

from e2e_env import ART, BIN, DEMO, qvplayer as q
from media import long_wav, tone_wav, wait_exit, win


def test_wav_and_mp3_on_the_command_line_play_the_last(wine, player, music):
    wav = tone_wav(music / "1 tone.wav", 3)
    mp3 = music / "2 harbour.mp3"
    shutil.copy(DEMO / "3 Harbour Lights.mp3", mp3)
    player.start(win(wav), win(mp3))
    # The track lasts about three seconds here (wine's null device plays
    # faster than real time): caught playing, it is the MP3 with its tags.
    def played(s):
        return s["count"] == "2" and (s["status"] == "1" or wine.capture.stat().st_size > 10 * 176400)
    state = player.wait_state(played, what="playback")
    assert q.entries(state) == [win(wav), win(mp3)]
    if state["status"] == "1":
        assert state["current"] == "1"
        assert state["title"] == "Quovira - Harbour Lights"
    player.wait_state(lambda s: s["status"] == "0" and wine.capture.stat().st_size > 10 * 176400, timeout=60,
                      what="the end of the track")
    assert player.close() == 0
    capture = q.read_capture(wine.capture)
    found = q.find_piece(capture, q.read_wav(DEMO / "piece.wav"), min_correlation=0.95)
    assert len(found) == 1, found  # the MP3, once; the WAV did not play
    assert abs(len(capture) / 44100 - 11.26) < 1.0


def test_second_start_hands_its_names_to_the_running_player(wine, player, music):
    first = long_wav(music / "first.wav")
    second = long_wav(music / "second song.wav", freq=550)
    relative = long_wav(wine.root / "rel.wav", freq=660)  # named relative to the second start's folder
    player.start(win(first))
    player.wait_state(lambda s: s.get("status") == "1", what="playback")

    assert player.start_second(win(second), "rel.wav") == 0

    state = player.wait_state(lambda s: s["count"] == "3" and s["status"] == "1" and s["current"] == "2",
                              what="the handed-over files playing")
    assert q.entries(state) == [win(first), win(second), wine.winpath(relative)]
    assert player.proc.poll() is None  # the first player runs on
    assert player.close() == 0


def test_second_start_without_names_only_brings_the_player_up(wine, player, music):
    first = long_wav(music / "first.wav")
    player.start(win(first))
    player.wait_state(lambda s: s.get("status") == "1", what="playback")
    player.driver("command", 40023)  # minimize
    player.wait_state(lambda s: s["iconic"] == "1", what="minimized")
    assert player.start_second() == 0
    state = player.wait_state(lambda s: s["iconic"] == "0" and s["visible"] == "1", what="restored")
    assert state["count"] == "1"
    assert player.close() == 0


def test_missing_skin_ini_shows_the_message_and_ends_with_a_failure(wine):
    installation = q.Installation(wine, BIN, ART).install(with_skin_ini=False)
    player = q.Player(wine, installation)
    player.start()
    texts = player.driver("--timeout", 60000, "dialog", "QuoviraPlayer Error", "press", timeout=90)
    assert ("Please download the program again from the Quovira homepage (http://www.quovira.com) "
            "and reinstall it.") in texts
    assert wait_exit(player.proc, 60) == 2


def agent_starts(installation):
    log = installation.folder / "agent-starts.txt"
    return log.read_text(encoding="utf-8-sig").splitlines() if log.exists() else []


def test_agent_starts_unless_restarted_by_it(wine, player, installation, music):
    shutil.copy(BIN / "fake_agent.exe", installation.folder / "QVAgent.exe")
    player.start()
    player.wait_window()
    starts = agent_starts(installation)
    for _ in range(50):
        if starts:
            break
        time.sleep(0.2)
        starts = agent_starts(installation)
    assert len(starts) == 1
    command, folder = starts[0].rsplit("|", 1)
    assert command.endswith(" QuoviraPlayer")
    assert "QVAgent.exe" in command
    assert folder.rstrip("\\") == q.INSTALL_DIR_WIN.rstrip("\\")

    # A second start hands over and starts nothing.
    assert player.start_second(win(tone_wav(music / "a.wav", 5))) == 0
    player.wait_state(lambda s: s["count"] == "1", what="the hand-over")
    assert player.close() == 0
    player.start("R")  # the agent's restart: no agent
    player.wait_window()
    assert player.close() == 0
    time.sleep(1)
    assert len(agent_starts(installation)) == 1
