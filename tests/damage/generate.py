#!/usr/bin/env python3
"""Writes the damaged corpus: from valid files of every format the player
reads, copies cut short, with flipped bits, with header fields zeroed and at
their largest, with chunks out of order and sizes that claim more than the
file holds; plus damaged playlists, control layers and skin files. The same
seed and fixtures always give the same corpus. A manifest lists how each
file is run (see damage_common.Corpus).

usage: generate.py FIXTURES_DIR SOURCE_DIR OUT_DIR [--seed N]
SOURCE_DIR is the source tree (for the committed MPEG seeds with VBRI and
free-format streams, which no tool here makes)."""
import argparse
import os
import random
import shutil
import sys

import damage_ape
import damage_asf
import damage_flac
import damage_mpeg
import damage_ogg
import damage_text
import damage_wav
from damage_common import Corpus

# (file, level): "full" gets every kind of damage, "fields" cuts, flips and
# header fields, "light" cuts and flips only.
BASES = {
    "wav": [("pcm_s16_8k_mono.wav", "full"), ("pcm_u8_22k_stereo.wav", "light"), ("pcm_s24_48k_stereo.wav", "light"),
            ("plug_s32_44k_stereo.wav", "light"), ("mulaw_8k_mono.wav", "fields"), ("alaw_8k_mono.wav", "light"),
            ("ima_adpcm_22k_mono.wav", "fields"), ("ms_adpcm_22k_stereo.wav", "fields"), ("gsm_8k_mono.wav", "light")],
    "mpeg": [("mpeg1_l3_cbr.mp3", "full"), ("mpeg1_l3_vbr.mp3", "full"), ("mpeg2_l3_cbr.mp3", "light"),
             ("mpeg2_l3_vbr.mp3", "fields"), ("mpeg25_l3_cbr.mp3", "fields"), ("mpeg25_l3_8k_vbr.mp3", "light"),
             ("mpeg1_l2.mp2", "full"), ("mpeg2_l2.mp2", "light"), ("mpeg1_l1.mpa", "fields"), ("mpeg2_l1.mpa", "light"),
             ("mpeg25_l1.mpa", "light"), ("tagged_v1.mp3", "fields"), ("tagged_v2.mp3", "fields")],
    "ogg": [("vorbis_44k_stereo.ogg", "full"), ("vorbis_22k_mono.ogg", "light"), ("vorbis_tags.ogg", "fields"),
            ("vorbis_upper.OGG", "light")],
    "flac": [("flac_44k_stereo.flac", "full"), ("flac_48k_mono_24.flac", "fields"), ("plug_u8_22k_mono.flac", "light"),
             ("plug_nolength.flac", "fields"), ("plug_s32_44k_stereo.flac", "light")],
    "ape": [("plug_s16_44k_stereo_c2.ape", "full"), ("plug_s16_44k_stereo_c1.ape", "light"),
            ("plug_s16_44k_stereo_c3.ape", "light"), ("plug_s16_44k_stereo_c4.ape", "light"),
            ("plug_s16_44k_stereo_c5.ape", "light"), ("plug_u8_22k_mono.ape", "fields"), ("plug_s16_22k_mono.ape", "light")],
    "wma": [("wma_v2_22k_mono_32k.wma", "full"), ("wma_v1_22k_mono_32k.wma", "fields"), ("asf_pcm_u8_22k_mono.wma", "fields"),
            ("wma_v2_44k_stereo_64k.wma", "light")],
}
# The WAV kinds made here that get their header fields damaged too.
SYNTHETIC_LEVELS = {"float32_8k_stereo": "fields", "ext_pcm16_8k_6ch": "fields", "mpeg_l3_in_wav": "fields"}
# Committed seeds from the source tree, by format.
SOURCE_BASES = {"mpeg": [("fuzz/corpus/mpeg/vbri.mp3", "fields")]}
MODULES = {"wav": damage_wav, "mpeg": damage_mpeg, "ogg": damage_ogg, "flac": damage_flac, "ape": damage_ape,
           "wma": damage_asf}
# Every SEEK_EVERY-th damaged audio file is also repositioned before it
# plays, so seek tables and indexes are read in their damaged state.
SEEK_EVERY = 3
# Positions the registry's resume time can hold; each format's first valid
# file is opened at them.
HOSTILE_SEEKS = ("--seek 2147483647", "--seek -2147483648", "--seek-at 50:2147483647")


def read(path):
    with open(path, "rb") as f:
        return f.read()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("fixtures")
    parser.add_argument("source")
    parser.add_argument("out")
    parser.add_argument("--seed", type=int, default=20261211)
    args = parser.parse_args()
    if os.path.isdir(args.out):
        shutil.rmtree(args.out)
    corpus = Corpus(args.out, random.Random(args.seed))

    bases = {fmt: [(os.path.join(args.fixtures, name), level) for name, level in files] for fmt, files in BASES.items()}
    for fmt, files in SOURCE_BASES.items():
        bases[fmt] += [(os.path.join(args.source, name), level) for name, level in files]
    synthetic = damage_wav.synthetic_bases(read(os.path.join(args.fixtures, "mpeg1_l3_cbr.mp3")),
                                           read(os.path.join(args.fixtures, "mpeg1_l2.mp2")))

    good = []
    damaged_by_format = {}
    for fmt, files in sorted(bases.items()):
        items = [(os.path.basename(p), read(p), level) for p, level in files]
        if fmt == "wav":
            items += [(stem + ".wav", data, SYNTHETIC_LEVELS.get(stem, "light")) for stem, data in sorted(synthetic.items())]
        first = len(corpus.cases)
        for i, (name, data, level) in enumerate(items):
            stem, ext = os.path.splitext(name)
            base = corpus.add(stem, "base", ext, data)
            good.append(base)
            if i == 0:
                for n, seek in enumerate(HOSTILE_SEEKS):
                    corpus.add(stem, "hostile_seek_%d" % n, ext, data, args=seek)
            if fmt == "ogg":
                other = read(os.path.join(args.fixtures, "vorbis_22k_mono.ogg"))
                MODULES[fmt].damage(stem, ext, data, corpus, level, other)
            else:
                MODULES[fmt].damage(stem, ext, data, corpus, level)
        damaged_by_format[fmt] = [c[0] for c in corpus.cases[first:] if ".base." not in c[0] and ".hostile_" not in c[0]]

    for i, (name, tool, extra) in enumerate(corpus.cases):
        if tool == "render" and not extra and ".base." not in name and i % SEEK_EVERY == 0:
            corpus.cases[i] = (name, tool, "--seek 1000")

    playable = [g for g in good if g.endswith((".wav", ".mp3", ".ogg", ".flac"))]
    damage_text.playlists(corpus, playable, damaged_by_format)
    bad_pictures = damage_text.skins(corpus)
    damage_text.control_layers(corpus, bad_pictures)
    corpus.write_manifest()
    tools = {}
    for _, tool, _ in corpus.cases:
        tools[tool] = tools.get(tool, 0) + 1
    print("damaged corpus: %d files (%s) in %s" % (
        len(corpus.cases), ", ".join("%s %d" % kv for kv in sorted(tools.items())), args.out))


if __name__ == "__main__":
    main()
