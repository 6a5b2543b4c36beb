// INI reading (skins, presets, PLS): ReadIniValue on any bytes stays within
// its output and always terminates it; where the text has no long lines, no
// NUL bytes and no byte-order mark, the playlist's one-pass section index
// finds exactly what ReadIniValue finds. The first line names the section
// and the key, separated by a tab.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/skin/ini_text.h"
#include "platform/text/utf16.h"
#include "playlist/playlist_text.h"
#include "playlist/pls_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string input(reinterpret_cast<const char*>(data), size);
  size_t newline = input.find('\n');
  std::string head = newline == std::string::npos ? input : input.substr(0, newline);
  std::string body = newline == std::string::npos ? std::string() : input.substr(newline + 1);
  size_t tab = head.find('\t');
  std::u16string section = qv::FromUtf8(head.substr(0, tab));
  std::u16string key = tab == std::string::npos ? u"File1" : qv::FromUtf8(head.substr(tab + 1));

  qv::IniText ini;
  ini.SetBytes(body);
  char16_t out[qv::kIniValueCapacity + 1];
  out[qv::kIniValueCapacity] = u'#';
  int found = qv::ReadIniValue(&ini, section, key, out);
  if (out[qv::kIniValueCapacity] != u'#') std::abort();
  if (qv::U16Length(out) >= qv::kIniValueCapacity) std::abort();
  if (!found && out[0]) std::abort();

  bool comparable = body.find('\0') == std::string::npos && body.compare(0, 3, "\xEF\xBB\xBF") != 0 &&
                    body.compare(0, 2, "\xFF\xFE") != 0;
  size_t lineStart = 0;
  for (size_t i = 0; i <= body.size() && comparable; ++i) {
    if (i == body.size() || body[i] == '\n') {
      if (i - lineStart >= 258) comparable = false;
      lineStart = i + 1;
    }
  }
  if (comparable) {
    std::u16string text = qv::DecodePlaylistText(body);
    qv::IniSectionIndex index(qv::SplitLines(text), section);
    const std::u16string* value = index.Find(key);
    if ((value != nullptr) != (found == 1)) std::abort();
    if (value && *value != std::u16string(out)) std::abort();
  }
  return 0;
}
