"""The run's settings, from the environment:

  BENCH_QUICK=1       short inputs (the player: 15 s) and three runs
  BENCH_RUNS=N        runs per figure (default 5; quick 3)
  BENCH_ONLY=a,b      only these parts: decode, chain, effects, player
  BENCH_NOTE=TEXT     the conditions of the run, for the results (e.g. other work on the machine)

Only a complete run (full inputs, every part, at least five runs) writes
bench/results/latest.md and the README's summary; any other run is a trial
and writes to build/bench/results-trial.
"""

import dataclasses
import os

from runs import ROOT

PARTS = ("decode", "chain", "effects", "player")


@dataclasses.dataclass
class Settings:
    quick: bool
    runs: int
    input_seconds: float
    effect_seconds: float
    player_seconds: float
    parts: tuple
    complete: bool  # a run whose results may be published
    results_dir: str
    work_dir: str
    inputs_dir: str
    wine_root: str
    note: str


def from_environment():
    quick = os.environ.get("BENCH_QUICK", "") not in ("", "0")
    runs = int(os.environ.get("BENCH_RUNS") or (3 if quick else 5))
    if runs < 1:
        raise SystemExit("bench: BENCH_RUNS must be at least 1")
    named = [p.strip() for p in os.environ.get("BENCH_ONLY", "").split(",") if p.strip()]
    unknown = [p for p in named if p not in PARTS]
    if unknown:
        raise SystemExit(f"bench: BENCH_ONLY: unknown part {', '.join(unknown)} (parts: {', '.join(PARTS)})")
    parts = tuple(p for p in PARTS if p in named) if named else PARTS
    build = os.path.join(ROOT, "build", "bench")
    complete = not quick and parts == PARTS and runs >= 5
    return Settings(
        quick=quick,
        runs=runs,
        input_seconds=20 if quick else 300,
        effect_seconds=5 if quick else 20,
        player_seconds=15 if quick else 60,
        parts=parts,
        complete=complete,
        results_dir=os.path.join(ROOT, "bench", "results") if complete else os.path.join(build, "results-trial"),
        work_dir=os.path.join(build, "work"),
        inputs_dir=os.path.join(build, "inputs"),
        wine_root=os.path.join(ROOT, "build", "win32", "wine-bench"),
        note=os.environ.get("BENCH_NOTE", "").strip(),
    )
