"""The results as latest.json and as the table in latest.md."""

import json
import os

import effect_rows
import effect_setup
import stats

FORMAT_NAMES = {"mp3": "MP3", "ogg": "Ogg Vorbis", "flac": "FLAC", "ape": "APE", "wma": "WMA", "wav": "WAV"}
BARE_LOOPS = {"mp3": "libmad, the engine's dithered conversion", "ogg": "Tremor (ov_read)",
              "flac": "libFLAC stream decoder with the plug-in's conversion",
              "ape": "FFmpeg's APE decoder with the plug-in's conversion",
              "wma": "FFmpeg's WMA decoder with the plug-in's conversion",
              "wav": "16-bit PCM read in blocks"}


def number(v, unit=""):
    if abs(v) >= 100:
        text = f"{v:.0f}"
    elif abs(v) >= 10:
        text = f"{v:.1f}"
    else:
        text = f"{v:.2f}"
    return text + unit


def cell(fig, unit="", signed=False):
    """median (min–max), or why there is no figure."""
    if fig is None:
        return "not measured"
    if not stats.ok(fig):
        return "not measured: " + fig.get("error", "unknown").replace("|", "/")
    sign = "+" if signed and fig["median"] > 0 else ""
    text = f"{sign}{number(fig['median'], unit)} ({number(fig['min'])}–{number(fig['max'], unit)})"
    if fig.get("rounds_without_a_time"):
        text += f" of {len(fig['runs'])} runs; {fig['rounds_without_a_time']} had a time of 0"
    return text


def _get(node, *path):
    for key in path:
        if not isinstance(node, dict):
            return None
        if "error" in node and key not in node:
            return node
        node = node.get(key)
    return node


def _conditions(r):
    c = r["conditions"]
    m = c["machine"]
    lines = [
        "# Benchmark results",
        "",
        f"Written by `make bench` on {c['date']} at commit `{c['commit']}`"
        + (f" with {len(c.get('modified_files', []))} tracked files modified in the working tree the builds were "
           "made from (listed in latest.json)" if c["tracked_files_modified"] else "") + ".",
        "",
        f"- Mode: **{c['mode']}**, {c['runs']} run{'s' if c['runs'] != 1 else ''} per figure, inputs of {c['input_seconds']:g} s"
        + ("" if c.get("complete") else " (a trial run of " + ", ".join(c["parts"]) + "; not the published figures)"),
        f"- Machine: {m['cpu']}, {m['cores']} cores, {m['memory_gb']} GB; {m['os']}, Linux {m['kernel']}",
        f"- Builds: native `{m['native_compiler']}`; Win32 `{m['win32_compiler']}` under {m['wine']}",
        f"- Tools beside it: {m['ffmpeg'].split(' Copyright')[0]}; {m['sox']}",
        f"- Load average (1, 5, 15 min) at the start {c['load_average_at_start']}, at the end "
        f"{c.get('load_average_at_end')}; the whole run took {c.get('elapsed_seconds')} s",
    ]
    if c.get("note"):
        lines.append(f"- Conditions: {c['note']}")
    lines += ["", "Every figure is the median of the runs, with the smallest and largest in brackets. Absolute "
              "speeds depend on the machine; the ratios, measured side by side in the same run, are the figures "
              "that count. \"× real time\" is seconds of audio per second of wall time.", ""]
    return lines


def _goals(r):
    lines = ["## Goals", "", "| goal | target | measured | met |", "| --- | --- | --- | --- |"]
    for g in r["goals"]:
        target = f"{g['comparison']} {g['target']:g} {g['unit']}"
        if g["measured"]:
            measured = cell(g["measured"], "") + " " + g.get("unit", "")
            if g.get("worst_format"):
                measured += f" (worst: {FORMAT_NAMES.get(g['worst_format'], g['worst_format'])})"
        else:
            measured = "—"
        verdict = {True: "yes", False: "**no**", None: "not measured"}[g["met"]]
        if g.get("note") and g["note"] != "not measured":
            verdict += f" ({g['note']})"
        lines.append(f"| {g['goal']} | {target} | {measured} | {verdict} |")
    return lines + [""]


def _decode(r):
    d = r.get("decode")
    if not d:
        return []
    lines = ["## 1. Decoding, effects off", "",
             "qvrender (the engine on a virtual output device, which takes each block at once) beside a bare "
             "decode loop of the same library (decode_bench) and `ffmpeg -i FILE -f null -`. Engine overhead = "
             "qvrender's time / the bare loop's time − 1, round by round, from the in-process wall times "
             "(qvrender: Engine_Play to the end; the loop: open, decode, close), and beside it by the CPU time each "
             "program reports over the same span, which other work on the machine disturbs less. qvrender / ffmpeg "
             "above 1 means qvrender is faster.", ""]
    native, win32 = d.get("native", {}), d.get("win32", {})
    lines += ["### Native", "",
              "| format | qvrender × real time | bare loop × real time | engine overhead | overhead by CPU time "
              "| ffmpeg × real time | qvrender / ffmpeg |", "| --- | --- | --- | --- | --- | --- | --- |"]
    for fmt in FORMAT_NAMES:
        row = native.get(fmt) if isinstance(native, dict) else None
        if row is None:
            continue
        lines.append(f"| {FORMAT_NAMES[fmt]} | {cell(_get(row, 'qvrender_x_realtime'))} | "
                     f"{cell(_get(row, 'bare_x_realtime'))} | {cell(_get(row, 'engine_overhead_percent'), ' %', True)} | "
                     f"{cell(_get(row, 'engine_overhead_cpu_percent'), ' %', True)} | "
                     f"{cell(_get(row, 'ffmpeg_x_realtime'))} | {cell(_get(row, 'qvrender_over_ffmpeg'))} |")
    lines += ["", "### Win32 build under wine", "",
              "| format | qvrender × real time | bare loop × real time | engine overhead | overhead by CPU time |",
              "| --- | --- | --- | --- | --- |"]
    for fmt in FORMAT_NAMES:
        row = win32.get(fmt) if isinstance(win32, dict) and "error" not in win32 else win32
        if row is None:
            continue
        lines.append(f"| {FORMAT_NAMES[fmt]} | {cell(_get(row, 'qvrender_x_realtime'))} | "
                     f"{cell(_get(row, 'bare_x_realtime'))} | {cell(_get(row, 'engine_overhead_percent'), ' %', True)} | "
                     f"{cell(_get(row, 'engine_overhead_cpu_percent'), ' %', True)} |")
    lines += ["", "Bare loops: " + "; ".join(f"{FORMAT_NAMES[f]}: {BARE_LOOPS[f]}" for f in FORMAT_NAMES) + ". "
              "A WAV pass lasts a few tens of milliseconds, so its ratios are coarse, the CPU ones most (the CPU "
              "clock counts in ticks, under wine of about 16 ms).",
              "", "Against an MP3 loop with plain rounding instead of the engine's dither:", "",
              "| build | plain loop × real time | engine overhead |", "| --- | --- | --- |"]
    for p, label in (("native", "native"), ("win32", "Win32 under wine")):
        row = _get(d, p, "mp3")
        if row is not None:
            lines.append(f"| {label} | {cell(_get(row, 'bare_plain_x_realtime'))} | "
                         f"{cell(_get(row, 'engine_overhead_over_plain_percent'), ' %', True)} |")
    lines.append("")
    return lines


def _chain(r):
    c = r.get("chain")
    if not c:
        return []
    native, win32 = c.get("native", {}), c.get("win32", {})
    lines = ["## 2. The whole chain, every effect on", "",
             "qvrender with both user equalizers on (LastEq, which designs the 31 bands, and MyEq), the "
             f"crossover at {'/'.join(map(str, effect_setup.CROSSOVER_HZ))} Hz with band gains "
             f"{'/'.join(map(str, effect_setup.BAND_VOLUME))} %, compressor and expander on all four bands, WIDE, "
             "REVERB and the spectrum feed (both channels). SoX on the same WAV: 31 `equalizer` bands at the same "
             "centres, Q and gains, `mcompand` with four bands at the same crossovers (the compressor's and the "
             "expander's curve as one transfer function) and `reverb`.", "",
             "| input | native × real time | Win32 under wine × real time |", "| --- | --- | --- |",
             f"| WAV | {cell(_get(native, 'wav_x_realtime'))} | {cell(_get(win32, 'wav_x_realtime'))} |",
             f"| MP3 | {cell(_get(native, 'mp3_x_realtime'))} | {cell(_get(win32, 'mp3_x_realtime'))} |",
             "",
             "Beside SoX, natively on the WAV, both timed as whole processes:", "",
             "| | × real time |", "| --- | --- |",
             f"| qvrender, every effect on | {cell(_get(native, 'wav_process_x_realtime'))} |",
             f"| SoX, comparable chain | {cell(_get(native, 'sox_x_realtime'))} |",
             f"| qvrender / SoX (wall time) | {cell(_get(native, 'qvrender_over_sox'))} |",
             f"| qvrender / SoX (CPU time) | {cell(_get(native, 'qvrender_over_sox_cpu'))} |",
             "", "SoX's effects: `" + " ".join(effect_setup.sox_effects()) + "`", ""]
    return lines


def _effects(r):
    e = r.get("effects")
    if not e:
        return []
    native, win32 = e.get("native", {}), e.get("win32", {})
    seconds = _get(native, "seconds_of_audio") or _get(win32, "seconds_of_audio")
    lines = ["## 3. The effect chain alone", "",
             f"effect_bench: nanoseconds per stereo frame over {seconds} s of audio in blocks of "
             f"{effect_rows.BLOCK_FRAMES} frames, every effect on; one pass per run. Only the processor has a "
             "reference form; the whole chain is the processor, WIDE and REVERB together and the analyser on both "
             "channels. At 44.1 kHz one frame lasts 22 676 ns.", "",
             "| stage | native ns/frame | Win32 under wine ns/frame |", "| --- | --- | --- |"]
    for key, label in effect_rows.FIELDS.items():
        lines.append(f"| {label} | {cell(_get(native, key))} | {cell(_get(win32, key))} |")
    for key, (label, _) in effect_rows.CHAINS.items():
        lines.append(f"| {label} | {cell(_get(native, key))} | {cell(_get(win32, key))} |")
    lines.append(f"| processor: reference / fast | {cell(_get(native, 'fast_over_reference'))} | "
                 f"{cell(_get(win32, 'fast_over_reference'))} |")
    return lines + [""]


def _player(r):
    p = r.get("player")
    if p is None:
        return []
    seconds = r["inputs"].get("player_mp3", {}).get("seconds", 60)
    lines = ["## 4. The player under wine", "",
             f"QuoviraPlayer.exe playing a {seconds:g}-second MP3 in real time with every effect on (the records "
             "of section 2, written to the registry values the player loads at start-up), measured by "
             "bench/player/measure.", ""]
    if "error" in p:
        return lines + [f"Not measured: {p['error']}", ""] + (
            ["Attempts: " + "; ".join(p["failed_attempts"]), ""] if p.get("failed_attempts") else [])
    if p.get("all_effects_active") is False:
        wanted = p.get("effects_requested") or list(p.get("effects_active") or {})
        off = [name for name in wanted if not (p.get("effects_active") or {}).get(name)]
        lines += [f"**Not every effect was on while the player played**: it reported off {', '.join(off)}. The "
                  "figures below are of the player with those effects off.", ""]
    lines += ["| figure | median (min–max) |", "| --- | --- |",
              f"| CPU time, % of one core | {cell(p.get('cpu_percent_of_one_core'), ' %')} |",
              f"| peak private memory | {cell(p.get('peak_private_mb'), ' MB')} |",
              f"| process start to first painted frame | {cell(p.get('first_paint_ms'), ' ms')} |"]
    if "wineserver_cpu_percent" in p:
        lines.append(f"| wineserver's CPU time, % of one core | {cell(p['wineserver_cpu_percent'], ' %')} |")
    if "played_s_per_track_s" in p:
        lines.append(f"| seconds played per second of track | {cell(p['played_s_per_track_s'])} |")
    if p.get("notes"):
        lines += ["", f"How: {p['notes']}"]
    if p.get("failed_attempts"):
        lines += ["", "Runs that failed and were tried again: " + "; ".join(p["failed_attempts"])]
    return lines + [""]


def _inputs(r):
    if not r["inputs"]:
        return []
    lines = ["## Inputs", "",
             "One piece composed by `bench/suite/compose_long.py` (pad, bass, drums and lead in sections; "
             "44.1 kHz stereo), encoded by Debian's encoders:", ""]
    for fmt, info in r["inputs"].items():
        if fmt == "player_mp3":
            lines.append(f"- player: the same composer, {info['seconds']:g} s, {info['encoding']}")
        else:
            lines.append(f"- {FORMAT_NAMES[fmt]}: {info['encoding']}, {info['bytes'] / 1e6:.1f} MB")
    return lines + [""]


def markdown(r):
    return "\n".join(_conditions(r) + _goals(r) + _decode(r) + _chain(r) + _effects(r) + _player(r) + _inputs(r))


def write(results, folder):
    os.makedirs(folder, exist_ok=True)
    md, js = os.path.join(folder, "latest.md"), os.path.join(folder, "latest.json")
    with open(js, "w") as f:
        json.dump(results, f, indent=1)
        f.write("\n")
    with open(md, "w") as f:
        f.write(markdown(results))
    return [md, js]
