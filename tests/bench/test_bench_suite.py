"""The benchmark suite's own logic: the effect records it hands qvrender
(against the layout that dsp/effect_records.h asserts), SoX's comparable
curve, the figures and the goals."""

import os
import re
import struct
import sys

import pytest

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path.insert(0, os.path.join(ROOT, "bench", "suite"))

import effect_setup  # noqa: E402
import goals  # noqa: E402
import stats  # noqa: E402


def declared_layout():
    """{(record, field): offset} and {record: size} from the header's static_asserts."""
    with open(os.path.join(ROOT, "dsp", "effect_records.h")) as f:
        text = f.read()
    offsets = {(m[0], m[1]): int(m[2]) for m in re.findall(r"offsetof\((\w+), (\w+)\) == (\d+)", text)}
    sizes = {m[0]: int(m[1]) for m in re.findall(r"sizeof\((\w+)\) == (\d+)", text)}
    return offsets, sizes


OFFSETS, SIZES = declared_layout()
both = lambda values: [v for v in values for _ in range(2)]  # left, right per band


@pytest.mark.parametrize("field,fmt,expected", [
    ("lastEqOn", "<i", [1]),
    ("lastEqGain", "<62f", both(effect_setup.LAST_EQ)),
    ("crossoverOn", "<i", [1]),
    ("crossoverHzLeft", "<3i", effect_setup.CROSSOVER_HZ),
    ("bandVolumeLeft", "<4i", effect_setup.BAND_VOLUME),
    ("crossoverHzRight", "<3i", effect_setup.CROSSOVER_HZ),
    ("bandVolumeRight", "<4i", effect_setup.BAND_VOLUME),
    ("compressorOn", "<i", [1]),
    ("compressorNormalFactor", "<4f", [60.0] * 4),
    ("compressorThreshold", "<4f", [-24.0] * 4),
    ("compressorAgcRange", "<4f", [6.0] * 4),
    ("compressorAttack", "<4f", [5.0] * 4),
    ("compressorRelease", "<4f", [100.0] * 4),
    ("myEqOn", "<i", [1]),
    ("myEqGain", "<62f", both(effect_setup.MY_EQ)),
    ("drcEqOn", "<i", [0]),
    ("expanderOn", "<i", [1]),
    ("expanderNormalFactor", "<4f", [50.0] * 4),
    ("expanderThreshold", "<4f", [-50.0] * 4),
    ("expanderAttack", "<4f", [5.0] * 4),
    ("expanderRelease", "<4f", [100.0] * 4),
    ("drcFlag", "<i", [0]),
])
def test_every_effect_record_holds_each_field_at_its_declared_offset(field, fmt, expected):
    record = effect_setup.effect_params()
    assert len(record) == SIZES["EffectParams"]
    values = struct.unpack_from(fmt, record, OFFSETS[("EffectParams", field)])
    assert list(values) == pytest.approx(expected, abs=1e-4)


def test_the_built_in_curve_is_off_so_that_lastEq_designs_the_bands():
    assert struct.unpack_from("<i", effect_setup.effect_params(), 0) == (0,)


def test_every_eq_gain_is_within_the_players_range_and_not_all_flat():
    gains = effect_setup.LAST_EQ + effect_setup.MY_EQ
    assert all(-10 <= g <= 10 for g in gains)
    assert sum(abs(g) > 3 for g in effect_setup.LAST_EQ) > 10
    assert effect_setup.LAST_EQ != effect_setup.MY_EQ


def test_sox_bands_take_the_gains_that_design_the_equalizer():
    effects = effect_setup.sox_effects()
    gains = [float(effects[i + 3]) for i, e in enumerate(effects) if e == "equalizer"]
    assert gains == pytest.approx(effect_setup.LAST_EQ)


def test_wide_and_reverb_record_turns_both_on():
    record = effect_setup.qbs_params()
    assert len(record) == SIZES["QbsParams"]
    wide_on, wide_mode, surround, bass, reverb_on, preset = struct.unpack_from("<6i", record, 0)
    assert (wide_on, reverb_on) == (1, 1)
    assert 0 <= surround <= 10 and 0 <= bass <= 10 and 0 <= preset <= 2 and wide_mode in (0, 1)


@pytest.mark.parametrize("level,out", [
    (-90, -104.0),  # expander: 40 dB under its threshold at slope 0.5, compressor lifts 6
    (-70, -74.0),
    (-50, -44.0),   # at the expander's threshold: only the compressor's lift
    (-34, -28.0),   # lift still at its ceiling: (-24 - -34) * 0.6 = 6
    (-24, -24.0),   # the compressor's threshold
    (0, -14.4),     # 24 dB above it at slope 0.6
])
def test_sox_curve_is_the_compressor_and_expander_as_one_transfer_function(level, out):
    effects = effect_setup.sox_effects()
    curve = effects[effects.index("mcompand") + 1].split(" 6:")[1].split(",")
    points = dict(zip(map(float, curve[0::2]), map(float, curve[1::2])))
    assert points[level] == pytest.approx(out)


def test_sox_chain_has_31_bands_four_compander_bands_and_reverb():
    effects = effect_setup.sox_effects()
    assert effects.count("equalizer") == 31
    at = effects.index("mcompand")
    assert effects[at + 2::2][:3] == [str(hz) for hz in effect_setup.CROSSOVER_HZ]
    assert effects[at + 1::2][:4] == [effects[at + 1]] * 4
    assert effects[-4] == "reverb"


@pytest.mark.parametrize("values,median,low,high", [
    ([3, 1, 2], 2, 1, 3),
    ([4, 1, 3, 2], 2.5, 1, 4),
    ([7], 7, 7, 7),
    ([5, 5, 1, 9, 5], 5, 1, 9),
])
def test_figure_is_the_median_with_min_and_max(values, median, low, high):
    fig = stats.figure(values)
    assert (fig["median"], fig["min"], fig["max"]) == (median, low, high)
    assert fig["runs"] == values


def test_ratio_is_taken_round_by_round():
    s = stats.Series()
    for a, b in [(2.0, 1.0), (9.0, 3.0), (4.0, 4.0)]:
        s.add("a", a)
        s.add("b", b)
    fig = s.ratio("a", "b")
    assert fig["runs"] == [2.0, 3.0, 1.0] and fig["median"] == 2.0


def test_ratio_skips_a_round_without_a_time_and_says_when_no_round_has_one():
    partial = stats.ratios([2.0, 3.0], [0.0, 1.5])
    assert partial["runs"] == [2.0] and partial["rounds_without_a_time"] == 1
    assert "resolution" in stats.ratios([2.0, 3.0], [0.0, 0.0])["error"]


def test_a_contender_that_fails_keeps_its_reason_and_no_figure():
    s = stats.Series()
    s.add("a", 1.0)
    s.fail("a", "exit 2: cannot open")
    s.add("a", 2.0)
    s.add("b", 1.0)
    assert s.figure("a") == {"error": "exit 2: cannot open"}
    assert s.ratio("b", "a") == {"error": "exit 2: cannot open"}
    assert stats.ok(s.figure("b"))


def fig(median, low, high):
    return {"median": median, "min": low, "max": high, "runs": [low, median, high]}


@pytest.mark.parametrize("comparison,target,figure,met,straddles", [
    ("at least", 150, fig(160, 155, 170), True, False),
    ("at least", 150, fig(149, 140, 155), False, True),
    ("at least", 150, fig(150, 150, 151), True, False),
    ("at most", 10, fig(10, 9, 10), True, False),
    ("at most", 10, fig(12, 8, 14), False, True),
    ("under", 1, fig(1, 0.5, 1), False, True),
    ("under", 40, fig(30, 28, 31), True, False),
])
def test_goal_is_judged_on_the_median_and_says_when_runs_straddle(comparison, target, figure, met, straddles):
    entry = goals._judge("g", target, figure, comparison, "u")
    assert entry["met"] is met
    assert ("note" in entry) is straddles


def test_goal_without_a_figure_is_neither_met_nor_failed():
    entry = goals._judge("g", 1, stats.failed("bench/player/measure is not in this tree"), "under", "%")
    assert entry["met"] is None and "not in this tree" in entry["note"]


def test_overhead_goal_takes_the_worst_format_and_names_the_missing_ones():
    results = {"decode": {"native": {
        "mp3": {"engine_overhead_percent": fig(4, 3, 5)},
        "ape": {"engine_overhead_percent": fig(12, 11, 13)},
        "wma": {"engine_overhead_percent": stats.failed("decode_bench: exit 2")},
    }}}
    entry = [g for g in goals.evaluate(results) if g["goal"].endswith("every format, native")][0]
    assert entry["worst_format"] == "ape" and entry["met"] is False and "wma" in entry["note"]
    results["decode"]["native"]["ape"]["engine_overhead_percent"] = fig(6, 5, 7)
    entry = [g for g in goals.evaluate(results) if g["goal"].endswith("every format, native")][0]
    assert entry["met"] is None and entry["worst_format"] == "ape"


@pytest.mark.parametrize("cpu,memory,active,cpu_met,memory_met", [
    (0.5, 20, True, True, True),
    (5.5, 20, True, False, True),
    (5.5, 20, False, False, None),  # a miss with effects off stands; a pass says nothing of the goal
    (0.5, 50, False, None, False),
])
def test_player_goals_hold_only_with_every_effect_on(cpu, memory, active, cpu_met, memory_met):
    results = {"player": {"cpu_percent_of_one_core": fig(cpu, cpu, cpu), "peak_private_mb": fig(memory, memory, memory),
                          "all_effects_active": active}}
    met = {g["goal"].split(": ")[1]: g["met"] for g in goals.evaluate(results) if g["goal"].startswith("Player")}
    assert met == {"CPU of one core": cpu_met, "peak private memory": memory_met}
