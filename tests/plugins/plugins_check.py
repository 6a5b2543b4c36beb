"""Checks for qvrender_plugins_test.sh: played samples against their source
WAV, report fields, the nominal bitrate of an Ogg Vorbis file."""
import json
import os
import struct
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "engine"))
from qvrender_check import report, wav_data  # noqa: E402


def wav_format(path):
    with open(path, "rb") as f:
        data = f.read()
    pos = 12
    while pos + 8 <= len(data):
        cid, size = data[pos:pos + 4], struct.unpack("<I", data[pos + 4:pos + 8])[0]
        if cid == b"fmt ":
            _, channels, rate, _, _, bits = struct.unpack("<HHIIHH", data[pos + 8:pos + 24])
            return channels, rate, bits
        pos += 8 + size + (size & 1)
    raise AssertionError("no fmt chunk in " + path)


def top16(raw, bits):
    """Samples of any width as the plug-ins deliver them: their top 16 bits."""
    width = bits // 8
    count = len(raw) // width
    if bits == 16:
        return list(struct.unpack("<%dh" % count, raw[: count * 2]))
    return [struct.unpack("<h", raw[i * width + width - 2:i * width + width])[0] for i in range(count)]


def scaled_from(source, output, first_frame):
    """The output is the source from first_frame on, at 16 bits, scaled by 136/256."""
    channels, _, bits = wav_format(source)
    src = top16(wav_data(source), bits)[int(first_frame) * channels:]
    out = top16(wav_data(output), 16)
    assert wav_format(output)[2] == 16, "output is not 16-bit"
    assert len(src) == len(out), "%d samples expected, %d out" % (len(src), len(out))
    for i, (s, o) in enumerate(zip(src, out)):
        want = max(-32768, min(32767, (s * 136) >> 8))
        assert o == want, "sample %d: %d became %d, expected %d" % (i, s, o, want)


def vorbis_nominal(path):
    """The nominal bitrate from the identification header."""
    with open(path, "rb") as f:
        data = f.read()
    at = data.index(b"\x01vorbis") + 7
    _, _, _, _, nominal, _ = struct.unpack("<IBIiii", data[at:at + 21])
    return nominal


def bitrate_is_nominal(report_path, ogg):
    with open(report_path) as f:
        r = json.load(f)
    want = vorbis_nominal(ogg) // 1000
    got = r["track_info"]["bitrate_kbps"]
    assert got == want, "bitrate_kbps %d, nominal / 1000 is %d" % (got, want)


def tags(report_path, which, *expectations):
    with open(report_path, encoding="utf-8") as f:
        t = json.load(f)[which]
    assert t is not None, which + " is null"
    for e in expectations:
        key, want = e.split("=", 1)
        value = t[key]
        if isinstance(value, int):
            want = int(want)
        assert value == want, "%s.%s = %r, expected %r" % (which, key, value, want)


def same_tags(report_path):
    with open(report_path, encoding="utf-8") as f:
        r = json.load(f)
    assert r["tags"] == r["file_tags"], "tags %r, file_tags %r" % (r["tags"], r["file_tags"])


if __name__ == "__main__":
    command, args = sys.argv[1], sys.argv[2:]
    {"report": report, "scaled-from": scaled_from, "bitrate-is-nominal": bitrate_is_nominal, "tags": tags,
     "same-tags": same_tags}[command](*args)
