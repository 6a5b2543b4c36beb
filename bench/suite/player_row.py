"""The player under wine playing a 60-second MP3 in real time with every
effect on: bench/player/measure does the measuring; this takes its JSON
object (median, min and max of each figure) into the results."""

import os

import runs

MEASURE = os.path.join(runs.ROOT, "bench", "player", "measure")
FIGURES = ("cpu_percent_of_one_core", "peak_private_mb", "first_paint_ms")


def measure(mp3, records, rounds, log):
    log("player under wine, playing in real time")
    if not os.access(MEASURE, os.X_OK):
        return {"error": "bench/player/measure is not in this tree"}
    argv = [MEASURE, "--runs", str(rounds), "--effect-params", records["effects"], "--qbs-params", records["qbs"], mp3]
    try:
        r = runs.run(argv, timeout=60 + rounds * 180, what="bench/player/measure")
        report = runs.json_line(r.stdout, "bench/player/measure")
    except runs.RunError as e:
        return {"error": str(e)}
    out = {}
    for key, value in report.items():
        if isinstance(value, dict) and "median" in value:
            out[key] = {k: value[k] for k in ("median", "min", "max", "runs") if k in value}
        else:
            out[key] = value
    for key in FIGURES:
        out.setdefault(key, {"error": "bench/player/measure did not report it"})
    return out
