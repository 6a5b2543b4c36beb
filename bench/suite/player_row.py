"""The player under wine playing an MP3 (60 s; quick runs 15 s) in real
time with every effect on: bench/player/measure does the measuring (see its
usage); this takes its JSON object (median, min and max of each figure)
into the results."""

import os

import runs

MEASURE = os.path.join(runs.ROOT, "bench", "player", "measure")
FIGURES = ("cpu_percent_of_one_core", "peak_private_mb", "first_paint_ms")


def measure(mp3, seconds, records, rounds, log):
    log("player under wine, playing in real time")
    if not os.access(MEASURE, os.X_OK):
        return {"error": "bench/player/measure is not in this tree"}
    argv = [MEASURE, "--runs", str(rounds), "--seconds", f"{seconds:g}", "--effect-params", records["effects"],
            "--qbs-params", records["qbs"], mp3]
    try:
        r = runs.run(argv, timeout=120 + rounds * (seconds * 2 + 60), what="bench/player/measure",
                     echo_stderr=True)
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
