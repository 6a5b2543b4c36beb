#include "app/skin/control_layer.h"

#include "app/skin/decimal.h"

namespace qv {

namespace {
std::vector<std::u16string_view> SplitFields(std::u16string_view value) {
  std::vector<std::u16string_view> fields;
  size_t start = 0;
  for (;;) {
    size_t comma = value.find(u',', start);
    fields.push_back(value.substr(start, comma == std::u16string_view::npos ? value.npos : comma - start));
    if (comma == std::u16string_view::npos) break;
    start = comma + 1;
  }
  return fields;
}

std::vector<ControlEntry> ReadSection(const ControlValueReader& read, std::u16string_view section,
                                      size_t pictureCount, int maxEntries) {
  std::vector<ControlEntry> entries;
  for (int n = 1; n <= maxEntries; ++n) {
    std::u16string key;
    for (char c : std::to_string(n)) key += static_cast<char16_t>(c);
    std::u16string value = read(section, key);
    if (value.empty()) break;
    entries.push_back(ParseControlEntry(value, pictureCount));
    entries.back().number = n;
  }
  return entries;
}
}  // namespace

ControlEntry ParseControlEntry(std::u16string_view value, size_t pictureCount) {
  std::vector<std::u16string_view> fields = SplitFields(value);
  auto field = [&](size_t i) { return i < fields.size() ? fields[i] : std::u16string_view(); };
  ControlEntry entry;
  entry.name = std::u16string(field(0));
  entry.x = ParseDecimalPrefix(field(1));
  entry.y = ParseDecimalPrefix(field(2));
  for (size_t i = 0; i < pictureCount; ++i) entry.pictures.emplace_back(field(3 + i));
  return entry;
}

ControlLayer ReadControlLayer(const ControlValueReader& read) {
  ControlLayer layer;
  // Push buttons have no numbered slots; the count only bounds a runaway file.
  constexpr int kMaxButtonEntries = 1000;
  layer.buttons = ReadSection(read, kButtonSection, kButtonPictureCount, kMaxButtonEntries);
  layer.radios = ReadSection(read, kRadioSection, kRadioPictureCount, kMaxRadioEntries);
  return layer;
}

std::vector<std::u16string> ButtonCreatePictures(const ControlEntry& entry) {
  const auto& p = entry.pictures;
  auto at = [&](size_t i) { return i < p.size() ? p[i] : std::u16string(); };
  return {at(0), at(0), at(1), at(2), at(0)};
}

}  // namespace qv
