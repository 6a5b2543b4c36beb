#include "app/skin/control_set.h"

#include "platform/text/utf16.h"

namespace qv {

ControlLayer ReadControlLayerFrom(IniFile& ini) {
  std::vector<wchar_t> buffer(SKINLIB_INI_VALUE_CHARS);
  return ReadControlLayer([&](std::u16string_view section, std::u16string_view key) {
    std::u16string s(section), k(key);
    ini.ReadString(buffer.data(), AsWide(s.c_str()), AsWide(k.c_str()), L"");
    return std::u16string(AsU16(buffer.data()));
  });
}

void BuildSkinControls(const ControlLayer& layer, HWND parent, HINSTANCE instance, SkinControls& controls) {
  for (const ControlEntry& entry : layer.buttons) {
    std::vector<std::u16string> p = ButtonCreatePictures(entry);
    auto button = std::make_unique<SkinButton>();
    button->CreateEx(AsWide(entry.name.c_str()), 0, entry.x, entry.y, parent, instance, AsWide(p[0].c_str()),
                     AsWide(p[1].c_str()), AsWide(p[2].c_str()), AsWide(p[3].c_str()), AsWide(p[4].c_str()));
    controls.buttonByName[entry.name] = button.get();
    controls.buttons.push_back(std::move(button));
  }
  for (const ControlEntry& entry : layer.radios) {
    const auto& p = entry.pictures;
    auto radio = std::make_unique<SkinRadio>();
    HWND hwnd = radio->CreateEx(AsWide(entry.name.c_str()), 0, entry.x, entry.y, parent, instance,
                                AsWide(p[0].c_str()), AsWide(p[1].c_str()), AsWide(p[2].c_str()),
                                AsWide(p[3].c_str()), AsWide(p[4].c_str()), AsWide(p[5].c_str()));
    if (entry.number >= 1 && entry.number <= kMaxRadioEntries) controls.radioByEntry[entry.number] = hwnd;
    controls.radioByName[entry.name] = radio.get();
    controls.radios.push_back(std::move(radio));
  }
}

}  // namespace qv
