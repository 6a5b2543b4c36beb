#include "playlist/playlist_text.h"

#include "app/skin/ansi_text.h"
#include "platform/text/utf16.h"

namespace qv {

namespace {

std::u16string FromUtf16Le(std::string_view bytes) {
  std::u16string out(bytes.size() / 2, u'\0');
  for (size_t i = 0; i < out.size(); ++i) {
    auto lo = static_cast<uint8_t>(bytes[2 * i]);
    auto hi = static_cast<uint8_t>(bytes[2 * i + 1]);
    out[i] = static_cast<char16_t>(lo | (hi << 8));
  }
  return out;
}

bool StartsWith(std::string_view bytes, std::string_view mark) { return bytes.substr(0, mark.size()) == mark; }

}  // namespace

bool IsValidUtf8(std::string_view bytes) {
  size_t i = 0;
  while (i < bytes.size()) {
    auto b = static_cast<uint8_t>(bytes[i]);
    size_t extra;
    uint32_t cp;
    uint32_t min;
    if (b < 0x80) {
      ++i;
      continue;
    } else if ((b & 0xE0) == 0xC0) {
      extra = 1, cp = b & 0x1F, min = 0x80;
    } else if ((b & 0xF0) == 0xE0) {
      extra = 2, cp = b & 0x0F, min = 0x800;
    } else if ((b & 0xF8) == 0xF0) {
      extra = 3, cp = b & 0x07, min = 0x10000;
    } else {
      return false;
    }
    if (i + extra >= bytes.size()) return false;
    for (size_t k = 1; k <= extra; ++k) {
      auto c = static_cast<uint8_t>(bytes[i + k]);
      if ((c & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (c & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    i += extra + 1;
  }
  return true;
}

std::u16string DecodePlaylistText(std::string_view bytes) {
  if (StartsWith(bytes, "\xEF\xBB\xBF")) return FromUtf8(bytes.substr(3));
  if (StartsWith(bytes, "\xFF\xFE")) return FromUtf16Le(bytes.substr(2));
  if (bytes.find('\0') != std::string_view::npos) return FromUtf16Le(bytes);
  if (IsValidUtf8(bytes)) return FromUtf8(bytes);
  return DecodeAnsiText(bytes);
}

std::vector<std::u16string_view> SplitLines(std::u16string_view text) {
  std::vector<std::u16string_view> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find(u'\n', start);
    bool last = end == std::u16string_view::npos;
    if (last) end = text.size();
    std::u16string_view line = text.substr(start, end - start);
    if (!last && !line.empty() && line.back() == u'\r') line.remove_suffix(1);
    size_t nul = line.find(u'\0');
    if (nul != std::u16string_view::npos) line = line.substr(0, nul);
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

std::vector<uint8_t> EncodePlaylistText(std::u16string_view text) {
  std::vector<uint8_t> out;
  out.reserve(2 + text.size() * 2 + 64);
  out.push_back(0xFF);
  out.push_back(0xFE);
  auto put = [&out](char16_t c) {
    out.push_back(static_cast<uint8_t>(c & 0xFF));
    out.push_back(static_cast<uint8_t>(c >> 8));
  };
  for (char16_t c : text) {
    if (c == u'\n') put(u'\r');
    put(c);
  }
  return out;
}

}  // namespace qv
