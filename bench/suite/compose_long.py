#!/usr/bin/env python3
"""Synthesises a long piece of music-like audio for the benchmarks and writes
it as 16-bit stereo WAV at 44.1 kHz.

Sections of 8 bars (quiet pad, verse, chorus, break) over a chord cycle, with
bass, drums and a lead whose notes come from a fixed-seed random walk over a
pentatonic scale: full-band, changing loudness and stereo image, so that the
decoders and the dynamics have real work. The same arguments always give the
same samples.

usage: compose_long.py OUT.wav SECONDS
"""

import sys
import wave

import numpy as np

RATE = 44100
BPM = 104
BEAT = 60.0 / BPM
BAR = 4 * BEAT
CHORDS = [(45, [57, 60, 64, 69]), (41, [57, 60, 65, 69]), (48, [55, 60, 64, 67]), (43, [55, 59, 62, 67]),
          (38, [57, 62, 65, 69]), (41, [57, 60, 65, 72]), (40, [56, 59, 64, 68]), (45, [57, 61, 64, 69])]
SCALE = [57, 60, 62, 64, 67, 69, 72, 74, 76, 79, 81]
# Per section: pad, bass, drums, lead gains.
SECTIONS = [(1.0, 0.0, 0.0, 0.0), (0.8, 1.0, 0.7, 0.6), (1.0, 1.2, 1.0, 1.0), (0.6, 0.5, 0.3, 0.4)]

_cache = {}


def midi(n):
    return 440.0 * 2 ** ((n - 69) / 12.0)


def tone(note, seconds, partials, decay, attack, release):
    """One note as float32, cached: a piece repeats its notes."""
    key = (note, round(seconds, 4), partials, decay, attack, release)
    if key not in _cache:
        n = int(seconds * RATE)
        t = np.arange(n) / RATE
        phase = 2 * np.pi * midi(note) * t + 0.003 * np.sin(2 * np.pi * 5.1 * t)
        out = sum(amp * np.sin(k * phase) for k, amp in partials)
        if decay:
            out = out * np.exp(-t * decay)
        env = np.ones(n)
        a, r = max(1, int(attack * RATE)), max(1, int(release * RATE))
        env[:a] = np.linspace(0, 1, a)
        env[-r:] *= np.linspace(1, 0, r)
        _cache[key] = (out * env).astype(np.float32)
    return _cache[key]


def place(track, sound, start, pan, gain):
    i = int(start * RATE)
    j = min(len(track), i + len(sound))
    if j <= i:
        return
    track[i:j, 0] += sound[: j - i] * (gain * np.sqrt(0.5 * (1 - pan)))
    track[i:j, 1] += sound[: j - i] * (gain * np.sqrt(0.5 * (1 + pan)))


def drums(rng):
    n = int(0.35 * RATE)
    t = np.arange(n) / RATE
    kick = np.sin(2 * np.pi * (45 * t + 60 * (1 - np.exp(-t * 30)) / 30)) * np.exp(-t * 9)
    noise = rng.standard_normal(n)
    snare = (0.6 * np.diff(noise, prepend=0) + 0.5 * np.sin(2 * np.pi * 185 * t)) * np.exp(-t * 16)
    hat = np.diff(np.diff(noise[: n // 4], prepend=0), prepend=0) * np.exp(-np.arange(n // 4) / (0.01 * RATE))
    return kick.astype(np.float32), snare.astype(np.float32), (0.3 * hat).astype(np.float32)


def air(rng):
    """A bar of soft, bright noise (the room and the cymbals' wash), for the top octaves."""
    n = int(BAR * RATE)
    white = rng.standard_normal((n, 2))
    bright = white - 0.6 * np.roll(white, 1, axis=0)
    swell = 0.6 + 0.4 * np.sin(np.pi * np.arange(n) / n)
    return (bright * swell[:, None]).astype(np.float32)


def compose(seconds):
    rng = np.random.default_rng(20260314)
    track = np.zeros((int(seconds * RATE) + RATE, 2), dtype=np.float32)
    kick, snare, hat = drums(rng)
    wash = air(rng)
    pad = ((1, 1.0), (2, 0.4), (3, 0.15), (5, 0.05))
    pluck = ((1, 1.0), (2, 0.55), (3, 0.3), (4, 0.15), (6, 0.05))
    lead_at = 4
    bars = int(seconds / BAR) + 1
    for bar in range(bars):
        pad_g, bass_g, drum_g, lead_g = SECTIONS[(bar // 8) % len(SECTIONS)]
        root, notes = CHORDS[bar % len(CHORDS)]
        start = bar * BAR
        i = int(start * RATE)
        j = min(len(track), i + len(wash))
        track[i:j] += wash[: j - i] * (0.004 + 0.006 * drum_g)
        for k, n in enumerate(notes):
            place(track, tone(n, BAR + 0.5, pad, 0.0, 0.3, 0.6), start, -0.6 + 0.4 * k, 0.05 * pad_g)
        for beat in range(4):
            at = start + beat * BEAT
            if bass_g:
                step = 7 if beat == 2 else (12 if beat == 3 and bar % 2 else 0)
                place(track, tone(root - 12 + step, BEAT * 0.95, ((1, 1.0), (2, 0.3), (3, 0.1)), 2.0, 0.004, 0.06),
                      at, 0.0, 0.25 * bass_g)
            if drum_g:
                place(track, kick if beat % 2 == 0 else snare, at, 0.0 if beat % 2 == 0 else 0.15, 0.3 * drum_g)
                place(track, hat, at + BEAT / 2, 0.35, 0.25 * drum_g)
                place(track, hat, at, 0.35, 0.12 * drum_g)
            if lead_g:
                for half in range(2):
                    if rng.random() < 0.3:
                        continue
                    lead_at = int(np.clip(lead_at + rng.integers(-2, 3), 0, len(SCALE) - 1))
                    place(track, tone(SCALE[lead_at], BEAT * 1.5, pluck, 3.0, 0.003, 0.2), at + half * BEAT / 2,
                          0.3 * np.sin(bar * 0.7), 0.14 * lead_g)
    track = track[: int(seconds * RATE)]
    fade = int(0.05 * RATE)
    track[:fade] *= np.linspace(0, 1, fade, dtype=np.float32)[:, None]
    track[-fade:] *= np.linspace(1, 0, fade, dtype=np.float32)[:, None]
    track *= 0.89 / np.max(np.abs(track))  # -1 dBFS peak
    return np.round(track * 32767).astype("<i2")


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    samples = compose(float(sys.argv[2]))
    with wave.open(sys.argv[1], "wb") as w:
        w.setnchannels(2)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(samples.tobytes())


if __name__ == "__main__":
    main()
