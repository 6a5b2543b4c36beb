#include "engine/mpeg/id3v1.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "engine/locked_file.h"
#include "platform/text/ansi_text.h"
#include "platform/text/utf16.h"

namespace qv {

namespace {

constexpr size_t kTitleClearChars = 64;

// A fixed field: up to its first NUL, trailing blanks removed, from the
// ANSI code page; always terminated in the record.
void CopyField(const uint8_t* field, size_t width, char16_t* dest) {
  size_t length = 0;
  while (length < width && field[length] != 0) ++length;
  while (length > 0 && field[length - 1] == ' ') --length;
  const std::u16string text = AnsiToU16(std::string_view(reinterpret_cast<const char*>(field), length));
  U16CopyTruncated(dest, kTagChars, text);
  dest[kTagChars - 1] = 0;
}

}  // namespace

bool ParseId3v1(const uint8_t tag[kId3v1Bytes], TagInfo* tags) {
  if (std::memcmp(tag, "TAG", 3) != 0) return false;
  CopyField(tag + 3, 30, tags->Title);
  CopyField(tag + 33, 30, tags->Artist);
  CopyField(tag + 63, 30, tags->Album);
  // The year field need not be terminated: convert a terminated copy.
  char year[5];
  std::memcpy(year, tag + 93, 4);
  year[4] = 0;
  tags->Year = static_cast<int32_t>(std::strtol(year, nullptr, 10));
  // ID3 v1.1: a zero at byte 125 makes byte 126 the track number.
  if (tag[125] == 0) {
    CopyField(tag + 97, 28, tags->Comment);
    tags->Track = tag[126];
  } else {
    CopyField(tag + 97, 30, tags->Comment);
    tags->Track = 0;
  }
  const std::u16string_view genre = Id3v1GenreName(tag[127]);
  U16CopyTruncated(tags->Genre, kTagChars, genre);
  tags->Genre[kTagChars - 1] = 0;
  return true;
}

bool ReadId3v1(std::u16string_view path, TagInfo* tags) {
  std::memset(tags->Title, 0, kTitleClearChars * sizeof(char16_t));
  LockedFile file;
  if (!file.Open(path)) return false;
  const int64_t size = file.Size();
  if (size < static_cast<int64_t>(kId3v1Bytes)) return false;
  const int64_t at = size - static_cast<int64_t>(kId3v1Bytes);
  uint8_t tag[kId3v1Bytes];
  size_t got = 0;
  if (file.Seek(at, LockedFile::Origin::Begin) != at || !file.Read(tag, sizeof tag, &got) || got != sizeof tag)
    return false;
  return ParseId3v1(tag, tags);
}

}  // namespace qv
