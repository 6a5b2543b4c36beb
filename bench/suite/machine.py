"""What the results were measured on and under which conditions."""

import datetime
import os
import platform
import subprocess

from runs import ROOT


def _read(path):
    try:
        with open(path) as f:
            return f.read()
    except OSError:
        return ""


def _first_line(argv):
    try:
        out = subprocess.run(argv, capture_output=True, text=True, timeout=30).stdout.strip()
        return out.splitlines()[0] if out else "unknown"
    except (OSError, subprocess.TimeoutExpired):
        return "not installed"


def _cpu_model():
    for line in _read("/proc/cpuinfo").splitlines():
        if line.startswith("model name"):
            return line.split(":", 1)[1].strip()
    return platform.processor() or "unknown"


def _memory_gb():
    for line in _read("/proc/meminfo").splitlines():
        if line.startswith("MemTotal:"):
            return round(int(line.split()[1]) / 1024 / 1024, 1)
    return None


def _os_name():
    for line in _read("/etc/os-release").splitlines():
        if line.startswith("PRETTY_NAME="):
            return line.split("=", 1)[1].strip('"')
    return platform.system()


def _compiler(preset):
    """The C++ compiler CMake found for the build folder (a toolchain file
    names it outside the cache)."""
    files = os.path.join(ROOT, "build", preset, "CMakeFiles")
    for version in sorted(os.listdir(files)) if os.path.isdir(files) else []:
        for line in _read(os.path.join(files, version, "CMakeCXXCompiler.cmake")).splitlines():
            if line.startswith("set(CMAKE_CXX_COMPILER "):
                return _first_line([line.split('"')[1], "--version"])
    return "unknown"


def describe():
    return {
        "cpu": _cpu_model(),
        "cores": os.cpu_count(),
        "memory_gb": _memory_gb(),
        "os": _os_name(),
        "kernel": platform.release(),
        "native_compiler": _compiler("native"),
        "win32_compiler": _compiler("win32"),
        "wine": _first_line(["wine", "--version"]),
        "ffmpeg": _first_line(["ffmpeg", "-version"]),
        "sox": _first_line(["sox", "--version"]).replace("sox:", "").strip(),
    }


def commit():
    """The commit, and the tracked files that differ from it: the builds
    measured are of the working tree."""
    head = _first_line(["git", "-C", ROOT, "rev-parse", "--short=12", "HEAD"])
    status = subprocess.run(["git", "-C", ROOT, "status", "--porcelain", "--untracked-files=no"],
                            capture_output=True, text=True).stdout
    modified = sorted(line[3:] for line in status.splitlines() if len(line) > 3)
    return {"commit": head, "tracked_files_modified": bool(modified), "modified_files": modified}


def now():
    return datetime.datetime.now(datetime.timezone.utc).strftime("%Y-%m-%d %H:%M UTC")


def load():
    return [round(v, 2) for v in os.getloadavg()]
