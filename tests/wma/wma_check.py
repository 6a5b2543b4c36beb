"""Checks for qvrender_wma_test.sh: report fields and tags, the level and
spectrum of the played samples against ffmpeg's decode (signal-to-noise ratio
after alignment), and where the samples start after a seek."""
import json
import os
import struct
import sys

import numpy as np

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "engine"))
from qvrender_check import report  # noqa: E402


def wav(path):
    """(channels, rate, samples as a frames x channels float array)."""
    with open(path, "rb") as f:
        data = f.read()
    pos, channels, rate = 12, 0, 0
    while pos + 8 <= len(data):
        cid, size = data[pos:pos + 4], struct.unpack("<I", data[pos + 4:pos + 8])[0]
        if cid == b"fmt ":
            _, channels, rate = struct.unpack("<HHI", data[pos + 8:pos + 16])
        elif cid == b"data":
            raw = np.frombuffer(data[pos + 8:pos + 8 + size - size % (2 * channels)], dtype="<i2")
            return channels, rate, raw.reshape(-1, channels).astype(np.float64)
        pos += 8 + size + (size & 1)
    raise AssertionError("no data chunk in " + path)


def lag_of(part, whole):
    """Where `part` (mono) lies in `whole` (mono): the lag of the largest
    cross-correlation, by FFT."""
    n = 1
    while n < len(whole) + len(part):
        n *= 2
    corr = np.fft.irfft(np.fft.rfft(whole, n) * np.conj(np.fft.rfft(part, n)), n)
    return int(np.argmax(corr[: len(whole) - len(part) + 1]))


def snr_db(want, got):
    """SNR of `got` against `want` scaled by the least-squares gain (the
    engine's headroom gain), and that gain."""
    gain = float(np.dot(want.ravel(), got.ravel()) / np.dot(want.ravel(), want.ravel()))
    noise = got - gain * want
    return 10 * np.log10(np.sum((gain * want) ** 2) / max(np.sum(noise ** 2), 1e-9)), gain


def snr(out_path, ref_path, min_db):
    """The whole output against the whole reference, aligned."""
    ch, rate, out = wav(out_path)
    rch, rrate, ref = wav(ref_path)
    assert (ch, rate) == (rch, rrate), "format %r, reference %r" % ((ch, rate), (rch, rrate))
    probe = out[: min(len(out), 8 * 4096), 0]
    lag = lag_of(probe, np.concatenate([ref[:, 0], np.zeros(len(probe))]))
    n = min(len(out), len(ref) - lag)
    value, gain = snr_db(ref[lag:lag + n], out[:n])
    print("%s: SNR %.1f dB against ffmpeg's decode, lag %d, gain %.4f, %d of %d frames" %
          (os.path.basename(out_path), value, lag, gain, n, len(ref)))
    assert lag == 0, "the output is shifted by %d frames" % lag
    assert n == len(ref) == len(out), "%d frames out, ffmpeg's decode has %d" % (len(out), len(ref))
    assert value >= float(min_db), "SNR %.1f dB below %s dB" % (value, min_db)


def first_object_ms(asf_path, packet):
    """The presentation time (ms, less the preroll) of the first audio media
    object that starts in `packet` or later: ffmpeg's files, a single stream,
    replicated data holding the object size and time."""
    with open(asf_path, "rb") as f:
        d = f.read()
    header_size = struct.unpack_from("<Q", d, 16)[0]
    pos, preroll, packet_size = 30, 0, 0
    while pos < header_size:
        size = struct.unpack_from("<Q", d, pos + 16)[0]
        if d[pos:pos + 16].hex() == "a1dcab8c47a9cf118ee400c00c205365":
            preroll = struct.unpack_from("<Q", d, pos + 80)[0]
            packet_size = struct.unpack_from("<I", d, pos + 96)[0]
        pos += size
    sizes = [0, 1, 2, 4]
    first_packet = header_size + 50
    while True:
        at = first_packet + packet * packet_size
        assert at < len(d), "no media object starts after the packet"
        if d[at] & 0x80:
            at += 1 + (d[at] & 0x0F)
        length_flags, property_flags = d[at], d[at + 1]
        at += 2 + sizes[(length_flags >> 5) & 3] + sizes[(length_flags >> 1) & 3] + sizes[(length_flags >> 3) & 3] + 6
        count, length_type = 1, 0
        if length_flags & 1:
            count, length_type = d[at] & 0x3F, d[at] >> 6
            at += 1
        for _ in range(count):
            at += 1 + sizes[(property_flags >> 4) & 3]
            offset_bytes = sizes[(property_flags >> 2) & 3]
            offset = int.from_bytes(d[at:at + offset_bytes], "little")
            at += offset_bytes
            rep_bytes = sizes[property_flags & 3]
            replicated = int.from_bytes(d[at:at + rep_bytes], "little")
            at += rep_bytes
            if offset == 0:
                return struct.unpack_from("<I", d, at + 4)[0] - preroll
            at += replicated
            if length_flags & 1:
                at += sizes[length_type] + int.from_bytes(d[at:at + sizes[length_type]], "little")
        packet += 1


def seek_start(out_path, ref_path, asf_path, packet, min_db):
    """The output after a seek starts at the first media object of `packet`
    in ffmpeg's decode and matches it from its second frame of 2048 on (the
    first after a jump lacks its overlap)."""
    _, rate, out = wav(out_path)
    _, _, ref = wav(ref_path)
    want_ms = first_object_ms(asf_path, int(packet))
    lag = lag_of(out[2048:2048 + 8 * 4096, 0], ref[:, 0]) - 2048
    n = min(len(out), len(ref) - lag) - 2048
    value, _ = snr_db(ref[lag + 2048:lag + 2048 + n], out[2048:2048 + n])
    print("seek: output starts at frame %d (%.1f ms); packet %s's first media object at %d ms; SNR %.1f dB" %
          (lag, lag * 1000.0 / rate, packet, want_ms, value))
    assert lag == want_ms * rate // 1000, "starts at %d, expected %d" % (lag, want_ms * rate // 1000)
    assert value >= float(min_db), "SNR %.1f dB below %s dB" % (value, min_db)


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


if __name__ == "__main__":
    commands = {"report": report, "snr": snr, "seek-start": seek_start, "tags": tags}
    commands[sys.argv[1]](*sys.argv[2:])
