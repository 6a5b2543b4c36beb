"""Damaged Ogg Vorbis files. Most damage is made behind a page checksum that
is recomputed, so that it reaches the Vorbis decoder rather than being
dropped by the Ogg layer: header fields at their limits, comment lengths that
claim more than the packet holds, damaged codebooks and audio packets,
granule positions that jump, pages out of order, and chained streams."""
import struct

from damage_common import cuts, field_extremes, flipped, flips, patched, u32


def _crc_table():
    table = []
    for i in range(256):
        r = i << 24
        for _ in range(8):
            r = ((r << 1) ^ 0x04C11DB7) if r & 0x80000000 else (r << 1)
        table.append(r & 0xFFFFFFFF)
    return table


CRC_TABLE = _crc_table()


def with_crc(page):
    page = bytearray(page)
    page[22:26] = b"\0\0\0\0"
    crc = 0
    for b in page:
        crc = ((crc << 8) & 0xFFFFFFFF) ^ CRC_TABLE[((crc >> 24) & 0xFF) ^ b]
    struct.pack_into("<I", page, 22, crc)
    return page


def pages(data):
    """(offset, length) of each page."""
    out = []
    at = 0
    while at + 27 <= len(data) and data[at:at + 4] == b"OggS":
        n = data[at + 26]
        length = 27 + n + sum(data[at + 27:at + 27 + n])
        out.append((at, length))
        at += length
    return out


def body_offset(data, page_at):
    return page_at + 27 + data[page_at + 26]


def header_pages(data, page_list):
    """The page on which the third packet (the setup header) ends."""
    packets = 0
    for i, (at, _) in enumerate(page_list):
        for lace in data[at + 27:at + 27 + data[at + 26]]:
            if lace < 255:
                packets += 1
                if packets == 3:
                    return i
    raise ValueError("no complete set of Vorbis headers")


def rebuilt(data, page_list, index, fn):
    """A copy with page `index` changed by fn(bytearray) and its checksum
    recomputed."""
    at, length = page_list[index]
    page = bytearray(data[at:at + length])
    fn(page)
    return data[:at] + with_crc(page) + data[at + length:]


def damage(stem, ext, data, corpus, level, other=None):
    """other: a second Ogg Vorbis file for a chained stream."""
    p = pages(data)
    setup_page = header_pages(data, p)
    first_audio = setup_page + 1
    if first_audio >= len(p):
        raise ValueError("%s: no audio pages" % stem)
    rng = corpus.rng
    header_end = p[first_audio][0]
    cuts(stem, ext, data, [4, 26, 27, 28, 40, 57, p[1][0], p[1][0] + 40, p[2][0], header_end + 30], corpus)
    flips(stem, ext, data, header_end, corpus)
    if level == "light":
        return

    # Identification header fields.
    ident = body_offset(data, 0)
    fields = [("version", 7, "<I"), ("channels", 11, "B"), ("rate", 12, "<I"), ("bitrate_nominal", 20, "<i"),
              ("blocksizes", 28, "B"), ("framing", 29, "B")]
    for kind, copy in field_extremes(data[:p[0][1]], [(n, ident - p[0][0] + o, f) for n, o, f in fields]):
        corpus.add(stem, "ident_" + kind, ext, with_crc(copy) + data[p[0][1]:])
    corpus.add(stem, "blocksizes_swapped", ext,
               rebuilt(data, p, 0, lambda pg: pg.__setitem__(ident + 28, ((pg[ident + 28] & 15) << 4) | (pg[ident + 28] >> 4))))

    # Comment header lengths that claim more than the packet holds.
    comment = body_offset(data, p[1][0]) - p[1][0]
    vendor = u32(data, p[1][0] + comment + 7)
    count_at = comment + 11 + vendor
    for kind, at, value in (("vendor_length_max", comment + 7, 0xFFFFFFFF), ("vendor_length_signed", comment + 7, 0x80000000),
                            ("comment_count_max", count_at, 0xFFFFFFFF), ("comment_length_max", count_at + 4, 0xFFFFFFFF)):
        if at + 4 <= p[1][1]:
            corpus.add(stem, kind, ext, rebuilt(data, p, 1, lambda pg, at=at, value=value: struct.pack_into("<I", pg, at, value)))

    # Setup header (codebooks, floors, residues, modes) and audio packets
    # damaged behind valid checksums.
    for n in (1, 4, 16):
        corpus.add(stem, "setup_flip_%d" % n, ext,
                   rebuilt(data, p, setup_page, lambda pg, n=n: pg.__setitem__(slice(0, None), flipped(pg, rng, 27 + pg[26], len(pg), n))))
    for i, n in ((first_audio, 4), (len(p) // 2, 16), (len(p) - 1, 64)):
        corpus.add(stem, "audio_flip_%d_page_%d" % (n, i), ext,
                   rebuilt(data, p, i, lambda pg, n=n: pg.__setitem__(slice(0, None), flipped(pg, rng, 27 + pg[26], len(pg), n))))

    # Granule positions and page flags.
    last = len(p) - 1
    mid = max(first_audio, len(p) // 2)
    for kind, index, value in (("last_granule_max", last, 0x7FFFFFFFFFFFFFFF), ("last_granule_minus_1", last, 0xFFFFFFFFFFFFFFFF),
                               ("last_granule_0", last, 0), ("mid_granule_max", mid, 0x7FFFFFFFFFFFFFFF),
                               ("first_audio_granule_max", first_audio, 0x7FFFFFFFFFFFFFFE)):
        corpus.add(stem, kind, ext, rebuilt(data, p, index, lambda pg, value=value: struct.pack_into("<Q", pg, 6, value)))
    corpus.add(stem, "mid_serial_changed", ext, rebuilt(data, p, mid, lambda pg: struct.pack_into("<I", pg, 14, 0x12345678)))
    corpus.add(stem, "mid_sequence_gap", ext, rebuilt(data, p, mid, lambda pg: struct.pack_into("<I", pg, 18, 999)))
    corpus.add(stem, "mid_begin_flag", ext, rebuilt(data, p, mid, lambda pg: pg.__setitem__(5, 2)))
    corpus.add(stem, "first_end_flag", ext, rebuilt(data, p, 0, lambda pg: pg.__setitem__(5, 6)))
    corpus.add(stem, "comment_continued_flag", ext, rebuilt(data, p, 1, lambda pg: pg.__setitem__(5, 1)))
    corpus.add(stem, "version_1", ext, rebuilt(data, p, 0, lambda pg: pg.__setitem__(4, 1)))

    if level != "full":
        return
    page = lambda i: data[p[i][0]:p[i][0] + p[i][1]]
    rest = lambda i: data[p[i][0]:]
    # Pages out of order or doubled; a last page whose segments run past the end.
    corpus.add(stem, "swap_pages_1_2", ext, page(0) + page(2) + page(1) + (rest(3) if len(p) > 3 else b""))
    if len(p) > first_audio + 2:
        corpus.add(stem, "swap_audio_pages", ext, data[:header_end] + page(first_audio + 1) + page(first_audio) +
                   rest(first_audio + 2))
    corpus.add(stem, "first_page_twice", ext, page(0) + data)
    corpus.add(stem, "headers_twice", ext, data[:header_end] + data)
    corpus.add(stem, "only_first_header_page", ext, page(0) + rest(first_audio))
    at, length = p[last]
    lying = bytearray(data[at:at + 27]) + bytes([255]) * 255
    lying[26] = 255
    corpus.add(stem, "last_page_lacing_lies", ext, data[:at] + with_crc(lying + data[at + 27 + data[at + 26]:at + length]))
    if other:
        corpus.add(stem, "chained", ext, data + other)
        corpus.add(stem, "interleaved_serials", ext, page(0) + other[:pages(other)[0][1]] + data[p[0][1]:])
