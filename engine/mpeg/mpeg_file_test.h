// Whether a file holds MPEG audio, judged from its first 4096 bytes; decides
// whether Engine_GetFileTags reads an ID3 version 1 tag from it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace qv {

constexpr size_t kMpegTestBytes = 4096;

// An ID3 version 2 tag, an RMP3 or MPEG-in-WAVE RIFF file, or two matching
// frame headers one frame apart.
bool LooksLikeMpegAudio(const uint8_t* head, size_t length);
bool IsMpegAudioFile(std::u16string_view path);

}  // namespace qv
