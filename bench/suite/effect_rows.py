"""The effect chain alone, in nanoseconds per stereo frame: effect_bench's
reference and fast forms of the processor, WIDE, REVERB and the analyser,
and the whole chain in each form (processor, WIDE and REVERB together, the
analyser on both channels; only the processor has a reference form). Each
run is one effect_bench process timing one pass of each stage."""

import runs
import stats

BLOCK_FRAMES = 4096
FIELDS = {
    "reference_ns_per_frame": "processor, reference form",
    "fast_ns_per_frame": "processor, fast form",
    "wide_ns_per_frame": "WIDE",
    "reverb_ns_per_frame": "REVERB",
    "wide_reverb_ns_per_frame": "WIDE and REVERB",
    "spectrum_ns_per_frame": "analyser, one channel",
    "spectrum_both_ns_per_frame": "analyser, both channels",
}
CHAINS = {
    "chain_reference_ns_per_frame": ("whole chain, reference form", "reference_ns_per_frame"),
    "chain_fast_ns_per_frame": ("whole chain, fast form", "fast_ns_per_frame"),
}


def measure(tools, rounds, seconds, wine, log):
    log(f"effect chain alone ({'win32 under wine' if wine else 'native'})")
    program = tools.get("effect_bench")
    if not program:
        return {"error": tools.why("effect_bench")}
    args = [f"{seconds:g}", str(BLOCK_FRAMES), "1"]
    series = stats.Series()
    for _ in range(rounds):
        try:
            r = runs.run_wine(program, args) if wine else runs.run([program, *args])
            report = runs.json_line(r.stdout, "effect_bench")
            for key in FIELDS:
                series.add(key, report[key])
            series.add("speedup", report["reference_ns_per_frame"] / report["fast_ns_per_frame"])
            for key, (_, processor) in CHAINS.items():
                series.add(key, report[processor] + report["wide_reverb_ns_per_frame"]
                           + report["spectrum_both_ns_per_frame"])
        except (runs.RunError, KeyError, ZeroDivisionError) as e:
            return {"error": str(e)}
    out = {key: series.figure(key, digits=2) for key in [*FIELDS, *CHAINS]}
    out["fast_over_reference"] = series.figure("speedup", digits=2)
    out["seconds_of_audio"] = seconds
    out["block_frames"] = BLOCK_FRAMES
    return out
