"""Damaged FLAC files: STREAMINFO fields at their limits, metadata blocks
whose lengths lie or that come in the wrong order, and frames whose headers
and subframes are damaged behind recomputed checksums (so the damage reaches
the decoder rather than being skipped as a broken frame)."""
import struct

from damage_common import BitWriter, cuts, flipped, flips


def crc8(data):
    crc = 0
    for b in data:
        crc ^= b
        for _ in range(8):
            crc = ((crc << 1) ^ 0x07) & 0xFF if crc & 0x80 else (crc << 1) & 0xFF
    return crc


def crc16(data):
    crc = 0
    for b in data:
        crc ^= b << 8
        for _ in range(8):
            crc = ((crc << 1) ^ 0x8005) & 0xFFFF if crc & 0x8000 else (crc << 1) & 0xFFFF
    return crc


def metadata(data):
    """(offset, type, length, last) of each metadata block."""
    out = []
    at = 4
    while at + 4 <= len(data):
        h = data[at]
        length = int.from_bytes(data[at + 1:at + 4], "big")
        out.append((at, h & 0x7F, length, bool(h & 0x80)))
        at += 4 + length
        if h & 0x80:
            break
    return out


def header_length(data, at):
    """Length of the frame header at `at` including its CRC-8, or None when
    it is not a frame header."""
    if at + 6 > len(data) or data[at] != 0xFF or data[at + 1] not in (0xF8, 0xF9):
        return None
    n = at + 4
    lead = data[n]
    extra = 0
    while extra < 7 and lead & (0x80 >> extra):
        extra += 1
    n += 1 + (extra - 1 if extra > 1 else 0)
    bs, sr = data[at + 2] >> 4, data[at + 2] & 15
    n += {6: 1, 7: 2}.get(bs, 0) + {12: 1, 13: 2, 14: 2}.get(sr, 0)
    if n + 1 > len(data) or crc8(data[at:n]) != data[n]:
        return None
    return n + 1 - at


def frames(data, start):
    out = []
    at = start
    while at < len(data) - 6:
        if header_length(data, at):
            out.append(at)
            at += 8
        else:
            at += 1
    return out


def with_frame_fixed(data, frame_list, i, fn):
    """A copy with frame i changed by fn(frame bytearray) and both of its
    checksums recomputed (the header's from its new length)."""
    start = frame_list[i]
    end = frame_list[i + 1] if i + 1 < len(frame_list) else len(data)
    frame = bytearray(data[start:end])
    fn(frame)
    # The header may have changed its length; find its CRC-8 position anew.
    n = 4
    lead = frame[4]
    extra = 0
    while extra < 7 and lead & (0x80 >> extra):
        extra += 1
    n += 1 + (extra - 1 if extra > 1 else 0)
    n += {6: 1, 7: 2}.get(frame[2] >> 4, 0) + {12: 1, 13: 2, 14: 2}.get(frame[2] & 15, 0)
    if n < len(frame):
        frame[n] = crc8(frame[:n])
    if len(frame) >= 2:
        struct.pack_into(">H", frame, len(frame) - 2, crc16(frame[:-2]))
    return data[:start] + frame + data[end:]


def patched_point(data, at, sample, offset):
    copy = bytearray(data)
    struct.pack_into(">QQ", copy, at, sample, offset)
    return copy


STREAMINFO_BITS = (("min_block", 0, 16), ("max_block", 16, 16), ("min_frame", 32, 24), ("max_frame", 56, 24),
                   ("rate", 80, 20), ("channels", 100, 3), ("bits", 103, 5), ("total", 108, 36))


def damage(stem, ext, data, corpus, level):
    blocks = metadata(data)
    audio = blocks[-1][0] + 4 + blocks[-1][2]
    frame_list = frames(data, audio)
    if len(frame_list) < 4:
        raise ValueError("%s: too few frames" % stem)
    rng = corpus.rng
    cuts(stem, ext, data, [3, 4, 5, 8, 20, 25, 41, 42, audio - 1, audio + 3, audio + 20], corpus)
    flips(stem, ext, data, audio, corpus)
    if level == "light":
        return

    for name, bit, width in STREAMINFO_BITS:
        for kind, value in (("zero", 0), ("max", (1 << width) - 1)):
            copy = bytearray(data)
            w = BitWriter(copy, 8)
            w.skip(bit)
            w.write(value, width)
            corpus.add(stem, "streaminfo_%s_%s" % (name, kind), ext, copy)

    def frame_edit(kind, i, fn):
        corpus.add(stem, kind, ext, with_frame_fixed(data, frame_list, i, fn))

    def nibble(byte, high, value):
        def fn(f):
            f[byte] = (f[byte] & (0x0F if high else 0xF0)) | (value << 4 if high else value)
        return fn

    frame_edit("frame_block_size_reserved", 0, nibble(2, True, 0))
    frame_edit("frame_rate_invalid", 0, nibble(2, False, 15))
    frame_edit("frame_channels_reserved", 0, nibble(3, True, 15))
    frame_edit("frame_channels_mono", 1, nibble(3, True, 0))
    frame_edit("frame_channels_eight", 1, nibble(3, True, 7))
    frame_edit("frame_sample_size_reserved", 0, lambda f: f.__setitem__(3, (f[3] & 0xF1) | (3 << 1)))
    frame_edit("frame_sample_size_8", 1, lambda f: f.__setitem__(3, (f[3] & 0xF1) | (1 << 1)))
    frame_edit("frame_sample_size_32", 1, lambda f: f.__setitem__(3, (f[3] & 0xF1) | (7 << 1)))
    frame_edit("frame_number_max", 2, lambda f: f.__setitem__(4, 0xFE))
    frame_edit("frame_variable_blocking", 2, lambda f: f.__setitem__(1, f[1] ^ 1))
    for n in (1, 8, 64):
        frame_edit("subframe_flip_%d" % n, 2,
                   lambda f, n=n: f.__setitem__(slice(0, None), flipped(f, rng, 6, len(f) - 2, n)))
    frame_edit("subframe_type_reserved", 3, lambda f: f.__setitem__(6, 0x04))
    frame_edit("subframe_lpc_order_32", 3, lambda f: f.__setitem__(6, 0x7E))
    frame_edit("subframe_wasted_bits_max", 3, lambda f: f.__setitem__(slice(6, 12), b"\x01\0\0\0\0\0"))

    if level != "full":
        return
    # Metadata lengths that lie and blocks out of order.
    first_block = blocks[0][0]
    for kind, at, value in (("streaminfo_length_0", first_block, 0), ("streaminfo_length_max", first_block, 0xFFFFFF),
                            ("last_block_length_max", blocks[-1][0], 0xFFFFFF)):
        copy = bytearray(data)
        copy[at + 1:at + 4] = value.to_bytes(3, "big")
        corpus.add(stem, kind, ext, copy)
    for at, kind_no, length, _ in blocks:
        if kind_no == 4 and length >= 8:  # VORBIS_COMMENT
            vendor = struct.unpack_from("<I", data, at + 4)[0]
            for kind, off, value in (("vendor_length_max", 4, 0xFFFFFFFF), ("comment_count_max", 8 + vendor, 0xFFFFFFFF)):
                copy = bytearray(data)
                struct.pack_into("<I", copy, at + off, value)
                corpus.add(stem, kind, ext, copy)
        if kind_no == 3 and length >= 18:  # SEEKTABLE: points far past the end, then out of order
            copy = bytearray(data)
            struct.pack_into(">QQH", copy, at + 4, 0xFFFFFFFFFFFFFFFE, 0x7FFFFFFFFFFFFFFF, 0xFFFF)
            if length >= 36:
                struct.pack_into(">QQH", copy, at + 22, 1, 0, 0)
            corpus.add(stem, "seektable_lies", ext, copy)
            corpus.add(stem, "seektable_sample_in_file", ext, patched_point(data, at + 4, 44100, 0xFFFFFFF0))
    raw = [bytearray(data[a:a + 4 + n]) for a, _, n, _ in blocks]
    joined = lambda parts: b"fLaC" + b"".join(bytes(x) for x in parts) + data[audio:]
    if len(raw) > 1:
        swapped = [raw[1], raw[0]] + raw[2:]
        for b in swapped:
            b[0] &= 0x7F
        swapped[-1][0] |= 0x80
        corpus.add(stem, "streaminfo_second", ext, joined(swapped))
        early = [bytearray(b) for b in raw]
        early[0][0] |= 0x80
        corpus.add(stem, "last_flag_early", ext, joined(early))
    never = [bytearray(b) for b in raw]
    never[-1][0] &= 0x7F
    corpus.add(stem, "last_flag_missing", ext, joined(never))
    # A block of the invalid type 127 after STREAMINFO.
    invalid = [bytearray(b) for b in raw]
    invalid[0][0] &= 0x7F
    inserted = bytearray(b"\x7f\0\0\x04abcd")
    if len(invalid) == 1:
        inserted[0] |= 0x80
    corpus.add(stem, "block_type_invalid", ext, joined(invalid[:1] + [inserted] + invalid[1:]))
    f = frame_list
    corpus.add(stem, "frames_swapped", ext, data[:f[0]] + data[f[1]:f[2]] + data[f[0]:f[1]] + data[f[2]:])
    corpus.add(stem, "frame_twice", ext, data[:f[1]] + data[f[0]:])
    corpus.add(stem, "no_frames", ext, data[:audio])
