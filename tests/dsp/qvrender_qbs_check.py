"""Files and checks for qvrender_qbs_test.sh: test WAVs, QbsParams records,
the reported spectrum and the PCM handed to the device."""
import json
import math
import struct
import sys


def write_wav(path, channels, samples):
    raw = struct.pack("<%dh" % len(samples), *samples)
    fmt = struct.pack("<HHIIHH", 1, channels, 44100, 44100 * 2 * channels, 2 * channels, 16)
    body = b"WAVE" + b"fmt " + struct.pack("<I", 16) + fmt + b"data" + struct.pack("<I", len(raw)) + raw
    with open(path, "wb") as f:
        f.write(b"RIFF" + struct.pack("<I", len(body)) + body)


def make_wav(path, kind, channels):
    channels = int(channels)
    frames = 44100
    if kind == "silence":
        samples = [0] * (frames * channels)
    else:
        samples = []
        for i in range(frames):
            for c in range(channels):
                v = 0.4 * math.sin(2 * math.pi * (220 + 50 * c) * i / 44100) + 0.2 * math.sin(
                    2 * math.pi * (2900 + 300 * c) * i / 44100)
                samples.append(int(round(32767 * v)))
    write_wav(path, channels, samples)


def make_qbs(path, *fields):
    """Ten comma-free integers: wideOn wideMode surround bass reverbOn preset feedback short long flag;
    "short" writes a record one byte short."""
    if fields == ("short",):
        data = struct.pack("<10i", *([0] * 10))[:-1]
    else:
        assert len(fields) == 10, fields
        data = struct.pack("<10i", *[int(x) for x in fields])
    with open(path, "wb") as f:
        f.write(data)


def wav_data(path):
    with open(path, "rb") as f:
        data = f.read()
    pos = 12
    while pos + 8 <= len(data):
        cid, size = data[pos:pos + 4], struct.unpack("<I", data[pos + 4:pos + 8])[0]
        if cid == b"data":
            return data[pos + 8:pos + 8 + size]
        pos += 8 + size + (size & 1)
    raise AssertionError("no data chunk in " + path)


def load(path):
    with open(path) as f:
        return json.load(f)


def spectrum(path, expected):
    r = load(path)
    want = [int(x) for x in expected.split(",")]
    assert r.get("spectrum") == want, "spectrum = %r, expected %r" % (r.get("spectrum"), want)


def played(path):
    r = load(path)
    assert r["status"] == [[3, 0], [1, 0], [0, 0]], r["status"]
    assert r["frames_out"] == 44100, r["frames_out"]
    assert "spectrum" not in r or len(r["spectrum"]) == 20, r


def no_spectrum(path):
    assert "spectrum" not in load(path)


def same(a, b):
    da, db = wav_data(a), wav_data(b)
    assert len(da) > 0 and da == db, "%s and %s differ" % (a, b)


def differ(a, b):
    da, db = wav_data(a), wav_data(b)
    assert len(da) == len(db) and da != db, "%s and %s are the same" % (a, b)


if __name__ == "__main__":
    command, args = sys.argv[1], sys.argv[2:]
    {"make-wav": make_wav, "make-qbs": make_qbs, "spectrum": spectrum, "played": played,
     "no-spectrum": no_spectrum, "same": same, "differ": differ}[command](*args)
