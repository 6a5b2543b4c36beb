"""Damaged Monkey's Audio files: descriptor and header fields at their
limits (sizes of the parts of the file that lie, frame counts, block counts,
formats), seek tables that run backwards or past the end, and tags appended
with sizes that lie."""
import struct

from damage_common import cuts, field_extremes, flips, patched, u32

DESCRIPTOR = (("version", 4, "<H"), ("descriptor_bytes", 8, "<I"), ("header_bytes", 12, "<I"),
              ("seektable_bytes", 16, "<I"), ("wav_header_bytes", 20, "<I"), ("frame_data_bytes", 24, "<I"),
              ("frame_data_high", 28, "<I"), ("terminating_bytes", 32, "<I"))
HEADER = (("compression", 0, "<H"), ("flags", 2, "<H"), ("blocks_per_frame", 4, "<I"), ("final_frame_blocks", 8, "<I"),
          ("total_frames", 12, "<I"), ("bits", 16, "<H"), ("channels", 18, "<H"), ("rate", 20, "<I"))


def ape_tag_footer(size, count):
    return b"APETAGEX" + struct.pack("<IIII", 2000, size, count, 0x80000000) + b"\0" * 8


def damage(stem, ext, data, corpus, level):
    if data[:4] != b"MAC " or u32(data, 8) != 52:
        raise ValueError("%s: not a Monkey's Audio file with a descriptor" % stem)
    header = u32(data, 8)
    seek_at = header + u32(data, 12)
    seek_bytes = u32(data, 16)
    frames_at = seek_at + seek_bytes + u32(data, 20)
    cuts(stem, ext, data, [4, 8, 20, 52, 60, 76, seek_at + 2, frames_at - 1, frames_at + 8], corpus)
    flips(stem, ext, data, frames_at, corpus)
    if level == "light":
        return
    for kind, copy in field_extremes(data, [(n, o, f) for n, o, f in DESCRIPTOR] + [(n, header + o, f) for n, o, f in HEADER]):
        corpus.add(stem, kind, ext, copy)
    for kind, at, fmt, value in (("version_old_layout", 4, "<H", 3970), ("compression_6000", header, "<H", 6000),
                                 ("channels_3", header + 18, "<H", 3), ("bits_24", header + 16, "<H", 24),
                                 ("final_blocks_above_frame", header + 8, "<I", u32(data, header + 4) + 1)):
        corpus.add(stem, kind, ext, patched(data, at, fmt, value))
    if level != "full":
        return
    entries = seek_bytes // 4
    if entries >= 2:
        backwards = bytearray(data)
        table = [u32(data, seek_at + 4 * i) for i in range(entries)]
        for i, v in enumerate(reversed(table)):
            struct.pack_into("<I", backwards, seek_at + 4 * i, v)
        corpus.add(stem, "seektable_backwards", ext, backwards)
    corpus.add(stem, "seektable_past_end", ext, patched(data, seek_at + 4 * max(entries - 1, 0), "<I", 0xFFFFFFF0))
    corpus.add(stem, "seektable_zero", ext, patched(data, seek_at, "<I", 0))
    # Tags at the end whose sizes and item counts claim too much.
    corpus.add(stem, "ape_tag_size_max", ext, data + ape_tag_footer(0xFFFFFFF0, 1))
    corpus.add(stem, "ape_tag_count_max", ext,
               data + struct.pack("<I", 0xFFFFFFF0) + b"\0\0\0\0Title\0" + ape_tag_footer(32 + 14, 0xFFFFFFFF))
    corpus.add(stem, "id3v1_after", ext, data + b"TAG" + b"\xff" * 125)
    # Frame data swapped in halves: frames no longer where the table says.
    half = frames_at + (len(data) - frames_at) // 2
    corpus.add(stem, "frame_halves_swapped", ext, data[:frames_at] + data[half:] + data[frames_at:half])
