#include "engine/plugins/wma/asf_tags.h"

#include <algorithm>
#include <limits>
#include <string_view>

#include "engine/plugins/wma/asf_bytes.h"

namespace qv {

namespace {

constexpr size_t kContentDescriptionFixedBytes = 34;
constexpr size_t kExtendedFixedBytes = 26;

enum ValueType : uint16_t { kText = 0, kBytes = 1, kBool = 2, kDword = 3, kQword = 4, kWord = 5 };

// UTF-16LE bytes into a tag field: at most kTagChars - 1 characters, always
// terminated; an embedded terminator ends the text.
void CopyText(const uint8_t* bytes, size_t length, char16_t* field) {
  const size_t chars = std::min(length / 2, kTagChars - 1);
  size_t i = 0;
  for (; i < chars; ++i) {
    const char16_t c = Le16(bytes + 2 * i);
    if (c == 0) break;
    field[i] = c;
  }
  std::fill(field + i, field + kTagChars, u'\0');
}

// A descriptor name equals `name` when its characters up to the terminator
// (or its end) are those of `name`.
bool NameIs(const uint8_t* bytes, size_t length, std::u16string_view name) {
  size_t chars = length / 2;
  for (size_t i = 0; i < chars; ++i)
    if (Le16(bytes + 2 * i) == 0) chars = i;
  if (chars != name.size()) return false;
  for (size_t i = 0; i < chars; ++i)
    if (Le16(bytes + 2 * i) != name[i]) return false;
  return true;
}

// The decimal value at the start of a UTF-16LE text: blanks, a sign and
// digits, as a C library would read it; 0 when there are no digits.
int32_t DecimalValue(const uint8_t* bytes, size_t length) {
  const size_t chars = length / 2;
  size_t i = 0;
  while (i < chars && (Le16(bytes + 2 * i) == u' ' || Le16(bytes + 2 * i) == u'\t')) ++i;
  bool negative = false;
  if (i < chars && (Le16(bytes + 2 * i) == u'-' || Le16(bytes + 2 * i) == u'+')) negative = Le16(bytes + 2 * i++) == u'-';
  int64_t value = 0;
  for (; i < chars; ++i) {
    const char16_t c = Le16(bytes + 2 * i);
    if (c < u'0' || c > u'9') break;
    value = std::min<int64_t>(value * 10 + (c - u'0'), int64_t(std::numeric_limits<int32_t>::max()) + 1);
  }
  if (negative) value = -value;
  return static_cast<int32_t>(
      std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

// An integer value of its type, when the value holds it.
bool IntegerValue(uint16_t type, const uint8_t* value, size_t length, int32_t* out) {
  switch (type) {
    case kBool:
    case kDword:
    case kQword:  // the low 32 bits
      if (length < 4) return false;
      *out = static_cast<int32_t>(Le32(value));
      return true;
    case kWord:
      if (length < 2) return false;
      *out = Le16(value);
      return true;
    default:
      return false;
  }
}

void ReadNumber(uint16_t type, const uint8_t* value, size_t length, int32_t* field) {
  if (type == kText)
    *field = DecimalValue(value, length);
  else
    IntegerValue(type, value, length, field);
}

}  // namespace

void ReadContentDescription(const uint8_t* o, size_t size, TagInfo* tags) {
  if (size < kContentDescriptionFixedBytes) return;
  const size_t titleLength = Le16(o + 24), authorLength = Le16(o + 26);
  const size_t room = size - kContentDescriptionFixedBytes;
  if (titleLength > room) return;
  CopyText(o + kContentDescriptionFixedBytes, titleLength, tags->Title);
  if (authorLength > room - titleLength) return;
  CopyText(o + kContentDescriptionFixedBytes + titleLength, authorLength, tags->Artist);
}

void ReadExtendedContentDescription(const uint8_t* o, size_t size, TagInfo* tags) {
  if (size < kExtendedFixedBytes) return;
  const unsigned count = Le16(o + 24);
  size_t at = kExtendedFixedBytes;
  for (unsigned i = 0; i < count; ++i) {
    if (size - at < 2) return;
    const size_t nameLength = Le16(o + at);
    if (size - at - 2 < nameLength + 4) return;
    const uint8_t* name = o + at + 2;
    const uint16_t type = Le16(name + nameLength);
    const size_t valueLength = Le16(name + nameLength + 2);
    const size_t valueAt = at + 2 + nameLength + 4;
    if (valueLength > size - valueAt) return;
    const uint8_t* value = o + valueAt;
    if (NameIs(name, nameLength, u"WM/TrackNumber"))
      ReadNumber(type, value, valueLength, &tags->Track);
    else if (NameIs(name, nameLength, u"WM/Year"))
      ReadNumber(type, value, valueLength, &tags->Year);
    else if (NameIs(name, nameLength, u"WM/AlbumTitle") && type == kText)
      CopyText(value, valueLength, tags->Album);
    else if (NameIs(name, nameLength, u"WM/Genre") && type == kText)
      CopyText(value, valueLength, tags->Genre);
    at = valueAt + valueLength;
  }
}

}  // namespace qv
