"""Every effect on: the raw parameter records qvrender takes (--effect-params,
--qbs-params), and SoX's comparable chain with the same settings.

EffectParams is 1240 bytes and QbsParams 40, little-endian 32-bit fields in
the order of dsp/effect_records.h.
"""

import math
import struct

EQ_CENTRES = [20, 25, 31.5, 40, 50, 63, 80, 100, 125, 160, 200, 250, 315, 400, 500, 630, 800, 1000, 1250, 1600,
              2000, 2500, 3150, 4000, 5000, 6300, 8000, 10000, 12500, 16000, 20000]
EQ_Q = 4.333365529969349  # third-octave bands
CROSSOVER_HZ = [120, 500, 4000]
BAND_VOLUME = [120, 90, 100, 110]  # percent
COMPRESSOR = dict(normal=60.0, threshold=-24.0, agc=6.0, attack=5.0, release=100.0)
EXPANDER = dict(normal=50.0, threshold=-50.0, attack=5.0, release=100.0)
SPECTRUM_BOTH = 3
EFFECT_PARAMS_SIZE = 1240
QBS_PARAMS_SIZE = 40


def eq_curve(shift):
    """A gain per band in dB, within the player's -10..+10 range."""
    return [round(6.0 * math.sin(band * 0.7 + shift), 2) for band in range(len(EQ_CENTRES))]


# Both user equalizers on, with different curves; the first enabled set,
# LastEq, designs the bands. QvEq (the built-in curve) stays off.
LAST_EQ = eq_curve(1.3)
MY_EQ = eq_curve(2.6)


def _eq_set(on, gains):
    values = []
    for g in gains:
        values += [g, g]  # left, right
    return struct.pack("<ii62f", on, 0, *values)


def effect_params():
    four = lambda v: [v] * 4
    record = b"".join([
        _eq_set(0, [0.0] * len(EQ_CENTRES)),  # QvEq
        _eq_set(1, LAST_EQ),
        struct.pack("<i3i4i3i4i", 1, *CROSSOVER_HZ, *BAND_VOLUME, *CROSSOVER_HZ, *BAND_VOLUME),
        struct.pack("<i20f", 1, *four(COMPRESSOR["normal"]), *four(COMPRESSOR["threshold"]), *four(COMPRESSOR["agc"]),
                    *four(COMPRESSOR["attack"]), *four(COMPRESSOR["release"])),
        _eq_set(1, MY_EQ),
        _eq_set(0, [0.0] * len(EQ_CENTRES)),  # DrcEq
        struct.pack("<i16f", 1, *four(EXPANDER["normal"]), *four(EXPANDER["threshold"]), *four(EXPANDER["attack"]),
                    *four(EXPANDER["release"])),
        struct.pack("<i", 0),  # drcFlag
    ])
    assert len(record) == EFFECT_PARAMS_SIZE, len(record)
    return record


def qbs_params():
    # WIDE on with the direct mid, surround 7, bass 6; REVERB on, preset 1.
    record = struct.pack("<10i", 1, 1, 7, 6, 1, 1, 0, 0, 0, 0)
    assert len(record) == QBS_PARAMS_SIZE
    return record


def _transfer_points():
    """The compressor and expander together as one static curve (input dB,
    output dB): the expander's slope below its threshold, the compressor's
    AGC lift below its threshold and its ratio above."""
    points = []
    for level in (-90, -70, -50, -34, -24, 0):
        lift = min(COMPRESSOR["agc"], (COMPRESSOR["threshold"] - level) * COMPRESSOR["normal"] / 100)
        expand = min(0.0, (level - EXPANDER["threshold"]) * EXPANDER["normal"] / 100)
        points += [level, round(level + lift + expand, 2)]
    return ",".join(f"{p:g}" for p in points)


def sox_effects():
    """SoX's comparable chain: 31 peaking bands at the same centres, Q and
    gains, a four-band compander at the same crossovers, and reverb."""
    args = []
    for centre, gain in zip(EQ_CENTRES, LAST_EQ):
        args += ["equalizer", f"{centre:g}", f"{EQ_Q:.3f}q", f"{gain:g}"]
    band = f"{COMPRESSOR['attack'] / 1000:g},{COMPRESSOR['release'] / 1000:g} 6:{_transfer_points()}"
    args += ["mcompand", band]
    for hz in CROSSOVER_HZ:
        args += [str(hz), band]
    args += ["reverb", "50", "50", "100"]
    return args
