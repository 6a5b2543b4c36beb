// skinlib.dll through its exported classes, as the player uses it.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/skinlib/skinlib.h"
#include "win32_test_support.h"

namespace {

using qvtest::PostClick;
using qvtest::PumpUntil;
using qvtest::RecordingParent;

const COLORREF kOff = RGB(10, 20, 30);
const COLORREF kOffOver = RGB(40, 50, 60);
const COLORREF kOffPushed = RGB(70, 80, 90);
const COLORREF kOn = RGB(200, 10, 10);
const COLORREF kOnOver = RGB(10, 200, 10);
const COLORREF kOnPushed = RGB(10, 10, 200);

class SkinLibTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = qvtest::MakeTempFolder(L"lib");
    const std::pair<const wchar_t*, COLORREF> pictures[] = {{L"off.bmp", kOff},         {L"offover.bmp", kOffOver},
                                                            {L"offpush.bmp", kOffPushed}, {L"on.bmp", kOn},
                                                            {L"onover.bmp", kOnOver},     {L"onpush.bmp", kOnPushed}};
    for (const auto& p : pictures) ASSERT_TRUE(qvtest::WriteSolidBitmap(folder_ + p.first, 24, 18, p.second));
    ASSERT_TRUE(qvtest::WriteTextFile(folder_ + L"skin.ini", "[MAINBUTTONINFO]\n1=PLAYBUTTON,10,20,off.bmp\n"));
    ASSERT_TRUE(ini_.Load((folder_ + L"skin.ini").c_str()));
    ASSERT_NE(parent_.hwnd(), nullptr);
  }

  HWND MakeRadio(SkinRadio& radio, const wchar_t* name, int x = 40, int y = 60) {
    return radio.CreateEx(name, 0, x, y, parent_.hwnd(), GetModuleHandleW(nullptr), L"off.bmp", L"offover.bmp",
                          L"offpush.bmp", L"on.bmp", L"onover.bmp", L"onpush.bmp");
  }

  std::wstring folder_;
  IniFile ini_;
  RecordingParent parent_;
};

std::wstring TextOf(HWND hwnd) {
  wchar_t text[256] = {};
  GetWindowTextW(hwnd, text, 256);
  return text;
}

TEST_F(SkinLibTest, ControlsAreChildWindowsAtTheirPlaceNamedAndSizedByTheirPicture) {
  SkinButton button;
  SkinRadio radio;
  HWND b = button.CreateEx(L"PLAYBUTTON", 0, 12, 34, parent_.hwnd(), GetModuleHandleW(nullptr), L"off.bmp",
                           L"off.bmp", L"offover.bmp", L"offpush.bmp", L"off.bmp");
  HWND r = MakeRadio(radio, L"EQBUTTON", 56, 78);
  ASSERT_NE(b, nullptr);
  ASSERT_NE(r, nullptr);
  for (auto [hwnd, name, x, y] : {std::tuple{b, L"PLAYBUTTON", 12, 34}, std::tuple{r, L"EQBUTTON", 56, 78}}) {
    EXPECT_EQ(GetParent(hwnd), parent_.hwnd());
    EXPECT_TRUE(GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CHILD);
    EXPECT_EQ(TextOf(hwnd), name);
    RECT rect;
    GetWindowRect(hwnd, &rect);
    MapWindowPoints(nullptr, parent_.hwnd(), reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ(rect.left, x);
    EXPECT_EQ(rect.top, y);
    EXPECT_EQ(rect.right - rect.left, 24);
    EXPECT_EQ(rect.bottom - rect.top, 18);
  }
}

TEST_F(SkinLibTest, PostedClickReachesTheParentWithTheName) {
  SkinButton play, stop;
  HWND p = play.CreateEx(L"PLAYBUTTON", 0, 0, 0, parent_.hwnd(), nullptr, L"off.bmp", L"off.bmp", L"offover.bmp",
                         L"offpush.bmp", L"off.bmp");
  stop.CreateEx(L"STOPBUTTON", 0, 40, 0, parent_.hwnd(), nullptr, L"off.bmp", L"off.bmp", L"offover.bmp",
                L"offpush.bmp", L"off.bmp");
  SetFocus(parent_.hwnd());
  PostClick(p);
  ASSERT_TRUE(PumpUntil([&] { return !parent_.clicks.empty(); }));
  ASSERT_EQ(parent_.clicks.size(), 1u);
  EXPECT_EQ(parent_.clicks[0].name, L"PLAYBUTTON");
  // The click leaves the keyboard with the parent.
  EXPECT_EQ(GetFocus(), parent_.hwnd());
}

TEST_F(SkinLibTest, RadiosToggleBeforeNotifyingAndAnswerGetCheck) {
  SkinRadio radio;
  HWND r = MakeRadio(radio, L"EQBUTTON");
  EXPECT_EQ(SendMessageW(r, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  PostClick(r);
  ASSERT_TRUE(PumpUntil([&] { return parent_.clicks.size() == 1; }));
  EXPECT_EQ(parent_.clicks[0].name, L"EQBUTTON");
  EXPECT_EQ(parent_.clicks[0].sender, r);
  EXPECT_EQ(parent_.clicks[0].checkAtCall, BST_CHECKED);
  EXPECT_EQ(SendMessageW(r, BM_GETCHECK, 0, 0), BST_CHECKED);
  PostClick(r);
  ASSERT_TRUE(PumpUntil([&] { return parent_.clicks.size() == 2; }));
  EXPECT_EQ(parent_.clicks[1].checkAtCall, BST_UNCHECKED);
  EXPECT_EQ(SendMessageW(r, BM_GETCHECK, 0, 0), BST_UNCHECKED);
}

TEST_F(SkinLibTest, ButtonSetAndSetCheckChangeTheStateWithoutNotifying) {
  SkinRadio radio;
  HWND r = MakeRadio(radio, L"SPKBUTTON");
  radio.ButtonSet(1);
  radio.Update();
  EXPECT_EQ(SendMessageW(r, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(qvtest::PaintedPixel(r, 3, 3), kOn);
  SendMessageW(r, BM_SETCHECK, BST_UNCHECKED, 0);
  EXPECT_EQ(SendMessageW(r, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(qvtest::PaintedPixel(r, 3, 3), kOff);
  SendMessageW(r, BM_SETCHECK, BST_CHECKED, 0);
  EXPECT_EQ(SendMessageW(r, BM_GETCHECK, 0, 0), BST_CHECKED);
  qvtest::PumpPending();
  EXPECT_TRUE(parent_.clicks.empty());
}

TEST_F(SkinLibTest, PicturesFollowTheState) {
  SkinRadio radio;
  HWND r = MakeRadio(radio, L"COBUTTON");
  EXPECT_EQ(qvtest::PaintedPixel(r, 1, 1), kOff);
  SendMessageW(r, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
  EXPECT_EQ(qvtest::PaintedPixel(r, 1, 1), kOffOver);
  SendMessageW(r, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  EXPECT_EQ(qvtest::PaintedPixel(r, 1, 1), kOffPushed);
  SendMessageW(r, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  EXPECT_EQ(qvtest::PaintedPixel(r, 1, 1), kOnOver);
  SendMessageW(r, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  EXPECT_EQ(qvtest::PaintedPixel(r, 1, 1), kOnPushed);
  SendMessageW(r, WM_MOUSELEAVE, 0, 0);  // still pressed: leave is ignored until release
  SendMessageW(r, WM_LBUTTONUP, 0, MAKELPARAM(200, 200));  // released outside: no click
  SendMessageW(r, WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(qvtest::PaintedPixel(r, 1, 1), kOn);
  EXPECT_EQ(parent_.clicks.size(), 1u);
}

TEST_F(SkinLibTest, DisabledControlsDoNotNotify) {
  SkinRadio radio;
  HWND r = MakeRadio(radio, L"EFBUTTON");
  radio.Disable(1);
  EXPECT_FALSE(IsWindowEnabled(r));
  PostClick(r);
  qvtest::PumpPending();
  Sleep(50);
  qvtest::PumpPending();
  EXPECT_TRUE(parent_.clicks.empty());
  EXPECT_EQ(SendMessageW(r, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  radio.Disable(0);
  PostClick(r);
  ASSERT_TRUE(PumpUntil([&] { return parent_.clicks.size() == 1; }));
}

TEST_F(SkinLibTest, MissingPicturesDrawAPlaceholder) {
  SkinButton button;
  SkinRadio radio;
  HWND b = button.CreateEx(L"OPENBUTTON", 0, 0, 0, parent_.hwnd(), nullptr, L"missing.bmp", nullptr, L"",
                           L"nothere.bmp", nullptr);
  HWND r = radio.CreateEx(L"ARROWBUTTON", 0, 50, 0, parent_.hwnd(), nullptr, nullptr, nullptr, nullptr, nullptr,
                          nullptr, nullptr);
  ASSERT_NE(b, nullptr);
  ASSERT_NE(r, nullptr);
  RECT rect;
  GetClientRect(b, &rect);
  EXPECT_EQ(rect.right, 32);
  EXPECT_EQ(rect.bottom, 31);
  GetClientRect(r, &rect);
  EXPECT_EQ(rect.right, 25);
  EXPECT_EQ(rect.bottom, 21);
  // A drawn key: its face differs from its frame.
  EXPECT_NE(qvtest::PaintedPixel(b, 16, 15), qvtest::PaintedPixel(b, 0, 0));
  PostClick(r);
  ASSERT_TRUE(PumpUntil([&] { return parent_.clicks.size() == 1; }));
  EXPECT_EQ(parent_.clicks[0].name, L"ARROWBUTTON");
}

TEST_F(SkinLibTest, ParentMayDeleteTheControlWhileHandlingItsClick) {
  auto button = std::make_unique<SkinButton>();
  HWND b = button->CreateEx(L"CLOSEBUTTON", 0, 0, 0, parent_.hwnd(), nullptr, L"off.bmp", nullptr, nullptr,
                            nullptr, nullptr);
  std::wstring seenAfterDelete;
  parent_.onClick = [&](const wchar_t* name) {
    button.reset();
    seenAfterDelete = name;  // the name stays readable for the whole call
  };
  PostClick(b);
  ASSERT_TRUE(PumpUntil([&] { return parent_.clicks.size() == 1; }));
  EXPECT_EQ(seenAfterDelete, L"CLOSEBUTTON");
  EXPECT_FALSE(IsWindow(b));
}

TEST_F(SkinLibTest, ObjectsOutliveTheirWindowsAndDeletingDestroysTheWindow) {
  SkinRadio radio;
  HWND r = MakeRadio(radio, L"QVBUTTON");
  {
    SkinButton button;
    HWND b = button.CreateEx(L"X", 0, 0, 0, parent_.hwnd(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(IsWindow(b));
    button.ShowWindow(SW_HIDE);
    EXPECT_FALSE(IsWindowVisible(b));
    // leaving the scope deletes the object and its window
  }
  DestroyWindow(r);
  radio.ButtonSet(1);  // no window any more: nothing to do, nothing to crash
  radio.Update();
  radio.Disable(1);
  EXPECT_FALSE(radio.ShowWindow(SW_SHOW));
}

TEST_F(SkinLibTest, IniFileReadsValuesAndBoundsTheCopy) {
  std::string text = "[MAINBUTTONINFO]\n 1 = PLAYBUTTON,1,2,a.bmp \n[Long]\nvalue=" + std::string(2000, 'x') + "\n";
  ASSERT_TRUE(qvtest::WriteTextFile(folder_ + L"long.ini", text));
  IniFile ini;
  ASSERT_TRUE(ini.Load((folder_ + L"long.ini").c_str()));
  wchar_t out[SKINLIB_INI_VALUE_CHARS + 8];
  EXPECT_EQ(ini.ReadString(out, L"MAINBUTTONINFO", L"1", L""), 20);
  EXPECT_STREQ(out, L"PLAYBUTTON,1,2,a.bmp");
  EXPECT_EQ(ini.ReadString(out, L"mainbuttoninfo", L"2", L"def"), 3);
  EXPECT_STREQ(out, L"def");
  for (wchar_t& c : out) c = L'#';
  EXPECT_EQ(ini.ReadString(out, L"Long", L"value", L""), SKINLIB_INI_VALUE_CHARS - 1);
  EXPECT_EQ(out[SKINLIB_INI_VALUE_CHARS - 2], L'x');
  EXPECT_EQ(out[SKINLIB_INI_VALUE_CHARS - 1], 0);
  EXPECT_EQ(out[SKINLIB_INI_VALUE_CHARS], L'#');
  EXPECT_FALSE(ini.Load((folder_ + L"absent.ini").c_str()));
  EXPECT_EQ(ini.ReadString(out, L"MAINBUTTONINFO", L"1", L""), 0);
  EXPECT_STREQ(out, L"");
}

TEST(SkinLibExports, SetParentHwndIsFoundByItsPlainName) {
  HMODULE library = LoadLibraryW(L"skinlib.dll");
  ASSERT_NE(library, nullptr);
  auto proc = reinterpret_cast<SKINLIB_SetParentHwndProc>(
      reinterpret_cast<void*>(GetProcAddress(library, "SKINLIB_SetParentHwnd")));
  ASSERT_NE(proc, nullptr);
  EXPECT_EQ(proc(nullptr), 1);
  FreeLibrary(library);
}

// A dialog template in memory: one "QUOVIRA" control with id 1200, as the
// effect panel dialog holds it.
std::vector<WORD> EffectDialogTemplate() {
  std::vector<WORD> t;
  auto add = [&](const void* data, size_t bytes) {
    const WORD* w = static_cast<const WORD*>(data);
    t.insert(t.end(), w, w + bytes / 2);
  };
  auto addText = [&](const wchar_t* s) {
    for (; *s; ++s) t.push_back(static_cast<WORD>(*s));
    t.push_back(0);
  };
  DLGTEMPLATE dialog = {};
  dialog.style = WS_POPUP | WS_CAPTION | DS_SETFONT;
  dialog.cdit = 1;
  dialog.cx = 200;
  dialog.cy = 100;
  add(&dialog, sizeof(dialog));
  t.push_back(0);  // no menu
  t.push_back(0);  // standard class
  addText(L"Effects");
  t.push_back(8);
  addText(L"MS Shell Dlg");
  if (t.size() % 2) t.push_back(0);  // items start on a DWORD
  DLGITEMTEMPLATE item = {};
  item.style = WS_CHILD | WS_VISIBLE;
  item.x = 5;
  item.y = 5;
  item.cx = 190;
  item.cy = 90;
  item.id = 1200;
  add(&item, sizeof(item));
  addText(SKINLIB_HOST_CLASS);
  addText(L"");
  t.push_back(0);  // no creation data
  return t;
}

INT_PTR CALLBACK EmptyDialogProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

TEST(SkinLibEffectControl, DialogControlCreatesTheHostThatFindWindowFinds) {
  RecordingParent owner;
  std::vector<WORD> dialogTemplate = EffectDialogTemplate();
  HWND dialog = CreateDialogIndirectParamW(GetModuleHandleW(nullptr),
                                           reinterpret_cast<DLGTEMPLATE*>(dialogTemplate.data()), owner.hwnd(),
                                           EmptyDialogProc, 0);
  ASSERT_NE(dialog, nullptr);
  HWND control = GetDlgItem(dialog, 1200);
  ASSERT_NE(control, nullptr);
  EXPECT_EQ(FindWindowW(SKINLIB_HOST_CLASS, nullptr), nullptr) << "the control is a child, not the host";

  ASSERT_EQ(SKINLIB_SetParentHwnd(dialog), 1);
  HWND host = reinterpret_cast<HWND>(SendMessageW(control, SKINLIB_WM_CREATE_HOST, 0, 0));
  ASSERT_NE(host, nullptr);
  EXPECT_EQ(FindWindowW(SKINLIB_HOST_CLASS, nullptr), host);
  EXPECT_FALSE(GetWindowLongPtrW(host, GWL_STYLE) & WS_CHILD);
  EXPECT_EQ(GetWindow(host, GW_OWNER), dialog);
  // Asking again gives the same host.
  EXPECT_EQ(reinterpret_cast<HWND>(SendMessageW(control, SKINLIB_WM_CREATE_HOST, 0, 0)), host);

  DestroyWindow(dialog);
  EXPECT_FALSE(IsWindow(host));
  EXPECT_EQ(FindWindowW(SKINLIB_HOST_CLASS, nullptr), nullptr);
  SKINLIB_SetParentHwnd(nullptr);
}

}  // namespace
