#include "engine/source_ops.h"

#include <array>

#include "engine/cd/cd_source.h"
#include "engine/mpeg/mpeg_source.h"
#include "engine/plugins/plugin_source.h"
#include "engine/vorbis/vorbis_source.h"
#include "engine/wav/wav_source.h"

namespace qv {

namespace {

struct ExtensionRule {
  std::u16string_view lower;
  std::u16string_view upper;
  SourceKind kind;
};

constexpr std::array<ExtensionRule, 10> kExtensions = {{
    {u".flac", u".FLAC", SourceKind::Plugin},
    {u".ape", u".APE", SourceKind::Plugin},
    {u".wma", u".WMA", SourceKind::Plugin},
    {u".mp3", u".MP3", SourceKind::MpegAudio},
    {u".rmp", u".RMP", SourceKind::MpegAudio},
    {u".mp2", u".MP2", SourceKind::MpegAudio},
    {u".mpa", u".MPA", SourceKind::MpegAudio},
    {u".ogg", u".OGG", SourceKind::OggVorbis},
    {u".wav", u".WAV", SourceKind::Wave},
    {u".cda", u".CDA", SourceKind::CdAudio},
}};

}  // namespace

// Plug-ins register their file tag readers first, then Ogg Vorbis comments,
// then the ID3 tag of MPEG audio files.
const SourceKind kFileTagOrder[3] = {SourceKind::Plugin, SourceKind::OggVorbis, SourceKind::MpegAudio};

SourceKind KindForExtension(std::u16string_view extension) {
  for (const auto& rule : kExtensions)
    if (extension == rule.lower || extension == rule.upper) return rule.kind;
  return SourceKind::None;
}

std::u16string_view PathExtension(std::u16string_view path) {
  size_t nameStart = path.find_last_of(u"\\/:");
  nameStart = nameStart == std::u16string_view::npos ? 0 : nameStart + 1;
  size_t dot = path.rfind(u'.');
  if (dot == std::u16string_view::npos || dot < nameStart) return {};
  return path.substr(dot);
}

// MPEG audio, Ogg Vorbis, decoder plug-ins and network streams are not built
// in yet: their extensions fail to open until their tables are added here.
const SourceOps* SourceOpsFor(SourceKind kind) {
  switch (kind) {
    case SourceKind::Wave:
      return &kWavSourceOps;
    case SourceKind::CdAudio:
      return &kCdSourceOps;
    case SourceKind::MpegAudio:
      return &kMpegSourceOps;
    case SourceKind::OggVorbis:
      return &kVorbisSourceOps;
    case SourceKind::Plugin:
      return &kPluginSourceOps;
    default:
      return nullptr;
  }
}

}  // namespace qv
