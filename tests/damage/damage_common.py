"""What every part of the damaged-corpus generator shares: the corpus being
written (files plus a manifest of how each one is run) and the damage any
file can take (cuts, bit flips, patched fields, bit fields)."""
import os
import struct


class Corpus:
    """Damaged files in one folder and the manifest that lists them.

    Manifest lines: NAME <tab> TOOL <tab> ARGS, where TOOL is "render"
    (qvrender plays it) or one of qvload's kinds ("playlist", "skin",
    "controls"), and ARGS are extra arguments for the tool."""

    def __init__(self, folder, rng):
        self.folder = folder
        self.rng = rng
        self.cases = []
        self.names = set()
        os.makedirs(folder, exist_ok=True)

    def add(self, stem, kind, ext, data, tool="render", args=""):
        name = "%s.%s%s" % (stem, kind, ext)
        if name in self.names:
            raise ValueError("two cases named " + name)
        self.names.add(name)
        with open(os.path.join(self.folder, name), "wb") as f:
            f.write(bytes(data))
        self.cases.append((name, tool, args))
        return name

    def add_plain(self, name, data):
        """A file that is not run by itself (a picture a skin names)."""
        with open(os.path.join(self.folder, name), "wb") as f:
            f.write(bytes(data))

    def write_manifest(self):
        with open(os.path.join(self.folder, "manifest.tsv"), "w") as f:
            for name, tool, args in self.cases:
                f.write("%s\t%s\t%s\n" % (name, tool, args))


def u16(data, at):
    return struct.unpack_from("<H", data, at)[0]


def u32(data, at):
    return struct.unpack_from("<I", data, at)[0]


def patched(data, at, fmt, value):
    """A copy with one little- or big-endian field replaced."""
    copy = bytearray(data)
    struct.pack_into(fmt, copy, at, value)
    return copy


def field_extremes(data, fields):
    """(kind, copy) with each field zeroed and set to its largest value.
    fields: (name, offset, struct format) with formats of one integer."""
    for name, at, fmt in fields:
        if at + struct.calcsize(fmt) > len(data):
            continue
        width = struct.calcsize(fmt)
        biggest = (1 << (8 * width)) - 1
        if fmt.lstrip("<>").islower():  # signed: its largest positive value
            biggest >>= 1
        yield "%s_zero" % name, patched(data, at, fmt, 0)
        yield "%s_max" % name, patched(data, at, fmt, biggest)


def cut_points(size, header_points, rng, count=7):
    """Where to cut a file: some points in its headers (where parsers read
    field by field), a few fractions of it, and one byte short of the end."""
    inside = sorted({p for p in header_points if 0 <= p < size})
    if len(inside) > count - 4:
        inside = sorted(rng.sample(inside, count - 4))
    points = set(inside)
    for fraction in (0.1, 0.5, 0.9):
        points.add(int(size * fraction))
    points.add(size - 1)
    return sorted(p for p in points if 0 <= p < size)


def cuts(stem, ext, data, header_points, corpus, args=""):
    for at in cut_points(len(data), header_points, corpus.rng):
        corpus.add(stem, "cut_%06d" % at, ext, data[:at], args=args)


def flipped(data, rng, start, end, flips):
    copy = bytearray(data)
    end = min(end, len(copy))
    if end <= start:
        return copy
    for _ in range(flips):
        at = rng.randrange(start, end)
        copy[at] ^= 1 << rng.randrange(8)
    return copy


def flips(stem, ext, data, header_end, corpus, args=""):
    """Bit flips: one and several in the headers, a scatter over the whole
    file, and a burst of random bytes in the body."""
    rng = corpus.rng
    corpus.add(stem, "flip_head_1", ext, flipped(data, rng, 0, header_end, 1), args=args)
    corpus.add(stem, "flip_head_8", ext, flipped(data, rng, 0, header_end, 8), args=args)
    corpus.add(stem, "flip_all_32", ext, flipped(data, rng, 0, len(data), 32), args=args)
    copy = bytearray(data)
    if len(copy) > header_end + 64:
        at = rng.randrange(header_end, len(copy) - 32)
        copy[at:at + 32] = bytes(rng.randrange(256) for _ in range(32))
    corpus.add(stem, "burst_body", ext, copy, args=args)


class BitWriter:
    """Writes big-endian bit fields into a byte array, as MPEG and FLAC
    headers are laid out."""

    def __init__(self, data, byte_offset):
        self.data = data
        self.pos = byte_offset * 8

    def skip(self, bits):
        self.pos += bits

    def read(self, bits):
        value = 0
        for _ in range(bits):
            byte = self.data[self.pos // 8]
            value = (value << 1) | ((byte >> (7 - self.pos % 8)) & 1)
            self.pos += 1
        return value

    def write(self, value, bits):
        for i in range(bits):
            bit = (value >> (bits - 1 - i)) & 1
            at, shift = self.pos // 8, 7 - self.pos % 8
            self.data[at] = (self.data[at] & ~(1 << shift)) | (bit << shift)
            self.pos += 1
