#!/usr/bin/env python3
"""The Win32 build's measurements, run inside one wine session (a display
and a persistent wineserver, so each program starts in a fraction of a
second). bench_main.py starts it through scripts/wine/session.

usage: win32_phase.py PLAN.json OUT.json
"""

import json
import sys
import time

import chain_rows
import decode_rows
import effect_rows
import runs
from tools import Tools


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    if not runs.in_wine_session():
        sys.exit("win32_phase: run it inside scripts/wine/session")
    with open(sys.argv[1]) as f:
        plan = json.load(f)
    tools = Tools("win32")
    start = time.monotonic()

    def log(text):
        print(f"bench: [{time.monotonic() - start + plan['elapsed_before']:6.0f} s] {text}", flush=True)

    out = {}
    if "decode" in plan["parts"]:
        out["decode"] = decode_rows.measure(tools, plan["inputs"], plan["runs"], True, plan["input_seconds"], log)
    if "chain" in plan["parts"]:
        chain_inputs = {k: plan["inputs"][k] for k in ("wav", "mp3")}
        out["chain"] = chain_rows.measure(tools, chain_inputs, plan["records"], plan["runs"], True, log)
    if "effects" in plan["parts"]:
        out["effects"] = effect_rows.measure(tools, plan["runs"], plan["effect_seconds"], True, log)
    with open(sys.argv[2], "w") as f:
        json.dump(out, f)


if __name__ == "__main__":
    main()
