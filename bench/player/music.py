"""A music-like MP3 of a given length for the player benchmark, made with
SoX (plucked chords over a bass line, a melody note on every beat, reverb)
and LAME, and kept in a cache folder: the same recipe gives the same file."""

import hashlib
import shutil
import subprocess
import tempfile
from pathlib import Path

RATE = 44100
BEAT = 0.5  # seconds: 120 beats a minute, four to a bar
# I-vi-IV-V, then ii-V-I-I: (bass, chord tones) per bar.
BARS = (("C2", ("E4", "G4", "C5")), ("A1", ("E4", "A4", "C5")), ("F2", ("F4", "A4", "C5")),
        ("G2", ("D4", "G4", "B4")), ("D2", ("F4", "A4", "D5")), ("G2", ("F4", "B4", "D5")),
        ("C2", ("E4", "G4", "C5")), ("C2", ("G4", "C5", "E5")))
MELODY = ("E5", "D5", "C5", "G4", "A4", "C5", "E5", "D5", "F5", "E5", "D5", "C5", "B4", "D5", "G5", "F5")
RECIPE = "pluck chords v1 %r %r %r 192k" % (BARS, MELODY, BEAT)


def cached_mp3(cache, seconds):
    """The MP3 of this length in the cache folder, made first if missing."""
    beats = int(round(seconds / BEAT))
    key = hashlib.sha1(("%s %d" % (RECIPE, beats)).encode()).hexdigest()[:12]
    mp3 = Path(cache) / ("music-%gs-%s.mp3" % (beats * BEAT, key))
    if mp3.exists():
        return mp3
    mp3.parent.mkdir(parents=True, exist_ok=True)
    with tempfile.TemporaryDirectory(dir=mp3.parent) as tmp:
        tmp = Path(tmp)
        parts = []
        for n in range(beats):
            bass, chord = BARS[(n // 4) % len(BARS)]
            # The chord on the first beat of a bar, an inversion on the others.
            tones = chord if n % 4 == 0 else chord[n % 3:] + chord[:n % 3]
            melody = MELODY[n % len(MELODY)]
            beat = tmp / ("beat%04d.wav" % n)
            subprocess.run(["sox", "-R", "-r", str(RATE), "-c", "5", "-n", "-b", "16", str(beat), "synth", str(BEAT),
                            "pluck", bass, "pluck", tones[0], "pluck", tones[1], "pluck", tones[2], "pluck", melody,
                            "remix", "1v0.9,2v0.5,3v0.3,5v0.6", "1v0.9,3v0.3,4v0.5,5v0.4"], check=True,
                           stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
            parts.append(str(beat))
        wav = tmp / "music.wav"
        subprocess.run(["sox", "-R", *parts, str(wav), "reverb", "40", "gain", "-n", "-1"], check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        part = tmp / "music.mp3"
        subprocess.run(["lame", "--quiet", "-b", "192", str(wav), str(part)], check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        shutil.move(str(part), str(mp3))
    return mp3
