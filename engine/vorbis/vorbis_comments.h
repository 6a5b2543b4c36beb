// Vorbis comments as the engine keeps them: seven slots of 64 UTF-16 units
// (63 characters and the terminator), filled from the comments whose keys
// match the slot names in any letter case, and turned into a TagInfo.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/engine_api.h"

struct vorbis_comment;

namespace qv {

constexpr size_t kCommentSlotChars = 64;

enum class CommentSlot { Date, TrackNumber, Title, Artist, Album, Genre, Comment, Count };

struct CommentSlots {
  char16_t text[static_cast<size_t>(CommentSlot::Count)][kCommentSlotChars] = {};
  const char16_t* operator[](CommentSlot slot) const { return text[static_cast<size_t>(slot)]; }
};

// Decodes `length` bytes of UTF-8 into `out` (capacity units with the
// terminator): one, two and three-byte sequences; a sequence cut short by
// the end of the value, a missing continuation byte, a stray continuation
// byte or a four-byte sequence (beyond 16 bits) ends the text. Never reads
// past `length`. Returns the characters written.
size_t Utf8ToSlot(const char* utf8, size_t length, char16_t* out, size_t capacity);

// The slots of a comment list; entries without "=" and other keys are
// skipped, and the list is not changed.
CommentSlots ReadCommentSlots(const vorbis_comment& comments);

// Title, Artist, Album, Comment and Genre from their slots and Track from the
// decimal value of TRACKNUMBER; slots that are empty leave the field as it
// was. Year is not written.
void CommentSlotsToTags(const CommentSlots& slots, TagInfo* tags);

}  // namespace qv
