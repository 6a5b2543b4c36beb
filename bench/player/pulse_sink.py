"""A private PulseAudio server with one null sink: it takes the samples at
the pace of a real sound card (wine's ALSA capture of the tests takes them
as fast as they come), and nothing is heard."""

import os
import shutil
import subprocess
import time
from pathlib import Path


class PulseError(RuntimeError):
    pass


class NullSink:
    def __init__(self, folder):
        self.folder = Path(folder).resolve()
        self.socket = self.folder / "native"
        self.proc = None

    @property
    def server(self):
        return "unix:" + str(self.socket)

    def start(self, timeout=20):
        if not shutil.which("pulseaudio") or not shutil.which("pactl"):
            raise PulseError("pulseaudio and pactl are needed (Debian packages pulseaudio, pulseaudio-utils)")
        if len(str(self.socket)) > 100:
            raise PulseError("the folder for PulseAudio's socket has too long a path: %s" % self.folder)
        for sub in ("home", "run"):
            (self.folder / sub).mkdir(parents=True, exist_ok=True)
        os.chmod(self.folder / "run", 0o700)
        if self.socket.exists():
            self.socket.unlink()
        env = dict(os.environ, HOME=str(self.folder / "home"), XDG_RUNTIME_DIR=str(self.folder / "run"))
        env.pop("PULSE_SERVER", None)
        log = open(self.folder / "pulseaudio.log", "wb")
        self.proc = subprocess.Popen(
            ["pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1", "--use-pid-file=no", "--disable-shm=yes",
             "--log-target=stderr", "-L", "module-null-sink sink_name=bench rate=44100 channels=2",
             "-L", "module-native-protocol-unix auth-anonymous=1 socket=%s" % self.socket],
            stdin=subprocess.DEVNULL, stdout=log, stderr=log, env=env)
        log.close()
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            if self.proc.poll() is not None:
                raise PulseError("pulseaudio ended at start-up (see %s)" % (self.folder / "pulseaudio.log"))
            probe = subprocess.run(["pactl", "--server", self.server, "info"], stdout=subprocess.PIPE,
                                   stderr=subprocess.DEVNULL, env=env)
            if probe.returncode == 0 and b"Default Sink: bench" in probe.stdout:
                return self
            time.sleep(0.1)
        self.stop()
        raise PulseError("pulseaudio did not answer within %d s" % timeout)

    def stop(self):
        if self.proc and self.proc.poll() is None:
            self.proc.terminate()
            try:
                self.proc.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait()
        self.proc = None
