// CSkin with the program's built-in pictures, the example skin and skin
// files written here; the control layer of the generated "skin.ini".
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/skin/control_set.h"
#include "app/skin/picture_table.h"
#include "app/skin/skin.h"
#include "app/skin/skin_ini_failure_win32.h"
#include "win32_test_support.h"

namespace {

// The generated artwork, as the Windows program sees the build folder.
std::wstring ArtFolder() {
  std::string unix = QV_ART_DIR;
  std::wstring path = L"Z:";
  for (char c : unix) path += c == '/' ? L'\\' : static_cast<wchar_t>(c);
  return path + L"\\";
}

class GdiplusSession : public ::testing::Environment {
 public:
  void SetUp() override {
    Gdiplus::GdiplusStartupInput input;
    ASSERT_EQ(Gdiplus::GdiplusStartup(&token_, &input, nullptr), Gdiplus::Ok);
  }
  void TearDown() override { Gdiplus::GdiplusShutdown(token_); }

 private:
  ULONG_PTR token_ = 0;
};
const auto* const kGdiplus = ::testing::AddGlobalTestEnvironment(new GdiplusSession);

// Cells a strip holds.
int CellsOf(int slot) {
  switch (slot) {
    case qv::slot::kNumber: return 11;
    case qv::slot::kSmallNumber: return 10;
    case qv::slot::kPlayOption: return 3;
    case qv::slot::kShuffle: return 2;
    case 4: return 3;  // status
    default: return 1;
  }
}

Gdiplus::Color PixelOf(Gdiplus::Bitmap* bitmap, int x, int y) {
  Gdiplus::Color colour;
  bitmap->GetPixel(x, y, &colour);
  return colour;
}

TEST(CSkin, EmptyPathGivesEveryBuiltInPicture) {
  CSkin skin;
  skin.Load(L"");
  ASSERT_NE(skin.GetBackground(), nullptr);
  EXPECT_EQ(skin.GetBackground()->GetWidth(), 261u);
  EXPECT_EQ(skin.GetBackground()->GetHeight(), 383u);
  int filled = 0;
  for (const qv::PictureRow& row : qv::kPictureTable) {
    if (row.slot == 1) {
      EXPECT_FALSE(skin.HasPicture(1)) << "\"Button\" belongs to old skins only";
      continue;
    }
    ASSERT_TRUE(skin.HasPicture(row.slot)) << row.slot;
    tagBMPS p = skin.GetPicture(row.slot);
    ASSERT_NE(p.image, nullptr) << row.slot;
    EXPECT_EQ(p.cellWidth, row.cellWidth);
    EXPECT_EQ(p.cellHeight, row.cellHeight);
    EXPECT_EQ(static_cast<int>(p.image->GetWidth()), row.cellWidth * CellsOf(row.slot)) << row.slot;
    EXPECT_EQ(static_cast<int>(p.image->GetHeight()), row.cellHeight) << row.slot;
    ++filled;
  }
  EXPECT_EQ(filled, 53);
  EXPECT_EQ(skin.GetColour(2), RGB(253, 254, 254));
  EXPECT_EQ(skin.GetColour(3), RGB(197, 255, 155));
  EXPECT_EQ(skin.GetColour(4), 0u);
  EXPECT_EQ(skin.IsDisplayOn(), 1);
  tagBMPS none = skin.GetPicture(45);
  EXPECT_EQ(none.image, nullptr);
  EXPECT_EQ(none.cellWidth, 0);
}

TEST(CSkin, ExampleSkinReplacesEveryPictureAndSetsItsColours) {
  CSkin builtIn;
  builtIn.Load(L"");
  CSkin skin;
  std::wstring path = ArtFolder() + L"skins\\Midnight\\Midnight.qvs";
  skin.Load(path.c_str());
  EXPECT_EQ(skin.GetColour(0), RGB(134, 241, 255));
  EXPECT_EQ(skin.GetColour(1), RGB(176, 160, 255));
  EXPECT_EQ(skin.GetColour(2), RGB(226, 234, 255));
  EXPECT_EQ(skin.GetColour(3), RGB(134, 241, 255));
  ASSERT_NE(skin.GetBackground(), nullptr);
  // Its pictures are its own: the panel colour differs from the built-in one.
  EXPECT_NE(PixelOf(skin.GetBackground(), 100, 200).GetValue(),
            PixelOf(builtIn.GetBackground(), 100, 200).GetValue());
  for (int slot : {qv::slot::kNumber, qv::slot::kVolumeSlider, qv::slot::kAnimationFirst, qv::slot::kSmallNumber}) {
    tagBMPS mine = skin.GetPicture(slot);
    tagBMPS theirs = builtIn.GetPicture(slot);
    ASSERT_NE(mine.image, nullptr) << slot;
    EXPECT_EQ(mine.image->GetWidth(), theirs.image->GetWidth()) << slot;
    EXPECT_NE(PixelOf(mine.image, 0, 0).GetValue(), PixelOf(theirs.image, 0, 0).GetValue()) << slot;
  }
}

TEST(CSkin, SkinFilesThatNameLittleFallBackToTheResources) {
  std::wstring folder = qvtest::MakeTempFolder(L"cskin");
  ASSERT_TRUE(qvtest::WriteSolidBitmap(folder + L"red.bmp", 99, 8, RGB(255, 0, 0)));
  ASSERT_TRUE(qvtest::WriteTextFile(folder + L"old.qvs",
                                    "[Quovira Skin]\r\nVersion=2\r\nNumber=red.bmp\r\nMono=missing.bmp\r\n"
                                    "TitleColor=255, 0,0\r\nSeekColor=255\r\n"));
  CSkin builtIn;
  builtIn.Load(L"");
  CSkin skin;
  skin.Load((folder + L"old.qvs").c_str());
  EXPECT_EQ(skin.GetColour(2), RGB(255, 0, 0));
  EXPECT_EQ(skin.GetColour(3), RGB(197, 255, 155));
  // Version 2: rows 1 to 7 only.
  for (int slot : {43, 44, 71, 0, 4, 5, 1}) EXPECT_TRUE(skin.HasPicture(slot)) << slot;
  for (int slot : {6, 7, 24, 27, 37, 38, 145, 61}) EXPECT_FALSE(skin.HasPicture(slot)) << slot;
  EXPECT_EQ(PixelOf(skin.GetPicture(0).image, 3, 3).GetValue(), Gdiplus::Color(255, 255, 0, 0).GetValue());
  // A file that is not there: the built-in picture.
  EXPECT_EQ(PixelOf(skin.GetPicture(44).image, 30, 2).GetValue(),
            PixelOf(builtIn.GetPicture(44).image, 30, 2).GetValue());
  // Loading again starts from scratch.
  skin.Load(L"");
  EXPECT_TRUE(skin.HasPicture(6));
  EXPECT_FALSE(skin.HasPicture(1));
  EXPECT_EQ(skin.GetColour(2), RGB(253, 254, 254));
}

TEST(CSkin, ParseColourAnswersMinusOneForText) {
  CSkin skin;
  EXPECT_EQ(skin.ParseColour(L"1,2,3"), RGB(1, 2, 3));
  EXPECT_EQ(skin.ParseColour(L"255"), static_cast<COLORREF>(-1));
  EXPECT_EQ(skin.ParseColour(nullptr), static_cast<COLORREF>(-1));
}

TEST(ControlLayer, GeneratedSkinIniBuildsEveryControlFromPicturesThatExist) {
  std::wstring install = ArtFolder() + L"install\\";
  std::wstring iniPath = qv::ControlLayerPath(install);
  ASSERT_TRUE(qv::ControlLayerReadable(iniPath));
  EXPECT_FALSE(qv::ControlLayerReadable(qv::ControlLayerPath(install + L"nowhere\\")));
  EXPECT_EQ(qv::ControlLayerPath(std::wstring(300, L'f')), L"");

  IniFile ini;
  ASSERT_TRUE(ini.Load(iniPath.c_str()));
  qv::ControlLayer layer = qv::ReadControlLayerFrom(ini);
  ASSERT_EQ(layer.radios.size(), 11u);
  ASSERT_GE(layer.buttons.size(), 12u);
  for (const auto* list : {&layer.buttons, &layer.radios})
    for (const qv::ControlEntry& entry : *list)
      for (const std::u16string& picture : entry.pictures) {
        std::wstring file = install + reinterpret_cast<const wchar_t*>(picture.c_str());
        EXPECT_NE(GetFileAttributesW(file.c_str()), INVALID_FILE_ATTRIBUTES)
            << std::string(file.begin(), file.end());
      }

  qvtest::RecordingParent parent;
  qv::SkinControls controls;
  qv::BuildSkinControls(layer, parent.hwnd(), GetModuleHandleW(nullptr), controls);
  EXPECT_EQ(controls.buttons.size(), layer.buttons.size());
  for (const char16_t* name : {u"PLAYBUTTON", u"PAUSEBUTTON", u"WEBUTTON", u"CLOSEBUTTON"})
    EXPECT_TRUE(controls.buttonByName.count(name));
  wchar_t text[64];
  GetWindowTextW(controls.radioByEntry[qv::kSpeakerRadioEntry], text, 64);
  EXPECT_STREQ(text, L"SPKBUTTON");
  GetWindowTextW(controls.radioByEntry[qv::kEarphoneRadioEntry], text, 64);
  EXPECT_STREQ(text, L"EARBUTTON");
  // Every control sits inside the 261 x 383 face.
  for (HWND child = GetWindow(parent.hwnd(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent.hwnd(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_GE(r.left, 0);
    EXPECT_GE(r.top, 0);
    EXPECT_LE(r.right, 261);
    EXPECT_LE(r.bottom, 383);
  }
  // A click on a generated radio reaches the parent by its name.
  qvtest::PostClick(controls.radioByEntry[1], 5, 5);
  ASSERT_TRUE(qvtest::PumpUntil([&] { return !parent.clicks.empty(); }));
  EXPECT_EQ(parent.clicks[0].name, L"EQBUTTON");
}

}  // namespace
