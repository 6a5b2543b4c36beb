"""Checks for qvrender_test.sh: report fields, output samples, test files."""
import json
import struct
import sys


def wav_data(path):
    with open(path, "rb") as f:
        data = f.read()
    assert data[:4] == b"RIFF" and data[8:12] == b"WAVE", path
    pos = 12
    while pos + 8 <= len(data):
        cid, size = data[pos:pos + 4], struct.unpack("<I", data[pos + 4:pos + 8])[0]
        if cid == b"data":
            return data[pos + 8:pos + 8 + size]
        pos += 8 + size + (size & 1)
    raise AssertionError("no data chunk in " + path)


def samples16(raw):
    return struct.unpack("<%dh" % (len(raw) // 2), raw[: len(raw) // 2 * 2])


def report(path, *expectations):
    with open(path) as f:
        r = json.load(f)
    for e in expectations:
        if e.endswith("=absent"):
            key = e[: -len("=absent")]
            assert key not in r, "%s present: %r" % (key, r.get(key))
            continue
        if ">=" in e:
            key, want = e.split(">=")
            assert r[key] >= int(want), "%s = %r, expected >= %s" % (key, r[key], want)
            continue
        key, want = e.split("=", 1)
        value = r["track_info"][key] if key == "bitrate_kbps" else r[key]
        if key == "status":
            want = [[int(x) for x in pair.split(",")] for pair in want.split("/")]
        elif want in ("true", "false", "null"):
            want = json.loads(want)
        elif want.lstrip("-").isdigit():
            want = int(want)
        assert value == want, "%s = %r, expected %r" % (key, value, want)


def scaled(source, output):
    src, out = samples16(wav_data(source)), samples16(wav_data(output))
    assert len(src) == len(out), "%d samples in, %d out" % (len(src), len(out))
    for i, (s, o) in enumerate(zip(src, out)):
        want = max(-32768, min(32767, (s * 136) >> 8))
        assert o == want, "sample %d: %d became %d, expected %d" % (i, s, o, want)


def make_edges(path):
    frames = [32767, -32768, 100, -100] * 2000
    raw = struct.pack("<%dh" % len(frames), *frames)
    fmt = struct.pack("<HHIIHH", 1, 2, 44100, 176400, 4, 16)
    body = b"WAVE" + b"fmt " + struct.pack("<I", 16) + fmt + b"data" + struct.pack("<I", len(raw)) + raw
    with open(path, "wb") as f:
        f.write(b"RIFF" + struct.pack("<I", len(body)) + body)


def samples(path, expected):
    want = [int(x) for x in expected.split(",")]
    got = samples16(wav_data(path))
    assert len(got) >= len(want) and len(got) % len(want) == 0, len(got)
    for i, v in enumerate(got):
        assert v == want[i % len(want)], "sample %d: %d, expected %d" % (i, v, want[i % len(want)])


if __name__ == "__main__":
    command, args = sys.argv[1], sys.argv[2:]
    {"report": report, "scaled": scaled, "make-edges": make_edges, "samples": samples}[command](*args)
