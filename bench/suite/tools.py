"""Where the measured programs of each build are."""

import os

from runs import ROOT

_PROGRAMS = {
    "native": {
        "qvrender": "build/native/tools/qvrender/qvrender",
        "decode_bench": "build/native/bench/decode_bench",
        "effect_bench": "build/native/bench/effect_bench",
    },
    "win32": {
        "qvrender": "build/win32/tools/qvrender/qvrender.exe",
        "decode_bench": "build/win32/bench/decode_bench.exe",
        "effect_bench": "build/win32/bench/effect_bench.exe",
        "player": "build/win32/bin/QuoviraPlayer.exe",
    },
}


class Tools:
    def __init__(self, platform):
        self.platform = platform
        self._relative = _PROGRAMS[platform]

    def get(self, name):
        """The program's absolute path, or None when it is not built."""
        path = os.path.join(ROOT, self._relative[name])
        return path if os.path.isfile(path) else None

    def why(self, name):
        return f"{self._relative[name]} is not built"
