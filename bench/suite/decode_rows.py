"""Decoding with the effects off: qvrender beside decode_bench's bare loop
of the same library and, natively, beside `ffmpeg -i FILE -f null -`.

Each round runs every contender once on the same file, so that a machine
whose load changes affects all of them alike. The engine's overhead is taken
round by round from in-process wall times (qvrender: Engine_Play to the end;
decode_bench: open, decode, close), and also from the CPU time each program
reports over the same span (qvrender's cpu_s, decode_bench's cpu_seconds),
which other work on the machine disturbs less."""

import re

import runs
import stats

AUDIO_RATE = 44100


def _qvrender(tools, path, wine):
    args = [runs.wine_path(path) if wine else path]
    r = runs.run_wine(tools.get("qvrender"), args) if wine else runs.run([tools.get("qvrender"), *args])
    report = runs.json_line(r.stdout, "qvrender")
    if not report.get("opened") or report.get("status", [[0, 1]])[-1] != [0, 0]:
        raise runs.RunError(f"qvrender did not play the file to its end: {r.stdout.strip()[:200]}")
    seconds = report["frames_out"] / (report["track_info"]["sample_rate"] or AUDIO_RATE)
    return {"wall": report["wall_s"], "xrt": report["x_realtime"], "cpu": report["cpu_s"], "audio": seconds}


def _bare(tools, fmt, path, wine):
    args = [fmt, runs.wine_path(path) if wine else path]
    r = runs.run_wine(tools.get("decode_bench"), args) if wine else runs.run([tools.get("decode_bench"), *args])
    report = runs.json_line(r.stdout, "decode_bench")
    wall = report["wall_seconds"]
    return {"wall": wall, "xrt": report["audio_seconds"] / wall, "cpu": report["cpu_seconds"],
            "audio": report["audio_seconds"]}


_BENCH_LINE = re.compile(r"bench: utime=([\d.]+)s stime=([\d.]+)s rtime=([\d.]+)s")


def _ffmpeg(path, audio_seconds):
    r = runs.run(["ffmpeg", "-nostdin", "-hide_banner", "-nostats", "-benchmark", "-i", path, "-f", "null", "-"])
    m = _BENCH_LINE.search(r.stderr)
    if not m:
        raise runs.RunError("ffmpeg: no -benchmark line in its output")
    rtime = float(m.group(3))
    return {"wall": rtime, "xrt": audio_seconds / rtime, "cpu": r.cpu, "audio": audio_seconds}


def _record(series, name, result):
    for key, value in result.items():
        series.add(f"{name}.{key}", value)


def _contenders(fmt, wine):
    names = ["qvrender", "bare"]
    if fmt == "mp3":
        names.append("bare_plain")
    if not wine:
        names.append("ffmpeg")
    return names


def measure_format(tools, fmt, path, rounds, wine, expected_seconds):
    series = stats.Series()
    names = _contenders(fmt, wine)
    needs = {"qvrender": "qvrender", "bare": "decode_bench", "bare_plain": "decode_bench"}
    failed = {n: tools.why(needs[n]) for n in names if n in needs and not tools.get(needs[n])}
    for round_no in range(rounds):
        order = names[round_no % len(names):] + names[:round_no % len(names)]
        for name in order:
            if name in failed:
                continue
            try:
                if name == "qvrender":
                    result = _qvrender(tools, path, wine)
                elif name == "bare":
                    result = _bare(tools, fmt, path, wine)
                elif name == "bare_plain":
                    result = _bare(tools, "mp3-plain", path, wine)
                else:
                    audio = series.get("qvrender.audio") or series.get("bare.audio") or [expected_seconds]
                    result = _ffmpeg(path, audio[0])
            except (runs.RunError, KeyError, ValueError, ZeroDivisionError) as e:
                failed[name] = str(e)
                continue
            _record(series, name, result)
    for name, reason in failed.items():
        for key in ("wall", "xrt", "cpu", "audio"):
            series.fail(f"{name}.{key}", reason)
    return _summary(series, names, wine)


def _overhead(series, num, den, key):
    fig = series.ratio(f"{num}.{key}", f"{den}.{key}", digits=5)
    if not stats.ok(fig):
        return fig
    to_percent = lambda v: round((v - 1) * 100, 2)
    return {"median": to_percent(fig["median"]), "min": to_percent(fig["min"]), "max": to_percent(fig["max"]),
            "runs": [to_percent(v) for v in fig["runs"]]}


def _summary(series, names, wine):
    out = {}
    audio = series.get("qvrender.audio") or series.get("bare.audio")
    out["audio_seconds"] = round(audio[0], 3) if audio else None
    for name in names:
        out[f"{name}_x_realtime"] = series.figure(f"{name}.xrt", digits=1)
    out["engine_overhead_percent"] = _overhead(series, "qvrender", "bare", "wall")
    out["engine_overhead_cpu_percent"] = _overhead(series, "qvrender", "bare", "cpu")
    if "bare_plain" in names:
        out["engine_overhead_over_plain_percent"] = _overhead(series, "qvrender", "bare_plain", "wall")
    if not wine:
        out["qvrender_over_ffmpeg"] = series.ratio("qvrender.xrt", "ffmpeg.xrt", digits=3)
    # Every run's times, in the order of the rounds, for a closer look.
    out["seconds"] = {name: {key: [round(v, 4) for v in series.get(f"{name}.{key}")] for key in ("wall", "cpu")}
                      for name in names if series.has(f"{name}.wall")}
    return out


def measure(tools, inputs, rounds, wine, expected_seconds, log):
    results = {}
    for fmt, path in inputs.items():
        log(f"decode {fmt} ({'win32 under wine' if wine else 'native'})")
        results[fmt] = measure_format(tools, fmt, path, rounds, wine, expected_seconds)
    return results
