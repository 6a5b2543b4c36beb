// The drop-files block the player posts to itself, read back by the shell's
// own DragQueryFileW as the window reads real drops.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/shell/name_list.h"
#include "platform/text/utf16.h"

namespace qv {
namespace {

std::vector<std::wstring> ReadBack(const std::vector<uint8_t>& block) {
  HGLOBAL memory = GlobalAlloc(GHND, block.size());
  std::memcpy(GlobalLock(memory), block.data(), block.size());
  GlobalUnlock(memory);
  HDROP drop = static_cast<HDROP>(memory);
  std::vector<std::wstring> names;
  UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    UINT length = DragQueryFileW(drop, i, nullptr, 0);
    std::wstring name(length + 1, L'\0');
    DragQueryFileW(drop, i, &name[0], length + 1);
    name.resize(length);
    names.push_back(name);
  }
  POINT point = {};
  EXPECT_TRUE(DragQueryPoint(drop, &point));  // the client area
  EXPECT_EQ(point.x, 10);
  EXPECT_EQ(point.y, 10);
  DragFinish(drop);
  return names;
}

TEST(DropFilesBlockWin32, TheShellReadsTheNamesBack) {
  std::vector<std::u16string> names = {u"C:\\My Music\\a b.mp3", u"Z:\\x.wav", u"C:\\\u00e9t\u00e9.ogg"};
  std::vector<std::wstring> read = ReadBack(BuildDropFilesBlock(names));
  ASSERT_EQ(read.size(), names.size());
  for (size_t i = 0; i < names.size(); ++i) EXPECT_EQ(read[i], AsWide(names[i].c_str()));
}

}  // namespace
}  // namespace qv
