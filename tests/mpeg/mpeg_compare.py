#!/usr/bin/env python3
"""Compares a decode with a reference decode of the same MPEG file.

The two may start at different points (libmad keeps the encoder delay that a
LAME header declares and the LAME header frame itself; ffmpeg trims them), so
the output is first aligned to the reference by cross-correlation, then
compared by signal-to-noise ratio.

usage:
  mpeg_compare.py snr OUTPUT.wav REFERENCE.wav MIN_DB MAX_FRAME_DIFF
      the aligned output matches the reference with at least MIN_DB and its
      length, less the alignment, is within MAX_FRAME_DIFF frames of it
  mpeg_compare.py offset PART.wav WHOLE.wav EXPECTED TOLERANCE
      PART (a decode after a seek) starts EXPECTED +- TOLERANCE frames into
      WHOLE (a decode from the start)
Prints one JSON line with what it measured."""
import json
import struct
import sys

import numpy as np


def read_wav(path):
    with open(path, "rb") as f:
        data = f.read()
    assert data[:4] == b"RIFF" and data[8:12] == b"WAVE", path
    pos, channels, pcm = 12, None, None
    while pos + 8 <= len(data):
        cid, size = data[pos:pos + 4], struct.unpack("<I", data[pos + 4:pos + 8])[0]
        body = data[pos + 8:pos + 8 + size]
        if cid == b"fmt ":
            channels = struct.unpack("<H", body[2:4])[0]
            assert struct.unpack("<H", body[14:16])[0] == 16, path + ": not 16-bit"
        elif cid == b"data":
            pcm = body
        pos += 8 + size + (size & 1)
    assert channels and pcm is not None, path
    samples = np.frombuffer(pcm[: len(pcm) // (2 * channels) * 2 * channels], dtype="<i2")
    return samples.reshape(-1, channels).astype(np.float64)


def lead_of(part, whole, limit):
    """The shift d (0 <= d <= limit) at which part best matches whole[d:],
    by cross-correlation (FFT) of the first channel over up to 8 s."""
    a = part[: min(len(part), 8 * 44100), 0]
    b = whole[: min(len(whole), len(a) + limit), 0]
    size = 1
    while size < len(a) + len(b):
        size *= 2
    corr = np.fft.irfft(np.fft.rfft(b, size) * np.conj(np.fft.rfft(a, size)), size)
    # corr[d] = sum a[i] b[i + d]
    return int(np.argmax(corr[: limit + 1]))


def snr(output_path, reference_path, min_db, max_frames):
    out, ref = read_wav(output_path), read_wav(reference_path)
    assert out.shape[1] == ref.shape[1], "channels differ"
    # The output carries extra leading samples: ref[i] ~ out[i + lead].
    lead = lead_of(ref, out, 8192)
    aligned = out[lead:]
    n = min(len(aligned), len(ref))
    noise = aligned[:n] - ref[:n]
    signal_power = np.sum(ref[:n] ** 2)
    noise_power = np.sum(noise ** 2)
    db = 10 * np.log10(signal_power / noise_power) if noise_power > 0 else float("inf")
    length_diff = len(aligned) - len(ref)
    result = {"lead": lead, "snr_db": round(float(db), 2), "length_diff": int(length_diff),
              "output_frames": len(out), "reference_frames": len(ref)}
    print(json.dumps(result))
    assert db >= float(min_db), "SNR %.2f dB below %s" % (db, min_db)
    assert abs(length_diff) <= int(max_frames), "length differs by %d frames" % length_diff


def offset(part_path, whole_path, expected, tolerance):
    part, whole = read_wav(part_path), read_wav(whole_path)
    expected, tolerance = int(expected), int(tolerance)
    lo = max(0, expected - 4 * tolerance)
    window = whole[lo: expected + 4 * tolerance + len(part)]
    shift = lead_of(part, window, min(len(window) - 1, 8 * tolerance)) + lo
    result = {"start": shift, "expected": expected, "difference": shift - expected}
    print(json.dumps(result))
    assert abs(shift - expected) <= tolerance, "starts at %d, expected %d +- %d" % (shift, expected, tolerance)


if __name__ == "__main__":
    command, args = sys.argv[1], sys.argv[2:]
    {"snr": snr, "offset": offset}[command](*args)
