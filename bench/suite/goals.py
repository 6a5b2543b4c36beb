"""The goals the results are held against, judged on the median; a goal
whose figure could not be measured says so instead of met or not met."""

import stats

_MET = {"at least": lambda v, t: v >= t, "at most": lambda v, t: v <= t, "under": lambda v, t: v < t}


def _judge(name, target, fig, comparison, unit):
    entry = {"goal": name, "comparison": comparison, "target": target, "unit": unit}
    if not stats.ok(fig):
        entry.update(met=None, measured=None, note=(fig or {}).get("error", "not measured"))
        return entry
    median, low, high = fig["median"], fig["min"], fig["max"]
    met = _MET[comparison](median, target)
    entry.update(met=met, measured={"median": median, "min": low, "max": high})
    if _MET[comparison](low, target) != _MET[comparison](high, target):
        entry["note"] = "the runs fall on both sides of the target"
    return entry


def _get(results, *path):
    """The node at path; a part that failed as a whole gives its error."""
    node = results
    for key in path:
        if not isinstance(node, dict):
            return None
        if key not in node:
            return node if "error" in node else None
        node = node[key]
    return node


def _overheads(results, platform):
    """(format, figure) of the largest engine overhead, and the formats without one."""
    decode = _get(results, "decode", platform)
    if not isinstance(decode, dict):
        return None, ["every format"]
    if "error" in decode:
        return None, [f"every format: {decode['error']}"]
    worst, missing = None, []
    for fmt, row in decode.items():
        fig = row.get("engine_overhead_percent") if isinstance(row, dict) else None
        if not stats.ok(fig):
            missing.append(fmt)
        elif worst is None or fig["median"] > worst[1]["median"]:
            worst = (fmt, fig)
    return worst, missing


def evaluate(results):
    goals = [
        _judge("MP3 with every effect on, native", 150, _get(results, "chain", "native", "mp3_x_realtime"), "at least",
               "x real time"),
        _judge("MP3 with every effect on, Win32 build under wine", 100,
               _get(results, "chain", "win32", "mp3_x_realtime"), "at least", "x real time"),
    ]
    for platform, label in (("native", "native"), ("win32", "Win32 build under wine")):
        worst, missing = _overheads(results, platform)
        entry = _judge(f"Engine overhead over the bare decoder loop, every format, {label}", 10,
                       worst[1] if worst else stats.failed("not measured"), "at most", "%")
        if worst:
            entry["worst_format"] = worst[0]
        if missing:
            # Not met stays not met; otherwise a format without a figure leaves it open.
            entry["met"] = False if entry["met"] is False else None
            entry["note"] = f"not measured for {', '.join(missing)}"
        goals.append(entry)
    goals.append(_judge("Effect chain faster than SoX's comparable chain on the same WAV", 3,
                        _get(results, "chain", "native", "qvrender_over_sox"), "at least", "times"))
    for key, name, target, unit in (("cpu_percent_of_one_core", "CPU of one core", 1, "%"),
                                    ("peak_private_mb", "peak private memory", 40, "MB")):
        entry = _judge(f"Player playing with every effect on: {name}", target, _get(results, "player", key), "under",
                       unit)
        if _get(results, "player", "all_effects_active") is False and entry["met"] is not None:
            # Measured with effects off: a miss stands (effects only add), a pass does not show the goal.
            entry["note"] = "the player ran with effects off; see section 4"
            entry["met"] = False if entry["met"] is False else None
        goals.append(entry)
    return goals
