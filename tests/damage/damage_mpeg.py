"""Damaged MPEG audio (layers I to III, versions 1, 2 and 2.5): frame
headers with reserved or changing values, layer III side information at its
limits, Xing and VBRI headers that lie, ID3 tags that claim more than the
file holds, and frames out of order."""
import struct

from damage_common import BitWriter, cuts, flips, patched

KBPS = {
    (1, 1): [0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448],
    (1, 2): [0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384],
    (1, 3): [0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320],
    (2, 1): [0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256],
    (2, 2): [0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160],
}
KBPS[(2, 3)] = KBPS[(2, 2)]
RATES = {3: [44100, 48000, 32000], 2: [22050, 24000, 16000], 0: [11025, 12000, 8000]}


def parse_header(data, at):
    """(version bits, layer, frame length, protected, mono) or None."""
    if at + 4 > len(data) or data[at] != 0xFF or data[at + 1] & 0xE0 != 0xE0:
        return None
    b1, b2, b3 = data[at + 1], data[at + 2], data[at + 3]
    vbits, lbits = (b1 >> 3) & 3, (b1 >> 1) & 3
    bi, si, pad = b2 >> 4, (b2 >> 2) & 3, (b2 >> 1) & 1
    if vbits == 1 or lbits == 0 or bi in (0, 15) or si == 3:
        return None
    layer = 4 - lbits
    kbps = KBPS[(1 if vbits == 3 else 2, layer)][bi]
    rate = RATES[vbits][si]
    if layer == 1:
        length = (12 * kbps * 1000 // rate + pad) * 4
    elif layer == 3 and vbits != 3:
        length = 72 * kbps * 1000 // rate + pad
    else:
        length = 144 * kbps * 1000 // rate + pad
    return vbits, layer, length, (b1 & 1) == 0, (b3 >> 6) == 3


def id3v2_size(data):
    if data[:3] != b"ID3":
        return 0
    s = data[6:10]
    return 10 + ((s[0] << 21) | (s[1] << 14) | (s[2] << 7) | s[3])


def frames(data):
    """Offsets of the frames that follow one another from the first one."""
    at = id3v2_size(data)
    out = []
    while True:
        h = parse_header(data, at)
        if not h or h[2] <= 0:
            break
        out.append(at)
        at += h[2]
    return out


def side_info_writer(data, at):
    """A bit writer at the first granule's first channel of a layer III
    frame, and whether the frame is MPEG-1."""
    vbits, _, _, protected, mono = parse_header(data, at)
    w = BitWriter(data, at + 4 + (2 if protected else 0))
    mpeg1 = vbits == 3
    if mpeg1:
        w.skip(9 + (5 if mono else 3) + (4 if mono else 8))
    else:
        w.skip(8 + (1 if mono else 2))
    return w, mpeg1


def side_info_damage(data, at):
    """Layer III side-information fields of granule 0, channel 0 at values
    a decoder must refuse or bound."""
    out = []

    def edit(kind, fn):
        copy = bytearray(data)
        w, mpeg1 = side_info_writer(copy, at)
        fn(w, mpeg1)
        out.append((kind, copy))

    def main_data_begin(w, mpeg1):
        w.pos = (at + 4 + (2 if parse_header(data, at)[3] else 0)) * 8
        w.write(0x1FF if mpeg1 else 0xFF, 9 if mpeg1 else 8)

    edit("main_data_begin_max", main_data_begin)
    edit("part2_3_length_max", lambda w, m: w.write(0xFFF, 12))
    edit("big_values_max", lambda w, m: (w.skip(12), w.write(0x1FF, 9)))
    edit("global_gain_max", lambda w, m: (w.skip(21), w.write(0xFF, 8)))
    edit("scalefac_compress_max", lambda w, m: (w.skip(29), w.write(0xF if m else 0x1FF, 4 if m else 9)))

    def switching(block_type, table):
        def fn(w, m):
            w.skip(29 + (4 if m else 9))
            w.write(1, 1)
            w.write(block_type, 2)
            w.write(1, 1)
            w.write(table, 5)
            w.write(table, 5)
        return fn

    edit("window_switching_type_0", switching(0, 1))
    edit("mixed_short_table_4", switching(2, 4))

    def long_tables(w, m):
        w.skip(29 + (4 if m else 9))
        w.write(0, 1)
        for _ in range(3):
            w.write(14, 5)  # table 14 does not exist
        w.write(15, 4)
        w.write(7, 3)

    edit("table_select_14_regions_max", long_tables)
    return out


def xing_offset(data, first):
    for tag in (b"Xing", b"Info"):
        at = data.find(tag, first, first + 64)
        if at >= 0:
            return at
    return None


def damage(stem, ext, data, corpus, level):
    frame_list = frames(data)
    if len(frame_list) < (8 if level == "full" else 4):
        raise ValueError("%s: too few frames to damage" % stem)
    first = frame_list[0]
    vbits, layer, length, _, _ = parse_header(data, first)
    cuts(stem, ext, data, [2, 3, 4, first + 3, first + 4, first + 20, first + 40, frame_list[1] - 1,
                           frame_list[1] + 2, frame_list[2]], corpus)
    flips(stem, ext, data, frame_list[3], corpus)
    if level == "light":
        return

    def header_bits(kind, frame, byte, mask, value):
        copy = bytearray(data)
        copy[frame + byte] = (copy[frame + byte] & ~mask) | value
        corpus.add(stem, kind, ext, copy)

    # Reserved values in the first frame, and format changes mid-stream.
    header_bits("version_reserved", first, 1, 0x18, 0x08)
    header_bits("layer_reserved", first, 1, 0x06, 0x00)
    header_bits("bitrate_free", first, 2, 0xF0, 0x00)
    header_bits("bitrate_bad", first, 2, 0xF0, 0xF0)
    header_bits("rate_reserved", first, 2, 0x0C, 0x0C)
    header_bits("emphasis_reserved", first, 3, 0x03, 0x02)
    mid = frame_list[len(frame_list) // 2]
    header_bits("mid_rate_change", mid, 2, 0x0C, ((((data[mid + 2] >> 2) & 3) + 1) % 3) << 2)
    header_bits("mid_channels_change", mid, 3, 0xC0, 0xC0 if data[mid + 3] >> 6 != 3 else 0x00)
    header_bits("mid_layer_change", mid, 1, 0x06, 0x06 if layer != 1 else 0x02)
    copy = bytearray(data)
    for at in frame_list:
        copy[at + 2] &= 0x0F  # every frame free-format: its length is unknown
    corpus.add(stem, "all_free_format", ext, copy)

    if layer == 3:
        audio = frame_list[1] if xing_offset(data, first) is not None else first
        for kind, copy in side_info_damage(data, audio):
            corpus.add(stem, kind, ext, copy)
    else:
        for value, kind in ((0xFF, "alloc_max"), (0x00, "alloc_zero")):
            copy = bytearray(data)
            body = frame_list[2] + 4
            copy[body:body + 24] = bytes([value]) * 24
            corpus.add(stem, kind, ext, copy)

    x = xing_offset(data, first)
    if x is not None:
        for kind, at, value in (("xing_frames_0", x + 8, 0), ("xing_frames_max", x + 8, 0xFFFFFFFF),
                                ("xing_bytes_0", x + 12, 0), ("xing_bytes_max", x + 12, 0xFFFFFFFF)):
            corpus.add(stem, kind, ext, patched(data, at, ">I", value))
        copy = bytearray(data)
        copy[x + 16:x + 116] = bytes(range(255, 155, -1))  # a table of contents that runs backwards
        corpus.add(stem, "xing_toc_backwards", ext, copy)
        corpus.add(stem, "xing_flags_all_short", ext, patched(data, x + 4, ">I", 0xFFFFFFFF)[:x + 12])
    if data[first + 36:first + 40] == b"VBRI":
        v = first + 36
        for kind, at, fmt, value in (("vbri_bytes_max", v + 10, ">I", 0xFFFFFFFF), ("vbri_frames_0", v + 14, ">I", 0),
                                     ("vbri_entries_max", v + 18, ">H", 0xFFFF), ("vbri_scale_0", v + 20, ">H", 0),
                                     ("vbri_entry_size_max", v + 22, ">H", 0xFFFF)):
            corpus.add(stem, kind, ext, patched(data, at, fmt, value))

    if data[:3] == b"ID3":
        for kind, size in (("id3v2_size_max", b"\x7f\x7f\x7f\x7f"), ("id3v2_size_0", b"\0\0\0\0"),
                           ("id3v2_size_unsynced", b"\xff\xff\xff\xff")):
            copy = bytearray(data)
            copy[6:10] = size
            corpus.add(stem, kind, ext, copy)
        corpus.add(stem, "id3v2_frame_size_max", ext, patched(data, 14, ">I", 0xFFFFFFFF))
        corpus.add(stem, "id3v2_version_ff", ext, patched(data, 3, "B", 0xFF))
    if data[-128:-125] == b"TAG":
        copy = bytearray(data)
        copy[-125:-1] = b"\xff" * 124  # no terminators, genre 255
        corpus.add(stem, "id3v1_unterminated", ext, copy)
        corpus.add(stem, "id3v1_only", ext, data[-128:])

    if level != "full":
        return
    # Frames out of order, missing, doubled, or with junk between them.
    f = frame_list
    swapped = data[:f[0]] + data[f[1]:f[2]] + data[f[0]:f[1]] + data[f[2]:]
    corpus.add(stem, "swap_first_frames", ext, swapped)
    reversed_mid = data[:f[2]] + b"".join(data[f[i]:f[i + 1]] for i in range(7, 2, -1)) + data[f[7]:]
    corpus.add(stem, "frames_reversed", ext, reversed_mid)
    corpus.add(stem, "first_frame_twice", ext, data[:f[1]] + data[f[0]:])
    corpus.add(stem, "false_sync", ext, data[:f[2]] + data[f[0]:f[0] + 4] + b"\0" * 7 + data[f[2]:])
    junk = bytes(corpus.rng.randrange(256) for _ in range(1500))
    corpus.add(stem, "junk_between", ext, data[:f[3]] + junk + data[f[3]:])
    corpus.add(stem, "headers_only", ext, b"".join(data[a:a + 4] for a in f))
