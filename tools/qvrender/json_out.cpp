#include "tools/qvrender/json_out.h"

#include <cmath>
#include <cstdio>

namespace qvrender {

std::string JsonString(std::string_view utf8) {
  std::string out = "\"";
  for (unsigned char c : utf8) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
      out += escaped;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

JsonObject& JsonObject::Raw(std::string_view key, std::string_view json) {
  if (!body_.empty()) body_ += ", ";
  body_ += JsonString(key);
  body_ += ": ";
  body_ += json;
  return *this;
}

JsonObject& JsonObject::Int(std::string_view key, int64_t value) { return Raw(key, std::to_string(value)); }

JsonObject& JsonObject::Bool(std::string_view key, bool value) { return Raw(key, value ? "true" : "false"); }

JsonObject& JsonObject::Number(std::string_view key, double value) {
  if (!std::isfinite(value)) return Raw(key, "null");
  char text[64];
  std::snprintf(text, sizeof text, "%.3f", value);
  return Raw(key, text);
}

JsonObject& JsonObject::Text(std::string_view key, std::string_view utf8) { return Raw(key, JsonString(utf8)); }

}  // namespace qvrender
