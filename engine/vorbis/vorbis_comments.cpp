#include "engine/vorbis/vorbis_comments.h"

#include <tremor/ivorbiscodec.h>

#include <cstring>
#include <string_view>

#include "platform/text/utf16.h"

namespace qv {

namespace {

constexpr const char* kSlotNames[] = {"DATE", "TRACKNUMBER", "TITLE", "ARTIST", "ALBUM", "GENRE", "COMMENT"};
static_assert(sizeof(kSlotNames) / sizeof(kSlotNames[0]) == static_cast<size_t>(CommentSlot::Count), "slot names");

bool Continuation(uint8_t b) { return (b & 0xC0) == 0x80; }

char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool KeyIs(std::string_view key, const char* name) {
  const size_t n = std::strlen(name);
  if (key.size() != n) return false;
  for (size_t i = 0; i < n; ++i)
    if (UpperAscii(key[i]) != name[i]) return false;
  return true;
}

// Leading blanks, an optional sign and digits, like atoi, without overflow.
int32_t DecimalValue(const char16_t* text) {
  while (*text == u' ' || *text == u'\t') ++text;
  bool negative = false;
  if (*text == u'+' || *text == u'-') negative = *text++ == u'-';
  int64_t value = 0;
  for (; *text >= u'0' && *text <= u'9'; ++text) {
    value = value * 10 + (*text - u'0');
    if (value > INT32_MAX) value = INT32_MAX;
  }
  return static_cast<int32_t>(negative ? -value : value);
}

void CopySlot(const char16_t* slot, char16_t* field) {
  if (slot[0]) U16CopyTruncated(field, kTagChars, slot);
}

}  // namespace

size_t Utf8ToSlot(const char* utf8, size_t length, char16_t* out, size_t capacity) {
  if (capacity == 0) return 0;
  const auto* s = reinterpret_cast<const uint8_t*>(utf8);
  size_t in = 0, written = 0;
  while (in < length && written + 1 < capacity) {
    const uint8_t lead = s[in];
    char16_t c;
    if (lead < 0x80) {
      if (lead == 0) break;
      c = lead;
      in += 1;
    } else if (lead < 0xC0) {
      break;  // a continuation byte where a character should start
    } else if (lead < 0xE0) {
      if (in + 1 >= length || !Continuation(s[in + 1])) break;
      c = static_cast<char16_t>(((lead << 6) & 0x7FF) | (s[in + 1] & 0x3F));
      in += 2;
    } else if (lead < 0xF0) {
      if (in + 2 >= length || !Continuation(s[in + 1]) || !Continuation(s[in + 2])) break;
      c = static_cast<char16_t>(((lead << 12) | ((s[in + 1] << 6) & 0xFFF) | (s[in + 2] & 0x3F)) & 0xFFFF);
      in += 3;
    } else {
      break;  // four bytes: a character a 16-bit unit cannot hold
    }
    out[written++] = c;
  }
  out[written] = 0;
  return written;
}

CommentSlots ReadCommentSlots(const vorbis_comment& comments) {
  CommentSlots slots;
  if (!comments.user_comments || !comments.comment_lengths) return slots;
  for (int i = 0; i < comments.comments; ++i) {
    const char* entry = comments.user_comments[i];
    const int length = comments.comment_lengths[i];
    if (!entry || length <= 0) continue;
    const std::string_view text(entry, static_cast<size_t>(length));
    const size_t equals = text.find('=');
    if (equals == std::string_view::npos) continue;
    const std::string_view key = text.substr(0, equals), value = text.substr(equals + 1);
    for (size_t s = 0; s < static_cast<size_t>(CommentSlot::Count); ++s) {
      if (!KeyIs(key, kSlotNames[s])) continue;
      Utf8ToSlot(value.data(), value.size(), slots.text[s], kCommentSlotChars);
      break;
    }
  }
  return slots;
}

void CommentSlotsToTags(const CommentSlots& slots, TagInfo* tags) {
  CopySlot(slots[CommentSlot::Title], tags->Title);
  CopySlot(slots[CommentSlot::Artist], tags->Artist);
  CopySlot(slots[CommentSlot::Album], tags->Album);
  CopySlot(slots[CommentSlot::Comment], tags->Comment);
  CopySlot(slots[CommentSlot::Genre], tags->Genre);
  if (slots[CommentSlot::TrackNumber][0]) tags->Track = DecimalValue(slots[CommentSlot::TrackNumber]);
}

}  // namespace qv
