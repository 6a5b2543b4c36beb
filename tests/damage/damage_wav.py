"""Damaged WAV files: the RIFF chunk walk, the "fmt " record of every kind
(PCM of each width, float, extensible, G.711, ADPCM, GSM, MPEG in WAV), the
"fact" and "data" sizes, and chunks out of order."""
import math
import struct

from damage_common import cuts, field_extremes, flips, patched, u32


def chunks(data):
    """(identifier, offset of its header, size) of the chunks after "WAVE"."""
    out = []
    at = 12
    while at + 8 <= len(data):
        ident, size = bytes(data[at:at + 4]), u32(data, at + 4)
        out.append((ident, at, size))
        at += 8 + size + (size & 1)
    return out


def find(data, ident):
    return next(((at, size) for i, at, size in chunks(data) if i == ident), (None, None))


def riff(*parts):
    body = b"WAVE" + b"".join(parts)
    return b"RIFF" + struct.pack("<I", len(body)) + body


def chunk(ident, payload, pad=True):
    out = ident + struct.pack("<I", len(payload)) + payload
    return out + (b"\0" if pad and len(payload) % 2 else b"")


def tone(frames, rate, channels, scale):
    for n in range(frames):
        v = math.sin(2 * math.pi * 440 * n / rate) * 0.5
        for c in range(channels):
            yield v * scale * (1 if c % 2 == 0 else -1)


def synthetic_bases(mpeg_l3, mpeg_l2):
    """WAV kinds the fixtures do not have, made here: float, extensible,
    odd layouts, and MPEG audio in WAV (from the given MPEG files)."""
    rate, frames = 8000, 4000
    fmt = lambda tag, ch, bits, extra=b"": struct.pack(
        "<HHIIHH", tag, ch, rate, rate * ch * bits // 8, ch * bits // 8, bits) + extra
    f32 = struct.pack("<%df" % (frames * 2), *tone(frames, rate, 2, 1.0))
    f64 = struct.pack("<%dd" % frames, *tone(frames, rate, 1, 1.0))
    s16x6 = struct.pack("<%dh" % (frames * 6), *(int(v) for v in tone(frames, rate, 6, 30000)))
    pcm_guid = bytes.fromhex("0100000000001000800000aa00389b71")
    float_guid = bytes.fromhex("0300000000001000800000aa00389b71")
    ext = lambda ch, bits, guid: fmt(0xFFFE, ch, bits, struct.pack("<HHI", 22, bits, (1 << ch) - 1) + guid)
    s12 = struct.pack("<%dh" % frames, *(int(v) * 16 for v in tone(frames, rate, 1, 2000)))  # 12 bits, left-aligned
    u8 = bytes(int(v) + 128 for v in tone(frames, rate, 2, 100))

    def mpeg_in_wav(tag, data, extra):
        header = struct.pack("<HHIIHH", tag, 2, 44100, 16000, 1, 0) + extra
        return riff(chunk(b"fmt ", header), chunk(b"fact", struct.pack("<I", 44100 * 3)), chunk(b"data", data))

    mp3_extra = struct.pack("<HHIHHH", 12, 1, 2, 418, 1, 1393)  # cbSize 12, MPEGLAYER3WAVEFORMAT
    mp2_extra = struct.pack("<HHIHHHHII", 22, 2, 192000, 1, 0, 1, 0, 0, 0)
    return {
        "float32_8k_stereo": riff(chunk(b"fmt ", fmt(3, 2, 32)), chunk(b"fact", struct.pack("<I", frames)),
                                  chunk(b"data", f32)),
        "float64_8k_mono": riff(chunk(b"fmt ", fmt(3, 1, 64)), chunk(b"data", f64)),
        "ext_pcm16_8k_6ch": riff(chunk(b"fmt ", ext(6, 16, pcm_guid)), chunk(b"data", s16x6)),
        "ext_float32_8k_stereo": riff(chunk(b"fmt ", ext(2, 32, float_guid)), chunk(b"data", f32)),
        "pcm12_8k_mono": riff(chunk(b"fmt ", fmt(1, 1, 16)[:14] + struct.pack("<H", 12)), chunk(b"data", s12)),
        "pcm8_odd_list": riff(chunk(b"fmt ", fmt(1, 2, 8)), chunk(b"LIST", b"INFOISFT\x03\0\0\0ab\0", pad=False),
                              chunk(b"data", u8)),
        "mpeg_l3_in_wav": mpeg_in_wav(0x55, mpeg_l3, mp3_extra),
        "mpeg_l2_in_wav": mpeg_in_wav(0x50, mpeg_l2, mp2_extra),
    }


FMT_FIELDS = (("tag", 0, "<H"), ("channels", 2, "<H"), ("rate", 4, "<I"), ("avgbytes", 8, "<I"),
              ("blockalign", 12, "<H"), ("bits", 14, "<H"), ("cbsize", 16, "<H"), ("extra1", 18, "<H"),
              ("extra2", 20, "<H"))


def damage(stem, ext, data, corpus, level):
    """level: "light" (cuts and flips), "fields" (and header fields) or "full"."""
    fmt_at, fmt_size = find(data, b"fmt ")
    data_at, data_size = find(data, b"data")
    header_end = (data_at or 44) + 8
    cuts(stem, ext, data, [4, 8, 12, 16, 20, 24, 36, fmt_at + 8 + fmt_size - 1, header_end - 4, header_end,
                           header_end + 1], corpus)
    flips(stem, ext, data, header_end, corpus)
    if level == "light":
        return
    fields = [(n, fmt_at + 8 + off, f) for n, off, f in FMT_FIELDS if off + 2 <= fmt_size]
    for kind, copy in field_extremes(data, fields):
        corpus.add(stem, "fmt_" + kind, ext, copy)
    # Values just past what the format allows.
    corpus.add(stem, "blockalign_4097", ext, patched(data, fmt_at + 20, "<H", 4097))
    corpus.add(stem, "channels_3_bits_12", ext, patched(patched(data, fmt_at + 10, "<H", 3), fmt_at + 22, "<H", 12))
    if level != "full":
        return
    # Sizes that claim more than the file holds.
    for kind, value in (("huge", 0xFFFFFFFF), ("signed", 0x80000000), ("plus1", data_size + 1)):
        corpus.add(stem, "data_size_" + kind, ext, patched(data, data_at + 4, "<I", value))
    corpus.add(stem, "riff_size_huge", ext, patched(data, 4, "<I", 0xFFFFFFFF))
    corpus.add(stem, "riff_size_0", ext, patched(data, 4, "<I", 0))
    for kind, value in (("huge", 0xFFFFFFF0), ("0", 0), ("odd", 15), ("plus_data", fmt_size + 8 + data_size)):
        corpus.add(stem, "fmt_size_" + kind, ext, patched(data, fmt_at + 4, "<I", value))
    corpus.add(stem, "data_size_0", ext, patched(data, data_at + 4, "<I", 0))
    # Chunks in another order, doubled, or in the way.
    fmt_chunk = bytes(data[fmt_at:fmt_at + 8 + fmt_size + (fmt_size & 1)])
    data_chunk = bytes(data[data_at:])
    corpus.add(stem, "swap_data_first", ext, riff(data_chunk, fmt_chunk))
    corpus.add(stem, "fmt_twice", ext, riff(fmt_chunk, fmt_chunk, data_chunk))
    corpus.add(stem, "no_fmt", ext, riff(data_chunk))
    corpus.add(stem, "no_data", ext, riff(fmt_chunk, chunk(b"LIST", b"INFO" * 8)))
    corpus.add(stem, "list_between", ext, riff(fmt_chunk, chunk(b"LIST", b"INFOINAM\x05\0\0\0name\0"), data_chunk))
    corpus.add(stem, "junk_before_fmt_huge", ext, riff(b"JUNK" + struct.pack("<I", 0xFFFFFFF0), fmt_chunk, data_chunk))
    corpus.add(stem, "fact_size_huge", ext,
               riff(fmt_chunk, b"fact" + struct.pack("<II", 0xFFFFFFFF, 1), data_chunk))
    corpus.add(stem, "fact_frames_max", ext, riff(fmt_chunk, chunk(b"fact", b"\xff\xff\xff\xff"), data_chunk))
    corpus.add(stem, "fact_frames_0", ext, riff(fmt_chunk, chunk(b"fact", b"\0\0\0\0"), data_chunk))
    corpus.add(stem, "not_wave", ext, b"RIFF" + data[4:8] + b"AVI " + data[12:])
