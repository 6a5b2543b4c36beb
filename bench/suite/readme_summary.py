"""The README's summary of the latest results: a few lines with the ratios
and the goals, written between two marker comments so that a full run keeps
them in step with bench/results/latest.md."""

import os

import stats
from report import FORMAT_NAMES, number

BEGIN = "<!-- bench-summary: written by make bench -->"
END = "<!-- /bench-summary -->"


def _verdict(goal):
    return {True: "met", False: "**not met**", None: "not measured"}[goal["met"]]


def _get(node, *path):
    for key in path:
        node = node.get(key) if isinstance(node, dict) else None
    return node


def _ffmpeg_line(results):
    native = _get(results, "decode", "native") or {}
    parts = []
    for fmt, name in FORMAT_NAMES.items():
        fig = _get(native, fmt, "qvrender_over_ffmpeg")
        if stats.ok(fig):
            parts.append(f"{name} {number(fig['median'])}")
    if not parts:
        return None
    return ("- Against `ffmpeg -i FILE -f null -` (qvrender's speed / ffmpeg's, above 1 is faster): "
            + ", ".join(parts) + ".")


def _overhead_line(results, platform, label):
    decode = _get(results, "decode", platform) or {}
    parts = []
    for fmt, name in FORMAT_NAMES.items():
        fig = _get(decode, fmt, "engine_overhead_percent")
        if stats.ok(fig):
            parts.append(f"{name} {'+' if fig['median'] > 0 else ''}{number(fig['median'])} %")
    return f"- Engine overhead by format, {label}: " + ", ".join(parts) + "." if parts else None


def lines(results):
    c = results["conditions"]
    out = [BEGIN,
           f"From the full run of {c['date']} (commit `{c['commit']}`, {c['machine']['cores']} cores, medians of "
           f"{c['runs']} runs{'; ' + c['note'] if c.get('note') else ''}):", ""]
    for goal in results["goals"]:
        measured = goal["measured"]
        value = f"{number(measured['median'])} {goal['unit']}" if measured else "not measured"
        if goal.get("worst_format"):
            value += f" (worst: {FORMAT_NAMES.get(goal['worst_format'], goal['worst_format'])})"
        note = f" ({goal['note']})" if goal.get("note") and goal["note"] != "not measured" else ""
        out.append(f"- {goal['goal']}: {value}; goal {goal['comparison']} {goal['target']:g} {goal['unit']}: "
                   f"{_verdict(goal)}{note}.")
    extra = [_overhead_line(results, "native", "native"), _overhead_line(results, "win32", "Win32 under wine"),
             _ffmpeg_line(results)]
    out += [line for line in extra if line]
    out += ["", END]
    return out


def update(readme_path, results):
    """Replaces the text between the markers; False when the README has none."""
    if not os.path.exists(readme_path):
        return False
    with open(readme_path) as f:
        text = f.read()
    if BEGIN not in text or END not in text:
        return False
    head, rest = text.split(BEGIN, 1)
    _, tail = rest.split(END, 1)
    with open(readme_path, "w") as f:
        f.write(head + "\n".join(lines(results)) + tail)
    return True
