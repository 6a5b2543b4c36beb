// What the system's audio codecs take on trust in a compressed wave format:
// they size their work from its block layout (channels, block alignment and,
// for ADPCM, samples per block) and divide by it, without checking that the
// fields agree. A damaged file's format must be refused before it reaches
// them.
#pragma once

#include "platform/acm/compression.h"

namespace qv {

// False when the record is too short for its format's fields, has no
// channels, rate or block alignment, or (ADPCM) holds a samples-per-block
// count its blocks cannot carry.
bool CodecBlockLayoutSane(const WaveFormatBytes& format);

}  // namespace qv
