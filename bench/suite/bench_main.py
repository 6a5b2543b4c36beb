"""make bench: measures the player's decoding and effect chain against the
bare decoder libraries and the tools a user would otherwise use, in one run
on the same inputs, and writes the table (latest.md, latest.json)."""

import json
import os
import subprocess
import sys
import time

import chain_rows
import decode_rows
import effect_rows
import goals
import inputs
import machine
import player_row
import readme_summary
import report
import runs
import settings as settings_module
from tools import Tools

HERE = os.path.dirname(os.path.abspath(__file__))
SESSION = os.path.join(runs.ROOT, "scripts", "wine", "session")


def _win32_phase(cfg, paths, records, elapsed, log):
    """Runs win32_phase.py in one wine session; its results, or an error per part."""
    parts = [p for p in ("decode", "chain", "effects") if p in cfg.parts]
    if not parts:
        return {}
    plan = {"inputs": paths, "records": records, "runs": cfg.runs, "input_seconds": cfg.input_seconds,
            "effect_seconds": cfg.effect_seconds, "parts": parts, "elapsed_before": elapsed}
    plan_file = os.path.join(cfg.work_dir, "win32-plan.json")
    out_file = os.path.join(cfg.work_dir, "win32-results.json")
    with open(plan_file, "w") as f:
        json.dump(plan, f)
    if os.path.exists(out_file):
        os.remove(out_file)
    log("Win32 build under wine (session in " + os.path.relpath(cfg.wine_root, runs.ROOT) + ")")
    done = subprocess.run([SESSION, "--root", cfg.wine_root, sys.executable, "-B",
                           os.path.join(HERE, "win32_phase.py"), plan_file, out_file], stdin=subprocess.DEVNULL)
    if done.returncode == 0 and os.path.exists(out_file):
        with open(out_file) as f:
            return json.load(f)
    reason = f"the wine session ended with exit {done.returncode} before writing its results"
    return {part: {"error": reason} for part in parts}


def render(cfg):
    """Writes latest.md and the README's summary again from latest.json,
    after a change to how they are written; nothing is measured."""
    with open(os.path.join(cfg.results_dir, "latest.json")) as f:
        results = json.load(f)
    written = report.write(results, cfg.results_dir)
    if cfg.complete and readme_summary.update(os.path.join(runs.ROOT, "README.md"), results):
        written.append(os.path.join(runs.ROOT, "README.md"))
    print("bench: wrote " + ", ".join(os.path.relpath(p, runs.ROOT) for p in written))
    return 0


def main():
    cfg = settings_module.from_environment()
    if sys.argv[1:] == ["render"]:
        return render(cfg)
    if sys.argv[1:]:
        raise SystemExit("usage: scripts/bench [render]  (settings: bench/suite/settings.py)")
    start = time.monotonic()

    def log(text):
        print(f"bench: [{time.monotonic() - start:6.0f} s] {text}", flush=True)

    os.makedirs(cfg.work_dir, exist_ok=True)
    results = {"conditions": {
        "date": machine.now(), **machine.commit(), "mode": "quick" if cfg.quick else "full",
        "complete": cfg.complete, "runs": cfg.runs,
        "input_seconds": cfg.input_seconds, "load_average_at_start": machine.load(), "machine": machine.describe(),
        "parts": list(cfg.parts), **({"note": cfg.note} if cfg.note else {})}}
    log(f"{results['conditions']['mode']} run, {cfg.runs} run{'s' if cfg.runs != 1 else ''} per figure, "
        f"inputs of {cfg.input_seconds:g} s")
    decoding = any(p in cfg.parts for p in ("decode", "chain"))
    paths = inputs.prepare(cfg.inputs_dir, cfg.input_seconds) if decoding else {}
    results["inputs"] = inputs.describe(paths)
    records = chain_rows.write_records(cfg.work_dir)
    native = Tools("native")
    chain_inputs = {k: paths[k] for k in ("wav", "mp3") if k in paths}

    if "decode" in cfg.parts:
        results["decode"] = {"native": decode_rows.measure(native, paths, cfg.runs, False, cfg.input_seconds, log)}
    if "chain" in cfg.parts:
        results["chain"] = {"native": chain_rows.measure(native, chain_inputs, records, cfg.runs, False, log)}
    if "effects" in cfg.parts:
        results["effects"] = {"native": effect_rows.measure(native, cfg.runs, cfg.effect_seconds, False, log)}
    win32 = _win32_phase(cfg, paths, records, time.monotonic() - start, log)
    for part, value in win32.items():
        results[part]["win32"] = value
    if "player" in cfg.parts:
        player_mp3 = inputs.prepare(cfg.inputs_dir, cfg.player_seconds, formats=["mp3"], tag="player")["mp3"]
        results["inputs"]["player_mp3"] = dict(inputs.describe({"mp3": player_mp3})["mp3"], seconds=cfg.player_seconds)
        results["player"] = player_row.measure(player_mp3, cfg.player_seconds, records, cfg.runs, log)

    results["goals"] = goals.evaluate(results)
    results["conditions"]["load_average_at_end"] = machine.load()
    results["conditions"]["elapsed_seconds"] = round(time.monotonic() - start)
    written = report.write(results, cfg.results_dir)
    if cfg.complete:
        if readme_summary.update(os.path.join(runs.ROOT, "README.md"), results):
            written.append(os.path.join(runs.ROOT, "README.md"))
    log("wrote " + ", ".join(os.path.relpath(p, runs.ROOT) for p in written))
    return 0
