// A small JSON writer: one object, keys in the order they are added.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qvrender {

std::string JsonString(std::string_view utf8);

class JsonObject {
 public:
  JsonObject& Raw(std::string_view key, std::string_view json);
  JsonObject& Int(std::string_view key, int64_t value);
  JsonObject& Bool(std::string_view key, bool value);
  JsonObject& Number(std::string_view key, double value);
  JsonObject& Text(std::string_view key, std::string_view utf8);
  std::string Str() const { return "{" + body_ + "}"; }

 private:
  std::string body_;
};

}  // namespace qvrender
