"""The player under wine playing an MP3 (60 s; quick runs 15 s) in real
time with every effect on. bench/player/measure does the measuring (see its
usage), one run per call here: a run that fails is tried once more and its
reason kept, so that one lost run does not lose the row. The medians, mins
and maxes are taken over the runs."""

import os

import runs
import stats

MEASURE = os.path.join(runs.ROOT, "bench", "player", "measure")
FIGURES = ("cpu_percent_of_one_core", "peak_private_mb", "first_paint_ms", "wineserver_cpu_percent",
           "played_s_per_track_s")
ATTEMPTS = 2


def _one_run(mp3, seconds, records):
    argv = [MEASURE, "--runs", "1", "--seconds", f"{seconds:g}", "--effect-params", records["effects"],
            "--qbs-params", records["qbs"], mp3]
    r = runs.run(argv, timeout=120 + seconds * 3, what="bench/player/measure", echo_stderr=True)
    return runs.json_line(r.stdout, "bench/player/measure")


def measure(mp3, seconds, records, rounds, log):
    log("player under wine, playing in real time")
    if not os.access(MEASURE, os.X_OK):
        return {"error": "bench/player/measure is not in this tree"}
    series = stats.Series()
    failures, last = [], None
    for round_no in range(1, rounds + 1):
        for attempt in range(1, ATTEMPTS + 1):
            try:
                report = _one_run(mp3, seconds, records)
                for key in FIGURES:
                    if isinstance(report.get(key), dict) and "median" in report[key]:
                        series.add(key, report[key]["median"])
                last = report
                break
            except runs.RunError as e:
                failures.append(f"run {round_no}, attempt {attempt}: {e}")
        else:
            return {"error": failures[-1], "failed_attempts": failures}
    out = {key: series.figure(key, digits=3) for key in FIGURES if series.get(key)}
    for key in ("cpu_percent_of_one_core", "peak_private_mb", "first_paint_ms"):
        out.setdefault(key, stats.failed("bench/player/measure did not report it"))
    for key in ("track_s", "effects_requested", "effects_active", "all_effects_active", "notes"):
        if key in last:
            out[key] = last[key]
    if failures:
        out["failed_attempts"] = failures
    return out
