#!/usr/bin/env python3
"""Synthesises the demo piece "Harbour Lights" (about ten seconds, written for
QuoviraPlayer) and writes it as 16-bit stereo WAV at 44.1 kHz.

A slow pad on C - G - Am - F, a plucked melody above it, a soft bass and a
light pulse; everything from sine partials and a fixed-seed noise, so the same
script always gives the same samples.

usage: compose.py OUT.wav
"""

import sys
import wave

import numpy as np

RATE = 44100
BPM = 96
BEAT = 60.0 / BPM
BARS = 4
LENGTH = BARS * 4 * BEAT + 1.2  # a short tail after the last bar


def midi(n):
    return 440.0 * 2 ** ((n - 69) / 12.0)


def envelope(n, attack, release):
    env = np.ones(n)
    a, r = int(attack * RATE), int(release * RATE)
    if a:
        env[:a] = np.linspace(0, 1, a)
    if r:
        env[-r:] *= np.linspace(1, 0, r)
    return env


def tone(freq, seconds, partials=((1, 1.0),), decay=0.0, attack=0.01, release=0.05, vibrato=0.0):
    n = int(seconds * RATE)
    t = np.arange(n) / RATE
    phase = 2 * np.pi * freq * t
    if vibrato:
        phase += vibrato * np.sin(2 * np.pi * 5.2 * t)
    out = sum(amp * np.sin(k * phase) for k, amp in partials)
    if decay:
        out *= np.exp(-t * decay)
    return out * envelope(n, attack, release)


def place(track, sound, start, pan=0.0, gain=1.0):
    i = int(start * RATE)
    j = min(len(track), i + len(sound))
    left, right = np.sqrt(0.5 * (1 - pan)), np.sqrt(0.5 * (1 + pan))
    track[i:j, 0] += sound[: j - i] * gain * left
    track[i:j, 1] += sound[: j - i] * gain * right


def compose():
    track = np.zeros((int(LENGTH * RATE), 2))
    chords = [(48, [60, 64, 67, 72]), (43, [59, 62, 67, 71]), (45, [60, 64, 69, 72]), (41, [60, 65, 69, 72])]
    pad = ((1, 1.0), (2, 0.35), (3, 0.12))
    for bar, (root, notes) in enumerate(chords):
        start = bar * 4 * BEAT
        for k, n in enumerate(notes):
            place(track, tone(midi(n), 4 * BEAT + 0.4, pad, attack=0.35, release=0.6, vibrato=0.002),
                  start, pan=-0.5 + k / 3.0, gain=0.055)
        for beat in range(4):
            bass = tone(midi(root - 12 + (7 if beat == 2 else 0)), BEAT * 0.9, ((1, 1.0), (2, 0.25)), decay=2.2,
                        attack=0.005, release=0.08)
            place(track, bass, start + beat * BEAT, gain=0.22)
    # The melody: a plucked voice, two notes per beat with rests.
    melody = [76, None, 79, 77, 76, 74, 72, None,
              74, None, 71, 74, 79, 77, 74, None,
              72, None, 76, 79, 81, 79, 76, 72,
              77, 76, 74, 72, 69, 72, None, None]
    pluck = ((1, 1.0), (2, 0.5), (3, 0.28), (4, 0.14), (5, 0.06))
    for i, n in enumerate(melody):
        if n is None:
            continue
        place(track, tone(midi(n), BEAT * 1.4, pluck, decay=3.2, attack=0.003, release=0.2), i * BEAT / 2,
              pan=0.25, gain=0.16)
        # a quiet echo on the other side
        place(track, tone(midi(n), BEAT * 1.4, pluck, decay=3.2, attack=0.003, release=0.2),
              i * BEAT / 2 + 0.75 * BEAT, pan=-0.45, gain=0.05)
    # A light pulse: filtered noise on the off-beats.
    rng = np.random.default_rng(20261211)
    hat = rng.standard_normal(int(0.05 * RATE))
    hat = np.diff(hat, prepend=0) * np.exp(-np.arange(len(hat)) / (0.012 * RATE))
    for i in range(BARS * 4):
        place(track, hat, (i + 0.5) * BEAT, pan=0.1, gain=0.05)
    # Gentle fade at both ends, then normalise to -3 dBFS.
    fade = int(0.02 * RATE)
    track[:fade] *= np.linspace(0, 1, fade)[:, None]
    tail = int(1.5 * RATE)
    track[-tail:] *= np.linspace(1, 0, tail)[:, None] ** 2
    track *= 0.708 / np.max(np.abs(track))
    return np.round(track * 32767).astype("<i2")


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    samples = compose()
    with wave.open(sys.argv[1], "wb") as w:
        w.setnchannels(2)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(samples.tobytes())


if __name__ == "__main__":
    main()
