"""Damaged playlists (M3U, PLS), control layers ("skin.ini") and skin files
with the pictures they name: broken encodings, lines and values far longer
than any buffer, numbers out of range, sections and keys that almost match,
more entries than the playlist holds, entries that name damaged audio files,
and damaged bitmaps for the skin's pictures."""
import struct

from damage_common import cut_points, flipped, patched


def utf16(text, bom=True):
    return (b"\xff\xfe" if bom else b"") + text.encode("utf-16-le", "surrogatepass")


def utf8(text, bom=True):
    return (b"\xef\xbb\xbf" if bom else b"") + text.encode("utf-8", "surrogatepass")


def text_damage(corpus, stem, ext, data, tool):
    """Cuts (odd ones split a UTF-16 unit) and bit flips of any text file."""
    for at in cut_points(len(data), [1, 2, 3, 5, 17], corpus.rng, count=6):
        corpus.add(stem, "cut_%06d" % at, ext, data[:at], tool)
    corpus.add(stem, "flip_8", ext, flipped(data, corpus.rng, 0, len(data), 8), tool)
    corpus.add(stem, "flip_64", ext, flipped(data, corpus.rng, 0, len(data), 64), tool)


def encodings(text):
    """The ways a playlist file can be encoded."""
    return (("utf16", utf16(text)), ("utf8", utf8(text)), ("plain", text.encode("utf-8", "surrogatepass")),
            ("utf16_no_bom", utf16(text, bom=False)))


def playlists(corpus, good, damaged_by_format):
    """good: names of audio files that play; damaged_by_format: format name
    -> names of damaged audio files in the corpus."""
    a, b = good[0], good[1]
    m3u = "#EXTM3U\n#EXTINF:3,Tone A\n%s\n#EXTINF:-1,Radio\nhttp://127.0.0.1:9/stream\n#EXTINF:3,Tone B\n%s\n" % (a, b)
    pls = "[playlist]\nNumberOfEntries=3\nFile1=%s\nTitle1=Tone A\nFile2=http://127.0.0.1:9/\nFile3=%s\n" % (a, b)
    for kind, data in encodings(m3u):
        corpus.add("list", kind, ".m3u", data, "playlist")
    for kind, data in encodings(pls):
        corpus.add("list", kind, ".pls", data, "playlist")
    text_damage(corpus, "list_utf16", ".m3u", utf16(m3u), "playlist")
    text_damage(corpus, "list_utf8", ".m3u8", utf8(m3u), "playlist")
    text_damage(corpus, "list_utf16", ".pls", utf16(pls), "playlist")
    text_damage(corpus, "list_plain", ".pls", pls.encode(), "playlist")

    long_name = "x" * 300 + ".mp3"
    m3u_cases = {
        "line_600": "#EXTM3U\n" + "y" * 600 + a + "\n" + a + "\n",
        "line_70000_no_newline": "z" * 70000,
        "title_10000": "#EXTINF:3," + "t" * 10000 + "\n" + a + "\n",
        "extinf_no_comma_huge_number": "#EXTINF:99999999999999999999999\n#EXTINF:-99999999999999999999,\n" + a + "\n",
        "nul_inside": "#EXTM3U\n" + a[:3] + "\0" + a[3:] + "\n\0\0\0\n" + b + "\n",
        "lone_surrogates": "#EXTINF:1,\ud800x\n\udc00" + a + "\n" + b + "\ud800",
        "bom_in_middle": a + "\n\ufeff" + b + "\n\ufffe\n",
        "cr_only": "#EXTM3U\r#EXTINF:3,A\r" + a + "\r" + b + "\r",
        "entries_1500": "\n".join([a, b] * 750) + "\n",
        "dotdot_200": "..\\" * 200 + a + "\n" + "../" * 200 + b + "\n",
        "path_300": "C:\\" + "d\\" * 140 + long_name + "\n" + long_name + "\n",
        "url_5000": "http://" + "u" * 5000 + "\nmms://" + "m" * 300 + "\n",
        "blank_lines_100000": "\n" * 100000 + a + "\n",
        "only_marks": "#EXTM3U\n#EXTINF:\n#EXTINF:,\n#\n",
        "folder_entries": ".\n..\n\\\n/\nC:\n",
    }
    for kind, text in m3u_cases.items():
        corpus.add("m3u", kind, ".m3u", utf16(text), "playlist")
    corpus.add("m3u", "invalid_utf8", ".m3u", b"\xc0\x80" + a.encode() + b"\n\xed\xa0\x80\xf4\x90\x80\x80\xff\n" +
               b.encode() + b"\n\xe2\x82", "playlist")
    corpus.add("m3u", "only_bom", ".m3u", b"\xff\xfe", "playlist")
    corpus.add("m3u", "empty", ".m3u", b"", "playlist")
    corpus.add("m3u", "odd_utf16", ".m3u", utf16(m3u) + b"\x41", "playlist")
    corpus.add("m3u", "above_size_limit", ".m3u", utf16("#" * (9 << 20)), "playlist")

    pls_cases = {
        "file_5000": "[playlist]\nFile1=" + "f" * 5000 + "\nTitle1=" + "t" * 5000 + "\nFile2=" + a + "\n",
        "entries_2000": "[playlist]\n" + "".join("File%d=%s\nTitle%d=T%d\n" % (i, a if i % 2 else b, i, i) for i in range(1, 2001)),
        "gap": "[playlist]\nFile1=%s\nFile2=%s\nFile4=%s\n" % (a, b, a),
        "section_case": "[Playlist]\nFile1=%s\n" % a,
        "section_unclosed": "[playlist\nFile1=%s\n" % a,
        "section_trailing": "[playlist]junk]\nFile1=%s\n" % a,
        "section_name_5000": "[" + "p" * 5000 + "]\nFile1=%s\n" % a,
        "key_5000": "[playlist]\n" + "F" * 5000 + "=x\nFile1=%s\n" % a,
        "key_blank": "[playlist]\nFile1 =%s\n File2=%s\n" % (a, b),
        "line_300": "[playlist]\nFile1=" + "q" * 300 + a + "\nFile2=%s\n" % b,
        "no_equals": "[playlist]\nFile1\nFile1%s\nFile2=%s\n" % (a, b),
        "numbers_huge": "[playlist]\nNumberOfEntries=-99999999999999999999\nFile0=%s\nFile1=%s\n"
                        "File99999999999999999999=%s\nLength1=-1\n" % (a, b, a),
        "sections_twice": "[playlist]\nFile1=%s\n[other]\nFile2=x\n[playlist]\nFile2=%s\n" % (a, b),
        "nul_inside": "[playlist]\nFile1=%s\0\nFile2=\0%s\n" % (a, b),
    }
    for kind, text in pls_cases.items():
        corpus.add("pls", kind, ".pls", text.encode("utf-8", "surrogatepass"), "playlist")

    # Playlists of damaged audio: every file is opened for its length and tags
    # one after another in one process.
    for fmt, names in sorted(damaged_by_format.items()):
        corpus.add("damaged", fmt, ".m3u", utf16("#EXTM3U\n" + "\n".join(names) + "\n"), "playlist")


def bitmap(width, height, bits=24):
    row = (width * bits // 8 + 3) & ~3
    pixels = bytes((x * 7 + y * 13) & 0xFF for y in range(height) for x in range(row))
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, len(pixels), 2835, 2835, 0, 0)
    return b"BM" + struct.pack("<IHHI", 14 + len(info) + len(pixels), 0, 0, 54) + info + pixels


def damaged_bitmaps(corpus):
    """Damaged bitmaps for a skin's pictures (names, not cases of their own)."""
    good = bitmap(35, 17)
    damaged = {
        "cut_header": good[:30],
        "cut_pixels": good[:200],
        "offset_huge": patched(good, 10, "<I", 0xFFFFFFF0),
        "width_huge": patched(good, 18, "<i", 0x7FFFFFFF),
        "width_negative": patched(good, 18, "<i", -35),
        "width_zero": patched(good, 18, "<i", 0),
        "height_huge": patched(good, 22, "<i", 0x7FFFFFFF),
        "height_min": patched(good, 22, "<i", -0x80000000),
        "bits_7": patched(good, 28, "<H", 7),
        "bits_64": patched(good, 28, "<H", 64),
        "rle8_garbage": patched(patched(good, 28, "<H", 8), 30, "<I", 1),
        "bitfields_no_masks": patched(good, 30, "<I", 3),
        "compression_99": patched(good, 30, "<I", 99),
        "colours_used_max": patched(patched(good, 28, "<H", 8), 46, "<I", 0xFFFFFFFF),
        "info_size_huge": patched(good, 14, "<I", 0xFFFFFFF0),
        "not_a_bitmap": b"PK\3\4" + good[4:],
    }
    names = []
    corpus.add_plain("picture_good.bmp", good)
    for kind, data in damaged.items():
        name = "picture_%s.bmp" % kind
        corpus.add_plain(name, data)
        names.append(name)
    return names


PICTURE_KEYS = ("Stereo", "Mono", "PlayOptionShuffle", "Number", "Status", "PlayOption", "Button", "ButtonNormal",
                "ButtonPush", "VolumeSlider", "VolumeTrack", "AuxButton", "AuxButtonOver", "AuxButtonPush",
                "AuxButtonPushOver", "ButtonOver", "CoButton", "CoButtonOver", "CoButtonPush", "CoButtonPushOver",
                "QvButton", "QvButtonOver", "QvButtonPush", "QvButtonPushOver", "PauseButton", "ArrowOpen",
                "ArrowOpenOver", "ArrowClose", "ArrowCloseOver", "MenuNormal", "MenuOver", "MenuPush",
                "MinimizeNormal", "MinimizeOver", "MinimizePush", "CloseNormal", "CloseOver", "ClosePush", "MuteOn",
                "MuteOff", "Animation1", "Animation2", "Animation3", "Animation4", "Animation5", "Animation6",
                "Animation7", "WEButton", "WEButtonOver", "WEButtonPush", "WEButtonPushOver", "SNumber")


def skins(corpus):
    """Returns the names of the damaged pictures it wrote."""
    bad = damaged_bitmaps(corpus)
    pictures = "".join("%s=picture_good.bmp\n" % k for k in PICTURE_KEYS)
    colours = "DispColor=134,241,255\nInfoColor=197,255,155\nTitleColor=253,254,254\nSeekColor=197,255,155\n"
    skin = "[Quovira Skin]\nVersion=3\nBackground=picture_good.bmp\nDisp=1\n" + colours + pictures
    corpus.add("skin", "good", ".qvs", skin.encode(), "skin")
    text_damage(corpus, "skin", ".qvs", skin.encode(), "skin")
    cases = {
        "damaged_pictures": "[Quovira Skin]\nBackground=%s\n" % bad[0] +
                            "".join("%s=%s\n" % (k, bad[i % len(bad)]) for i, k in enumerate(PICTURE_KEYS)),
        "version_negative": "[Quovira Skin]\nVersion=-1\n" + pictures,
        "version_2": "[Quovira Skin]\nVersion=2\n" + pictures,
        "version_huge": "[Quovira Skin]\nVersion=99999999999999999999\nDisp=-99999999999999999999\n" + pictures,
        "version_text": "[Quovira Skin]\nVersion=abc\nDisp=x\n" + pictures,
        "colours_bad": "[Quovira Skin]\nDispColor=255\nInfoColor=255,0\nTitleColor=999999999999,-99999999999,x\n"
                       "SeekColor=,,\n",
        "colours_long": "[Quovira Skin]\nDispColor=" + "9" * 300 + "," + "9" * 300 + "," + "9" * 300 + "\n"
                        "TitleColor=1,2,3,4,5,6\n",
        "names_long": "[Quovira Skin]\nBackground=" + "b" * 5000 + "\nNumber=" + "n\\" * 200 + "\n",
        "names_folders": "[Quovira Skin]\nBackground=.\nNumber=..\nStereo=\\\nMono=C:\nSNumber=picture_good.bmp\\\n",
        "utf16": utf16("[Quovira Skin]\nVersion=3\n" + pictures).decode("latin-1"),
    }
    for kind, text in cases.items():
        corpus.add("skin", kind, ".qvs", text.encode("latin-1") if kind == "utf16" else text.encode(), "skin")
    corpus.add("skin", "binary", ".qvs", bitmap(64, 64), "skin")
    return bad


def control_layers(corpus, bad_pictures):
    buttons = ["PLAYBUTTON", "PAUSEBUTTON", "STOPBUTTON", "PREVBUTTON", "NEXTBUTTON", "OPENBUTTON", "WEBUTTON"]
    radios = ["EQBUTTON", "COBUTTON", "QVBUTTON", "EFBUTTON", "CPBUTTON", "ARROWBUTTON", "EPBUTTON", "DRCBUTTON",
              "SPKBUTTON", "EARBUTTON", "EFBUTTON2"]
    body = "[MAINBUTTONINFO]\n" + "".join("%d=%s,%d,%d,picture_good.bmp,picture_good.bmp,picture_good.bmp\n" %
                                         (i + 1, n, 10 + i * 30, 300) for i, n in enumerate(buttons))
    body += "[MAINRADIOINFO]\n" + "".join("%d=%s,%d,%d,%s\n" % (i + 1, n, 10 + i * 20, 340, ",".join(["picture_good.bmp"] * 6))
                                          for i, n in enumerate(radios))
    corpus.add("controls", "good", ".ini", body.encode(), "controls")
    text_damage(corpus, "controls", ".ini", body.encode(), "controls")
    cases = {
        "coordinates_huge": "[MAINBUTTONINFO]\n1=PLAYBUTTON,99999999999999999999,-99999999999999999999,a,b,c\n"
                            "2=PAUSEBUTTON,2147483648,-2147483649,a,b,c\n3=STOPBUTTON,0x10,  12abc,a,b,c\n",
        "commas_3000": "[MAINBUTTONINFO]\n1=" + "," * 3000 + "\n[MAINRADIOINFO]\n1=" + "," * 3000 + "\n",
        "value_5000": "[MAINBUTTONINFO]\n1=" + "v" * 5000 + ",1,2," + "p" * 5000 + "\n",
        "entries_1500": "[MAINBUTTONINFO]\n" + "".join("%d=B%d,%d,%d,a,b,c\n" % (i, i, i, i) for i in range(1, 1501)),
        "radios_20": "[MAINRADIOINFO]\n" + "".join("%d=R%d,1,1,a,b,c,d,e,f\n" % (i, i) for i in range(1, 21)),
        "fields_missing": "[MAINBUTTONINFO]\n1=PLAYBUTTON\n2=,\n[MAINRADIOINFO]\n1=EQBUTTON,1\n2=\n3=X,1,2\n",
        "names_empty_long": "[MAINBUTTONINFO]\n1=,1,1,,,\n2=" + "N" * 300 + ",1,1,a,b,c\n",
        "sections_twice": body + body,
        "damaged_pictures": "[MAINBUTTONINFO]\n" + "".join(
            "%d=B%d,%d,1,%s,%s,%s\n" % (i + 1, i, 30 * i, p, p, p) for i, p in enumerate(bad_pictures)),
        "nul_inside": body.replace("PAUSEBUTTON", "PAUSE\0BUTTON"),
        "utf16": utf16(body).decode("latin-1"),
    }
    for kind, text in cases.items():
        corpus.add("controls", kind, ".ini", text.encode("latin-1") if kind == "utf16" else text.encode(), "controls")
