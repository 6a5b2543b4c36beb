"""Damaged audio files made from the build's fixtures: for every format the
player opens, five kinds of damage that leave nothing an opener can use.
The bytes depend only on the fixtures, so every run gets the same files."""

import random
import struct

# A good file of each format, from the build's fixtures folder.
SOURCES = {
    "mp3": "mpeg1_l3_cbr.mp3",
    "ogg": "vorbis_44k_stereo.ogg",
    "flac": "flac_44k_stereo.flac",
    "ape": "ape_44k_stereo.ape",
    "wma": "wma1_22k_stereo.wma",
    "wav": "pcm_s16_44k_stereo.wav",
}

# Bytes kept by a cut inside each format's first header.
TRUNCATED_AT = {"mp3": 3, "ogg": 20, "flac": 20, "ape": 30, "wma": 20, "wav": 30}


def mpeg_frame_length(header):
    """Length of the MPEG-1 Layer III frame whose 4 header bytes are given."""
    bitrates = (0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320)
    rates = (44100, 48000, 32000)
    bitrate = bitrates[header[2] >> 4]
    rate = rates[(header[2] >> 2) & 3]
    return 144000 * bitrate // rate + ((header[2] >> 1) & 1)


def ogg_page_length(data, offset=0):
    assert data[offset:offset + 4] == b"OggS"
    segments = data[offset + 26]
    return 27 + segments + sum(data[offset + 27:offset + 27 + segments])


def empty(fmt, data):
    return b""


def truncated(fmt, data):
    """Cut inside the first header."""
    return data[:TRUNCATED_AT[fmt]]


def garbage(fmt, data):
    """Bytes that are no audio at all, under the format's extension; the
    seed is the format's name, so each format gets its own garbage."""
    rng = random.Random("garbage." + fmt)
    return bytes(rng.getrandbits(8) for _ in range(16384))


def zeroed(fmt, data):
    """The format's header zeroed, the rest kept (MPEG audio has a header on
    every frame: all of them are zeroed)."""
    out = bytearray(data)
    if fmt == "mp3":
        offset = 0
        while offset + 4 <= len(out) and out[offset] == 0xFF:
            length = mpeg_frame_length(out[offset:offset + 4])
            out[offset:offset + 4] = bytes(4)
            offset += length
        assert offset > len(out) // 2, "the MPEG fixture is not a plain run of frames"
        return bytes(out)
    size = {
        "ogg": lambda: ogg_page_length(data),  # the first page: the identification header
        "flac": lambda: 4 + 4 + 34,  # marker and STREAMINFO
        "ape": lambda: sum(struct.unpack_from("<II", data, 8)),  # descriptor and header
        "wma": lambda: struct.unpack_from("<Q", data, 16)[0],  # the ASF header object
        "wav": lambda: 44,  # RIFF, fmt and data chunk headers
    }[fmt]()
    out[:size] = bytes(size)
    return bytes(out)


def oversized(fmt, data):
    """A size field of the first header that claims more than the file holds."""
    out = bytearray(data)
    if fmt == "mp3":
        # The first frame alone, its header raised to 320 kbit/s: the frame
        # claims 1044 bytes, so the header that should follow is past the end.
        first = mpeg_frame_length(data[:4])
        out = bytearray(data[:first])
        out[2] = (out[2] & 0x0F) | 0xE0
        assert mpeg_frame_length(out[:4]) > len(out)
        return bytes(out)
    if fmt == "ogg":
        # The first page, its lacing values all 255: the page claims a body
        # far past the end of the cut file.
        page = ogg_page_length(data)
        segments = data[26]
        out = bytearray(data[:page])
        out[27:27 + segments] = b"\xff" * segments
        return bytes(out)
    if fmt == "flac":
        # STREAMINFO block length 0xFFFFFF.
        out[5:8] = b"\xff\xff\xff"
        return bytes(out)
    if fmt == "ape":
        # The header's frame count: millions of frames, far more than the
        # file (and its seek table) holds.
        header = struct.unpack_from("<I", data, 8)[0]
        struct.pack_into("<I", out, header + 12, 0x00FFFFFF)
        return bytes(out)
    if fmt == "wma":
        # The ASF header object's size.
        struct.pack_into("<Q", out, 16, 1 << 40)
        return bytes(out)
    if fmt == "wav":
        # The fmt chunk's size.
        struct.pack_into("<I", out, 16, 0x7FFFFFF0)
        return bytes(out)
    raise ValueError(fmt)


KINDS = (empty, truncated, garbage, zeroed, oversized)


def make_damaged(fixtures, folder):
    """Writes one file per format and kind into folder; returns their paths
    in a fixed order (kind by kind, format by format): 30 files."""
    paths = []
    sources = {fmt: (fixtures / name).read_bytes() for fmt, name in SOURCES.items()}
    for kind in KINDS:
        for fmt, data in sources.items():
            path = folder / ("%02d %s.%s" % (len(paths) + 1, kind.__name__, fmt))
            path.write_bytes(kind(fmt, data))
            paths.append(path)
    return paths
