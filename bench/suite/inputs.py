"""The benchmark inputs: one composed piece (compose_long.py) encoded in
every format the player decodes, with Debian's encoders as the fixtures use
them, cached until the composer, these settings or the length change."""

import hashlib
import os
import shutil
import subprocess
import sys

from runs import ROOT

HERE = os.path.dirname(os.path.abspath(__file__))
COMPOSER = os.path.join(HERE, "compose_long.py")
JMAC = "/usr/share/java/jmac.jar"

# format: (file name, encoder command with {src} and {dst}, what it is)
ENCODINGS = {
    "wav": ("music.wav", None, "16-bit PCM, 44.1 kHz stereo"),
    "mp3": ("music.mp3", ["lame", "--quiet", "--noreplaygain", "-b", "192", "{src}", "{dst}"],
            "MPEG-1 layer III, 192 kbit/s CBR (lame)"),
    "ogg": ("music.ogg", ["oggenc", "--quiet", "-q", "5", "-o", "{dst}", "{src}"], "Ogg Vorbis, quality 5 (oggenc)"),
    "flac": ("music.flac", ["flac", "--silent", "--force", "-5", "-o", "{dst}", "{src}"], "FLAC, level 5 (flac)"),
    "ape": ("music.ape", ["java", "-jar", JMAC, "c2", "{src}", "{dst}"], "Monkey's Audio, level 2 (jmac c2)"),
    "wma": ("music.wma", ["ffmpeg", "-nostdin", "-loglevel", "error", "-y", "-i", "{src}", "-c:a", "wmav2", "-b:a",
                          "192k", "{dst}"], "WMA version 2, 192 kbit/s (ffmpeg wmav2)"),
}
FORMATS = list(ENCODINGS)


def numpy_python():
    """An interpreter that has numpy: this one, or the system's (Debian's python3-numpy)."""
    for candidate in (sys.executable, "/usr/bin/python3"):
        if candidate and subprocess.run([candidate, "-c", "import numpy"], capture_output=True).returncode == 0:
            return candidate
    raise SystemExit("bench: composing the inputs needs Python 3 with numpy (python3-numpy); run scripts/setup")


def _stamp(seconds, formats):
    h = hashlib.sha256()
    for path in (COMPOSER, os.path.abspath(__file__)):
        with open(path, "rb") as f:
            h.update(f.read())
    h.update(f"{seconds}:{','.join(formats)}".encode())
    return h.hexdigest()


def _encode(fmt, wav, folder):
    name, command, _ = ENCODINGS[fmt]
    dst = os.path.join(folder, name)
    if command is None:
        shutil.copyfile(wav, dst)
    else:
        argv = [a.format(src=wav, dst=dst) for a in command]
        done = subprocess.run(argv, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
        if done.returncode != 0 or not os.path.exists(dst) or os.path.getsize(dst) == 0:
            raise SystemExit(f"bench: encoding the {fmt} input failed: {done.stderr.strip()[-300:]}")
    return dst


def prepare(cache_root, seconds, formats=FORMATS, tag="music"):
    """The inputs of `seconds` seconds: {format: path}, made once and cached."""
    folder = os.path.join(cache_root, f"{tag}-{seconds:g}s")
    stamp_file = os.path.join(folder, ".stamp")
    stamp = _stamp(seconds, formats)
    paths = {fmt: os.path.join(folder, ENCODINGS[fmt][0]) for fmt in formats}
    if os.path.exists(stamp_file) and open(stamp_file).read() == stamp and all(map(os.path.exists, paths.values())):
        return paths
    print(f"bench: composing {seconds:g} s of audio and encoding it ({', '.join(formats)})", flush=True)
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    master = os.path.join(folder, "composed.wav")
    subprocess.run([numpy_python(), "-B", COMPOSER, master, f"{seconds:g}"], check=True)
    for fmt in formats:
        _encode(fmt, master, folder)
    os.remove(master)
    with open(stamp_file, "w") as f:
        f.write(stamp)
    return paths


def describe(paths):
    return {fmt: {"file": os.path.relpath(p, ROOT), "bytes": os.path.getsize(p), "encoding": ENCODINGS[fmt][2]}
            for fmt, p in paths.items()}
