"""The effect records as the player keeps them in the registry: the raw
EffectParams (1240 bytes) and QbsParams (40 bytes) records turned into the
per-user values the options load at start-up, as .reg text.

Float fields are stored as the DWORD of their IEEE single bit pattern."""

import struct

PLAYER_KEY = "HKEY_CURRENT_USER\\Software\\HALVORN\\QuoviraPlayer\\MP3"
TESTER_KEY = "HKEY_CURRENT_USER\\Software\\HALVORN\\QuoviraTester\\MP3"
EFFECT_PARAMS_SIZE = 1240
QBS_PARAMS_SIZE = 40
BANDS = 31
QUARTERS = ("L", "ML", "MH", "H")
QBS_NAMES = ("QBS WIDE Enable", "QBS WIDE Mode", "QBS WIDE Surround", "QBS WIDE Bass", "QBS REVERB Enable",
             "QBS REVERB Preset", "QBS REVERB Feedback", "QBS REVERB Short delay", "QBS REVERB Long delay")


def _float_dword(value):
    return struct.unpack("<I", struct.pack("<f", value))[0]


def _int_dword(value):
    return value & 0xFFFFFFFF


class _Reader:
    def __init__(self, data):
        self.data, self.at = data, 0

    def ints(self, n):
        out = struct.unpack_from("<%di" % n, self.data, self.at)
        self.at += 4 * n
        return list(out)

    def floats(self, n):
        out = struct.unpack_from("<%df" % n, self.data, self.at)
        self.at += 4 * n
        return list(out)

    def eq_set(self):
        on, _ = self.ints(2)
        gains = self.floats(BANDS * 2)  # band by band, left then right
        return on, gains[0::2], gains[1::2]


def decode_effect_params(data):
    if len(data) != EFFECT_PARAMS_SIZE:
        raise ValueError("an EffectParams record has %d bytes, not %d" % (EFFECT_PARAMS_SIZE, len(data)))
    r = _Reader(data)
    p = {}
    p["qvEqOn"], _, _ = r.eq_set()
    p["lastEqOn"], p["lastEqLeft"], p["lastEqRight"] = r.eq_set()
    p["crossoverOn"], = r.ints(1)
    p["crossoverHzLeft"], p["bandVolumeLeft"] = r.ints(3), r.ints(4)
    p["crossoverHzRight"], p["bandVolumeRight"] = r.ints(3), r.ints(4)
    p["compressorOn"], = r.ints(1)
    for name in ("NormalFactor", "Threshold", "AgcRange", "Attack", "Release"):
        p["compressor" + name] = r.floats(4)
    p["myEqOn"], p["myEqLeft"], p["myEqRight"] = r.eq_set()
    p["drcEqOn"], _, _ = r.eq_set()
    p["expanderOn"], = r.ints(1)
    for name in ("NormalFactor", "Threshold", "Attack", "Release"):
        p["expander" + name] = r.floats(4)
    return p


def decode_qbs_params(data):
    if len(data) != QBS_PARAMS_SIZE:
        raise ValueError("a QbsParams record has %d bytes, not %d" % (QBS_PARAMS_SIZE, len(data)))
    return struct.unpack("<10i", data)[:9]


def _section(key, values):
    lines = ["[%s]" % key]
    lines += ['"%s"=dword:%08x' % (name, value) for name, value in values]
    return "\r\n".join(lines) + "\r\n\r\n"


def registry_text(effect_params, qbs_params):
    """The .reg body (without its header line) that makes the player load
    these records: the player's key and the tester key of the second
    user equalizer (MyEq)."""
    p = decode_effect_params(effect_params)
    player = [(name, _int_dword(v)) for name, v in zip(QBS_NAMES, decode_qbs_params(qbs_params))]
    player.append(("LastEqEnable", _int_dword(p["lastEqOn"])))
    for side, gains in (("L", p["lastEqLeft"]), ("R", p["lastEqRight"])):
        player += [("Last Equalizer Band %s%d" % (side, b + 1), _float_dword(g)) for b, g in enumerate(gains)]
    player.append(("QvEqEnable", _int_dword(p["qvEqOn"])))
    player.append(("MyEqEnable", _int_dword(p["myEqOn"])))
    player.append(("XoverEnable", _int_dword(p["crossoverOn"])))
    for side in ("Left", "Right"):
        s = side[0]
        player += [("Xover Freq Band %s%d" % (s, i + 1), _int_dword(v)) for i, v in enumerate(p["crossoverHz" + side])]
        player += [("Xover Vol %s%d" % (s, i + 1), _int_dword(v)) for i, v in enumerate(p["bandVolume" + side])]
    player.append(("CompressorEnable", _int_dword(p["compressorOn"])))
    for field, label in (("NormalFactor", "Norm Fact"), ("Threshold", "Thre"), ("AgcRange", "AGC"),
                         ("Attack", "Att Time"), ("Release", "Rel Time")):
        player += [("Compressor %s %s" % (label, q), _float_dword(v))
                   for q, v in zip(QUARTERS, p["compressor" + field])]
    player.append(("ExpanderEnable", _int_dword(p["expanderOn"])))
    for field, label in (("NormalFactor", "Norm Fact"), ("Threshold", "Thre"), ("Attack", "Att Time"),
                         ("Release", "Rel Time")):
        player += [("Expander %s %s" % (label, q), _float_dword(v)) for q, v in zip(QUARTERS, p["expander" + field])]

    tester = [("MyEqEnable", _int_dword(p["myEqOn"]))]
    for side, gains in (("L", p["myEqLeft"]), ("R", p["myEqRight"])):
        tester += [("Equalizer Band %s%d" % (side, b + 1), _float_dword(g)) for b, g in enumerate(gains)]
    return _section(PLAYER_KEY, player) + _section(TESTER_KEY, tester)


def every_effect_on():
    """Records with every effect on, for a run without records given: both
    user equalizers (LastEq and MyEq, different curves), the crossover with
    band gains, compressor and expander, WIDE and REVERB."""
    import math

    def eq_set(on, shift):
        gains = [round(6.0 * math.sin(b * 0.7 + shift), 2) for b in range(BANDS)]
        return struct.pack("<ii62f", on, 0, *[g for g in gains for _ in (0, 1)])

    four = lambda v: [v] * 4  # noqa: E731
    effects = b"".join([
        eq_set(0, 0.0),  # QvEq: the built-in curve, left off
        eq_set(1, 1.3),  # LastEq
        struct.pack("<i3i4i3i4i", 1, 120, 500, 4000, 120, 90, 100, 110, 120, 500, 4000, 120, 90, 100, 110),
        struct.pack("<i20f", 1, *four(60.0), *four(-24.0), *four(6.0), *four(5.0), *four(100.0)),
        eq_set(1, 2.6),  # MyEq
        eq_set(0, 0.0),  # DrcEq
        struct.pack("<i16f", 1, *four(50.0), *four(-50.0), *four(5.0), *four(100.0)),
        struct.pack("<i", 0),
    ])
    qbs = struct.pack("<10i", 1, 1, 7, 6, 1, 1, 0, 0, 0, 0)
    assert len(effects) == EFFECT_PARAMS_SIZE and len(qbs) == QBS_PARAMS_SIZE
    return effects, qbs
