"""Runs QuoviraPlayer under wine as an installation would, and drives it.

Shared by the end-to-end tests (tests/e2e) and `make play` (scripts/play).
Each WineRoot is a private wine prefix with its own HOME, its own audio
capture file and its own wineserver, so several can run side by side.

A prefix is made once as a template (wineboot) and copied for every root:
the large system folder is hard-linked (wine only reads it), the rest copied.
"""

import os
import shutil
import subprocess
import tempfile
import threading
import time
from pathlib import Path

INSTALL_DIR_WIN = "C:\\Program Files\\QuoviraPlayer\\"
APP_PATHS_KEY = "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\QuoviraPlayer.exe"
OPTIONS_KEY = "HKEY_CURRENT_USER\\Software\\HALVORN\\QuoviraPlayer\\MP3"


class WineError(RuntimeError):
    pass


def start_xvfb():
    """A virtual display of our own: (process, DISPLAY)."""
    read, write = os.pipe()
    proc = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
                            pass_fds=(write,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write)
    number = b""
    while not number.endswith(b"\n"):
        chunk = os.read(read, 16)
        if not chunk:
            break
        number += chunk
    os.close(read)
    if not number.strip():
        proc.kill()
        raise WineError("Xvfb did not start")
    return proc, ":" + number.decode().strip()


def wine_env(root, display=None, own_home=True):
    """The environment of a wine process in the root's prefix. With own_home
    the prefix also gets a HOME of its own (and with it the audio capture);
    without, wine plays through the user's own sound set-up."""
    env = dict(os.environ)
    root = Path(root)
    env.update({
        "WINEPREFIX": str(root / "prefix"),
        "WINEARCH": "win32",
        "WINEDEBUG": os.environ.get("QV_WINEDEBUG", "-all"),
        "WINEDLLOVERRIDES": "winemenubuilder.exe=d;mscoree=d;mshtml=d",
    })
    if own_home:
        env.update({"HOME": str(root / "home"), "XDG_RUNTIME_DIR": str(root / "run")})
    if display:
        env["DISPLAY"] = display
    return env


def write_asoundrc(home, device):
    """Wine's wave-out goes to ALSA's default device; here that is a file
    plugin writing raw samples to `device` (a FIFO the capture reads)."""
    home.mkdir(parents=True, exist_ok=True)
    (home / ".asoundrc").write_text(
        'pcm.!default {\n  type file\n  slave.pcm "null"\n  file "%s"\n  format "raw"\n}\n' % device)


class AudioCapture:
    """Reads what wine's audio device writes into a FIFO and appends it to the
    capture file, in order, across every opening of the device (each track
    may close and reopen it, and the file plugin would truncate a plain file
    each time).

    The null device behind the file plugin takes samples as fast as wine
    hands them over, so playback runs faster than real time (about four
    times); the samples are the same."""

    def __init__(self, fifo, capture):
        self.fifo, self.capture = Path(fifo), Path(capture)
        self._stop = threading.Event()
        self._thread = None

    def start(self):
        if self.fifo.exists():
            self.fifo.unlink()
        os.mkfifo(self.fifo, 0o600)
        self.capture.write_bytes(b"")
        self._thread = threading.Thread(target=self._run, name="audio-capture", daemon=True)
        self._thread.start()
        return self

    def _run(self):
        with open(self.capture, "ab", buffering=0) as out:
            while not self._stop.is_set():
                try:
                    fd = os.open(self.fifo, os.O_RDONLY)  # waits for the device to open
                except OSError:
                    return
                try:
                    while True:
                        chunk = os.read(fd, 16384)
                        if not chunk:
                            break
                        out.write(chunk)
                finally:
                    os.close(fd)

    def stop(self):
        if not self._thread:
            return
        self._stop.set()
        # Wake a reader that waits for a writer.
        try:
            fd = os.open(self.fifo, os.O_WRONLY | os.O_NONBLOCK)
            os.close(fd)
        except OSError:
            pass
        self._thread.join(timeout=5)
        self._thread = None


class WineRoot:
    """A private wine prefix with HOME, audio capture and wineserver."""

    def __init__(self, root, display, template=None, captured=True):
        """captured False: the user's own HOME and sound, windows managed by
        the user's window manager (an ordinary desktop)."""
        self.root = Path(root).resolve()
        self.display = display
        self.template = Path(template).resolve() if template else None
        self.captured = captured
        self.capture = self.root / "capture.raw"
        self.env = wine_env(self.root, display, own_home=captured)
        self.audio = AudioCapture(self.root / "audio.fifo", self.capture) if captured else None

    # ------------------------------------------------------------ prefix
    def create(self):
        for sub in ("home", "run", "logs"):
            (self.root / sub).mkdir(parents=True, exist_ok=True)
        os.chmod(self.root / "run", 0o700)
        if self.captured:
            write_asoundrc(self.root / "home", self.root / "audio.fifo")
        prefix = self.root / "prefix"
        if (prefix / "system.reg").exists():
            return self
        if self.template:
            copy_prefix(self.template / "prefix", prefix)
        else:
            self.run(["wineboot", "--init"], timeout=300)
            self.run(["reg", "add", "HKCU\\Software\\Wine\\WineDbg", "/v", "ShowCrashDialog", "/t", "REG_DWORD",
                      "/d", "0", "/f"], timeout=120)
            if self.captured:
                # No window manager runs on the virtual display: wine would
                # wait for one (two seconds at every hide) unless it manages
                # the windows itself.
                self.run(["reg", "add", "HKCU\\Software\\Wine\\X11 Driver", "/v", "Managed", "/t", "REG_SZ", "/d",
                          "N", "/f"], timeout=120)
            self.wait_server()
        return self

    def winpath(self, path):
        """A Unix path as the Windows side sees it (Z: is /)."""
        return "Z:" + str(Path(path).resolve()).replace("/", "\\")

    def drive_c(self):
        return self.root / "prefix" / "drive_c"

    # ------------------------------------------------------------ processes
    def _log(self, name):
        return open(self.root / "logs" / name, "ab")

    def run(self, args, timeout=120, check=True):
        """Runs a wine command to its end; output through files, so wine's
        helper processes never hold a pipe of ours."""
        with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
            proc = subprocess.Popen(["wine"] + list(args), stdin=subprocess.DEVNULL, stdout=out, stderr=err,
                                    env=self.env, cwd=self.root)
            try:
                rc = proc.wait(timeout=timeout)
            except subprocess.TimeoutExpired:
                proc.kill()
                proc.wait()
                raise WineError("timed out: %s" % " ".join(args))
            out.seek(0)
            err.seek(0)
            stdout, stderr = out.read().decode("utf-8", "replace"), err.read().decode("utf-8", "replace")
        if check and rc != 0:
            raise WineError("%s exited with %d: %s" % (" ".join(args), rc, stderr.strip()[-2000:]))
        return rc, stdout, stderr

    def start(self, args, log="program"):
        """Starts a wine program and returns its process (output to a log)."""
        logfile = self._log(log + ".log")
        proc = subprocess.Popen(["wine"] + list(args), stdin=subprocess.DEVNULL, stdout=logfile, stderr=logfile,
                                env=self.env, cwd=self.root)
        logfile.close()
        return proc

    def start_server(self):
        """A persistent wineserver for this prefix (later wine starts are
        quick), and the audio capture."""
        if self.audio:
            self.audio.start()
        subprocess.run(["wineserver", "-p"], env=self.env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, check=False)

    def wait_server(self, timeout=120):
        try:
            subprocess.run(["wineserver", "-w"], env=self.env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL, timeout=timeout, check=False)
        except subprocess.TimeoutExpired:
            pass

    def kill_server(self):
        """Ends this prefix's wineserver and every process of the prefix, and
        the audio capture."""
        subprocess.run(["wineserver", "-k"], env=self.env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, check=False)
        if self.audio:
            self.audio.stop()

    def import_reg(self, text):
        """Imports registry text (the body of a .reg file, without its header)."""
        path = self.root / ("seed-%d.reg" % time.monotonic_ns())
        path.write_text("Windows Registry Editor Version 5.00\r\n\r\n" + text, encoding="utf-16")
        try:
            self.run(["regedit", "/S", self.winpath(path)])
        finally:
            path.unlink()

    def query_reg(self, key):
        """The values of a key as {name: (type, text)}; {} when it is missing."""
        rc, out, _ = self.run(["reg", "query", key], check=False)
        values = {}
        if rc != 0:
            return values
        for line in out.replace("\r", "").splitlines():
            parts = line.strip().split(None, 2)
            if len(parts) >= 2 and parts[1].startswith("REG_"):
                values[parts[0]] = (parts[1], parts[2] if len(parts) > 2 else "")
        return values


def copy_prefix(src, dst):
    """A prefix copy: the system folder hard-linked, everything else copied."""
    src, dst = Path(src), Path(dst)
    shared = src / "drive_c" / "windows" / "system32"
    for dirpath, dirnames, filenames in os.walk(src, followlinks=False):
        here = Path(dirpath)
        rel = here.relative_to(src)
        (dst / rel).mkdir(parents=True, exist_ok=True)
        link = here == shared or shared in here.parents
        for name in list(dirnames):
            s = here / name
            if s.is_symlink():
                os.symlink(os.readlink(s), dst / rel / name)
                dirnames.remove(name)
        for name in filenames:
            s, d = here / name, dst / rel / name
            if s.is_symlink():
                os.symlink(os.readlink(s), d)
            elif link:
                os.link(s, d)
            else:
                shutil.copy2(s, d)


def reg_string(text):
    return '"%s"' % text.replace("\\", "\\\\").replace('"', '\\"')


class Installation:
    """The player installed into a prefix as the installer would leave it:
    the program, skinlib.dll and "skin.ini" with its pictures in one folder,
    and the per-machine application-path entry naming that folder."""

    def __init__(self, wine, bin_dir, art_dir):
        self.wine = wine
        self.bin_dir = Path(bin_dir)
        self.art_dir = Path(art_dir)
        self.folder = wine.drive_c() / "Program Files" / "QuoviraPlayer"

    def install(self, with_skin_ini=True, register=True):
        self.folder.mkdir(parents=True, exist_ok=True)
        for name in ("QuoviraPlayer.exe", "skinlib.dll"):
            shutil.copy2(self.bin_dir / name, self.folder / name)
        for item in (self.art_dir / "install").iterdir():
            if item.name == "skin.ini" and not with_skin_ini:
                continue
            shutil.copy2(item, self.folder / item.name)
        if register:
            self.wine.import_reg("[%s]\r\n@=%s\r\n\"Path\"=%s\r\n" % (
                APP_PATHS_KEY, reg_string(INSTALL_DIR_WIN + "QuoviraPlayer.exe"), reg_string(INSTALL_DIR_WIN)))
        return self

    @property
    def exe(self):
        return INSTALL_DIR_WIN + "QuoviraPlayer.exe"

    @property
    def default_playlist(self):
        return self.folder / "QuoviraPlayer.m3u"


class Player:
    """The installed player and the driver tool beside it."""

    def __init__(self, wine, installation):
        self.wine = wine
        self.inst = installation
        self.proc = None

    def start(self, *args, log="player"):
        self.proc = self.wine.start([self.inst.exe] + [str(a) for a in args], log=log)
        return self.proc

    def start_second(self, *args):
        """Another start while one runs; returns its exit code."""
        proc = self.wine.start([self.inst.exe] + [str(a) for a in args], log="second")
        return proc.wait(timeout=60)

    def driver(self, *args, timeout=60, check=True):
        """qvdriver with the given arguments; its output."""
        tool = self.wine.winpath(self.inst.bin_dir / "qvdriver.exe")
        rc, out, err = self.wine.run([tool] + [str(a) for a in args], timeout=timeout, check=False)
        if check and rc != 0:
            raise WineError("qvdriver %s: %d %s" % (" ".join(map(str, args)), rc, err.strip()))
        return out

    def state(self):
        out = self.driver("state")
        state = {}
        for line in out.splitlines():
            if "=" in line:
                key, value = line.split("=", 1)
                state[key] = value
        return state

    def wait_state(self, predicate, timeout=30, interval=0.3, what="state"):
        """Polls the state until predicate(state) holds, once start-up is
        over; returns that state."""
        deadline = time.monotonic() + timeout
        last = None
        while time.monotonic() < deadline:
            try:
                last = self.state()
                if last.get("started") == "1" and predicate(last):
                    return last
            except WineError:
                pass
            time.sleep(interval)
        raise AssertionError("timed out waiting for %s; last state: %r" % (what, last))

    def wait_window(self, timeout=60):
        """Waits until the window is up and answers; returns its state."""
        self.driver("--timeout", int(timeout * 1000), "find", timeout=timeout + 30)
        return self.wait_state(lambda s: s.get("started") == "1", timeout=timeout, what="the start-up's end")

    def close(self, timeout=60):
        """Closes the window as the user would and waits for the process."""
        self.driver("command", 40004)
        return self.proc.wait(timeout=timeout)


def entries(state):
    return [state["entry.%d" % i] for i in range(int(state.get("count", "0")))]


def read_capture(path):
    """The captured audio as 16-bit stereo frames (numpy array, int16 x 2)."""
    import numpy as np
    data = Path(path).read_bytes() if Path(path).exists() else b""
    data = data[: len(data) // 4 * 4]
    return np.frombuffer(data, dtype="<i2").reshape(-1, 2)


def write_wav(path, frames, rate=44100):
    """16-bit stereo frames to a WAV file."""
    import wave
    with wave.open(str(path), "wb") as w:
        w.setnchannels(2)
        w.setsampwidth(2)
        w.setframerate(rate)
        w.writeframes(frames.astype("<i2").tobytes())


def find_piece(capture, reference, min_correlation=0.8, rate=44100):
    """Where the reference (frames) plays in the capture (frames): a list of
    (start in seconds, normalised correlation), best first, each at least
    min_correlation. Works on the mono mix; tolerant of a small gain change."""
    import numpy as np
    c = capture.astype(np.float64).mean(axis=1)
    r = reference.astype(np.float64).mean(axis=1)
    n = len(r)
    if len(c) < n // 2 or n == 0:
        return []
    if len(c) < n:
        c = np.concatenate([c, np.zeros(n - len(c))])
    size = 1 << int(np.ceil(np.log2(len(c) + n)))
    corr = np.fft.irfft(np.fft.rfft(c, size) * np.conj(np.fft.rfft(r, size)), size)[: len(c) - n + 1]
    energy = np.concatenate([[0.0], np.cumsum(c * c)])
    window = energy[n:] - energy[:-n]
    norm = np.sqrt(np.maximum(window, 1e-9) * np.dot(r, r))
    score = corr / norm
    found = []
    while True:
        i = int(np.argmax(score))
        if score[i] < min_correlation:
            return found
        found.append((i / rate, float(score[i])))
        score[max(0, i - n // 2): i + n // 2] = -1


def read_wav(path):
    """A 16-bit stereo WAV file's frames (numpy int16 x 2)."""
    import wave
    import numpy as np
    with wave.open(str(path), "rb") as w:
        assert w.getsampwidth() == 2 and w.getnchannels() == 2, path
        return np.frombuffer(w.readframes(w.getnframes()), dtype="<i2").reshape(-1, 2)


def piece_chunks_matched(capture, reference, start, chunk=1.0, slack=0.25, min_correlation=0.95, rate=44100):
    """How many one-second chunks of the reference play in the capture near
    where a copy starting at `start` (seconds) puts them: (matched, total).
    A short glitch of the output (a few milliseconds of silence inserted when
    a loaded machine stalls the audio thread) shifts what follows; chunk by
    chunk, that costs one chunk instead of the whole copy."""
    import numpy as np
    c = capture.astype(np.float64).mean(axis=1)
    r = reference.astype(np.float64).mean(axis=1)
    n, pad = int(chunk * rate), int(slack * rate)
    matched = total = 0
    for k in range(len(r) // n):
        seg = r[k * n:(k + 1) * n]
        if np.dot(seg, seg) < 1e-3 * n:
            continue  # silence proves nothing
        total += 1
        lo = int(start * rate) + k * n - pad
        window = c[max(0, lo): lo + n + 2 * pad]
        if len(window) < n:
            continue
        corr = np.correlate(window, seg, "valid")
        energy = np.concatenate([[0.0], np.cumsum(window * window)])
        norm = np.sqrt(np.maximum(energy[n:] - energy[:-n], 1e-9) * np.dot(seg, seg))
        if np.max(corr / norm) >= min_correlation:
            matched += 1
    return matched, total
