"""The whole chain: qvrender with every effect on, on the WAV and the MP3,
and natively SoX running its comparable chain on the same WAV.

For qvrender against SoX both are timed as whole processes from outside
(SoX has no clock of its own), so that each pays for its start, its file
reading and its output; natively the CPU time of the two processes gives a
second ratio, which other work on the machine disturbs less."""

import os
import wave

import effect_setup
import runs
import stats


def write_records(folder):
    os.makedirs(folder, exist_ok=True)
    paths = {"effects": os.path.join(folder, "every-effect.bin"), "qbs": os.path.join(folder, "wide-reverb.bin")}
    with open(paths["effects"], "wb") as f:
        f.write(effect_setup.effect_params())
    with open(paths["qbs"], "wb") as f:
        f.write(effect_setup.qbs_params())
    return paths


def _qvrender(tools, path, records, wine):
    p = runs.wine_path if wine else (lambda x: x)
    args = ["--effect-params", p(records["effects"]), "--qbs-params", p(records["qbs"]),
            "--spectrum", str(effect_setup.SPECTRUM_BOTH), p(path)]
    r = runs.run_wine(tools.get("qvrender"), args) if wine else runs.run([tools.get("qvrender"), *args])
    report = runs.json_line(r.stdout, "qvrender")
    if report.get("status", [[0, 1]])[-1] != [0, 0] or "spectrum" not in report:
        raise runs.RunError(f"qvrender did not play the file to its end with the effects: {r.stdout.strip()[:200]}")
    audio = report["frames_out"] / report["track_info"]["sample_rate"]
    return {"xrt": report["x_realtime"], "process_xrt": audio / r.wall, "cpu": r.cpu, "audio": audio}


def _sox(path, audio):
    r = runs.run(["sox", "-V1", "-D", path, "-n", *effect_setup.sox_effects()])
    return {"xrt": audio / r.wall, "process_xrt": audio / r.wall, "cpu": r.cpu, "audio": audio}


def measure(tools, inputs, records, rounds, wine, log):
    names = ["qv_wav", "qv_mp3"] + ([] if wine else ["sox"])
    series = stats.Series()
    failed = {n: tools.why("qvrender") for n in names if n.startswith("qv") and not tools.get("qvrender")}
    log(f"whole chain ({'win32 under wine' if wine else 'native'})")
    for round_no in range(rounds):
        order = names[round_no % len(names):] + names[:round_no % len(names)]
        for name in order:
            if name in failed:
                continue
            try:
                if name == "sox":
                    result = _sox(inputs["wav"], _wav_seconds(inputs["wav"]))
                else:
                    result = _qvrender(tools, inputs[name[3:]], records, wine)
            except (runs.RunError, KeyError, ValueError, ZeroDivisionError) as e:
                failed[name] = str(e)
                continue
            for key, value in result.items():
                series.add(f"{name}.{key}", value)
    for name, reason in failed.items():
        for key in ("xrt", "process_xrt", "cpu", "audio"):
            series.fail(f"{name}.{key}", reason)
    out = {
        "wav_x_realtime": series.figure("qv_wav.xrt", digits=1),
        "mp3_x_realtime": series.figure("qv_mp3.xrt", digits=1),
    }
    if not wine:
        out["wav_process_x_realtime"] = series.figure("qv_wav.process_xrt", digits=1)
        out["sox_x_realtime"] = series.figure("sox.xrt", digits=1)
        out["qvrender_over_sox"] = series.ratio("qv_wav.process_xrt", "sox.xrt", digits=2)
        out["qvrender_over_sox_cpu"] = series.ratio("sox.cpu", "qv_wav.cpu", digits=2)
    out["cpu_seconds"] = {name: [round(v, 4) for v in series.get(f"{name}.cpu")] for name in names
                          if series.has(f"{name}.cpu")}
    return out


def _wav_seconds(path):
    with wave.open(path) as w:
        return w.getnframes() / w.getframerate()
