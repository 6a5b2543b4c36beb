"""The painted display, checked in the window's pixels against the built-in
pictures it is drawn from."""

from PIL import Image

import shutil

from e2e_env import ART, DEMO, qvplayer as q
from media import long_wav, seed_playlist, tone_wav, win

DIGITS = 134        # 9 x 8 cells, cell 10 the separator
SMALL_DIGITS = 50047  # 5 x 5 cells
STEREO = 50036
BACKGROUND = 158
THUMB = 122  # 13 x 10, the seek bar's and the volume slider's
TITLE_COLOUR = (253, 254, 254)
SEEK_COLOUR = (197, 255, 155)


def picture(resource):
    return Image.open(ART / "builtin" / ("%d.bmp" % resource)).convert("RGB")


def cell(resource, index, width, height):
    return picture(resource).crop((index * width, 0, index * width + width, height))


def region(shot, x, y, width, height):
    return shot.crop((x, y, x + width, y + height))


def same(a, b):
    return list(a.getdata()) == list(b.getdata())


def drawn_over(shot_part, cell_picture):
    """The cell as drawn with magenta transparent: every other pixel shows."""
    return all(c == (255, 0, 255) or s == c for s, c in zip(shot_part.getdata(), cell_picture.getdata()))


def grab(player, wine, name):
    path = wine.root / name
    player.driver("grab", wine.winpath(path))
    return Image.open(path).convert("RGB")


def test_time_digits_format_and_title_after_status_playing(wine, player, installation, music):
    # The last playlist comes back with its first entry opened, not playing:
    # stopped, the time shows the track's length.
    seed_playlist(installation, [tone_wav(music / "display tone.wav", 7)])
    player.start()
    player.wait_window()
    player.driver("post", 11025, 1, 0)  # WM_ENGINE_STATUS: playing
    state = player.wait_state(lambda s: s["titleWidth"] != "0", what="the title measured")
    assert state["time"] == "7" and state["title"] == "display tone"
    assert state["bitrate"] == "1411" and state["sampleRate"] == "44100" and state["channels"] == "2"
    shot = grab(player, wine, "display.png")
    assert shot.size == (261, 383)

    # Track number 001 and time 00:07.
    for x, digit in zip((57, 66, 75), (0, 0, 1)):
        assert same(region(shot, x, 37, 9, 8), cell(DIGITS, digit, 9, 8)), "track digit at %d" % x
    for x, digit in zip((94, 103, 115, 124, 133), (0, 0, 10, 0, 7)):
        assert same(region(shot, x, 37, 9, 8), cell(DIGITS, digit, 9, 8)), "time cell at %d" % x
    # Bit rate 1411 (the thousands cell shown) and 44 kHz; the stereo mark.
    for x, digit in zip((176, 181, 186, 191, 226, 231), (1, 4, 1, 1, 4, 4)):
        assert same(region(shot, x, 37, 5, 5), cell(SMALL_DIGITS, digit, 5, 5)), "format digit at %d" % x
    assert same(region(shot, 183, 25, 31, 5), cell(STEREO, 0, 31, 5))
    # The title in its colour, starting at x 35, as wide as measured.
    lit = [x for x in range(35, 195) for y in range(6, 21)
           if all(abs(c - t) < 40 for c, t in zip(shot.getpixel((x, y)), TITLE_COLOUR))]
    assert lit, "no title text"
    width = int(state["titleWidth"])
    assert 35 <= min(lit) <= 38
    assert 35 + width * 0.8 <= max(lit) <= 35 + width + 1
    assert player.close() == 0


def test_seek_bar_and_volume_slider_follow_position_and_volume(wine, player, installation, music):
    seed_playlist(installation, [tone_wav(music / "long.wav", 60)])
    player.start()
    player.wait_window()
    player.driver("click", 73, 295)  # stopped: the open track moves there
    state = player.wait_state(lambda s: abs(int(s["position"]) - 29760) < 500, what="the seek")
    for _ in range(13):  # 256 - 130 = 126
        player.driver("command", 106)
    state = player.wait_state(lambda s: s["volume"] == "126", what="the volume down")
    assert state["engineVolume"] == "126"
    shot = grab(player, wine, "bars.png")
    thumb = 121 * int(state["position"]) // int(state["length"])
    # The seek line runs from x 11 to the thumb, the thumb is drawn at thumb + 9.
    assert shot.getpixel((11 + thumb // 2, 295)) == SEEK_COLOUR
    assert shot.getpixel((11 + thumb + 20, 295)) != SEEK_COLOUR
    thumb_picture = cell(THUMB, 0, 13, 10)
    assert drawn_over(region(shot, thumb + 9, 292, 13, 10), thumb_picture)
    assert not drawn_over(region(shot, thumb + 9 + 30, 292, 13, 10), thumb_picture)
    level = int((86 - 13) / 256 * 126)
    assert shot.getpixel((163 + level // 2, 296)) == SEEK_COLOUR
    assert shot.getpixel((163 + level + 20, 296)) != SEEK_COLOUR
    assert drawn_over(region(shot, 163 + level, 293, 13, 10), thumb_picture)
    assert player.close() == 0


def test_volume_slider_mute_and_marks_by_mouse(player):
    player.start()
    player.wait_window()
    player.driver("drag", 200, 100, 296)  # from inside the slider to its left
    state = player.wait_state(lambda s: s["volume"] == "0", what="volume 0")
    assert state["engineVolume"] == "0"
    player.driver("drag", 180, 300, 296)  # to its right
    state = player.wait_state(lambda s: s["volume"] == "256", what="volume 256")
    player.driver("click", 206, 296)  # (206 - 169) x 256 / 74
    state = player.wait_state(lambda s: s["volume"] == "128", what="volume 128")
    assert state["engineVolume"] == "128"

    player.driver("click", 157, 296)  # the mute mark
    state = player.wait_state(lambda s: s["muted"] == "1", what="muted")
    assert state["engineVolume"] == "0" and state["volume"] == "128"
    player.driver("command", 105)  # Up does nothing while muted
    player.driver("drag", 180, 300, 296)  # the slider moves, the player stays silent
    state = player.wait_state(lambda s: s["volume"] == "256", what="slider moved while muted")
    assert state["engineVolume"] == "0"
    player.driver("click", 157, 296)
    state = player.wait_state(lambda s: s["muted"] == "0", what="unmuted")
    assert state["engineVolume"] == "256"

    player.driver("click", 240, 28)  # the repeat mark
    player.driver("click", 225, 28)  # the shuffle mark
    player.driver("click", 100, 40)  # the time: remaining time
    state = player.wait_state(lambda s: s["timeReverse"] == "1", what="the marks clicked")
    assert (state["repeat"], state["shuffle"]) == ("1", "1")
    assert player.close() == 0


def test_seek_drag_is_silent_then_fades_in_unless_muted(player, installation, music):
    seed_playlist(installation, [tone_wav(music / "long.wav", 120)])
    player.start()
    player.wait_window()
    # Right after the drag the player is silent or still fading in (the fade
    # starts 200 ms after the last move and takes a second) ...
    out = player.driver("drag", 20, 120, 295, 20, ";", "sleep", 300, ";", "state")
    during = dict(line.split("=", 1) for line in out.splitlines() if "=" in line)
    assert int(during["engineVolume"]) < 256
    # ... and then back at the set volume.
    state = player.wait_state(lambda s: s["engineVolume"] == "256", what="the fade back to full volume")
    assert int(state["position"]) > 60000
    player.driver("click", 157, 296)  # mute
    player.wait_state(lambda s: s["muted"] == "1", what="muted")
    player.driver("drag", 120, 30, 295, 20)
    player.driver("sleep", 2000)  # well past the fade
    state = player.state()
    assert state["engineVolume"] == "0" and int(state["position"]) < 30000
    assert player.close() == 0


def test_title_from_the_tags_and_format_of_an_mp3(wine, player, installation, music):
    mp3 = music / "harbour.mp3"
    shutil.copy(DEMO / "3 Harbour Lights.mp3", mp3)
    seed_playlist(installation, [mp3])
    player.start()
    state = player.wait_window()
    assert state["title"] == "Quovira - Harbour Lights"  # "artist - title" from the tags
    assert (state["bitrate"], state["sampleRate"], state["channels"]) == ("192", "44100", "2")
    shot = grab(player, wine, "mp3.png")
    for x, digit in zip((181, 186, 191, 226, 231), (1, 9, 2, 4, 4)):
        assert same(region(shot, x, 37, 5, 5), cell(SMALL_DIGITS, digit, 5, 5)), "format digit at %d" % x
    # Under 1000 kbit/s no thousands cell: the background shows there.
    assert same(region(shot, 176, 37, 5, 5), region(picture(BACKGROUND), 176, 37, 5, 5))
    assert player.close() == 0
