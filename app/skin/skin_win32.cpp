#include "app/skin/skin.h"

#include "app/skin/bitmap_file_check.h"
#include "app/skin/colour.h"
#include "app/skin/ini_text.h"
#include "app/skin/skin_load_plan.h"
#include "platform/files/wide_file.h"
#include "platform/text/utf16.h"

namespace {
// The file's headers checked before LoadImageW reads it by them.
bool BitmapFileSane(const wchar_t* path) {
  qv::WideFile file;
  if (!file.Open(qv::AsU16(path), qv::FileMode::Read)) return false;
  const int64_t size = file.Size();
  uint8_t head[qv::kBitmapCheckBytes];
  const int64_t got = file.Read(head, sizeof head);
  return size > 0 && got > 0 && qv::BitmapFileLayoutSane(head, static_cast<size_t>(got), static_cast<uint64_t>(size));
}

Gdiplus::Bitmap* BitmapFromHandle(HBITMAP handle) {
  if (!handle) return nullptr;
  Gdiplus::Bitmap* bitmap = Gdiplus::Bitmap::FromHBITMAP(handle, nullptr);
  if (bitmap && bitmap->GetLastStatus() != Gdiplus::Ok) {
    delete bitmap;
    bitmap = nullptr;
  }
  return bitmap;
}
}  // namespace

CSkin::CSkin(HINSTANCE resources) : resources_(resources ? resources : GetModuleHandleW(nullptr)) {
  SetDefaultColours();
}

CSkin::~CSkin() { Clear(); }

void CSkin::Clear() {
  delete background_;
  background_ = nullptr;
  for (auto& entry : pictures_) delete entry.second.image;
  pictures_.clear();
  SetDefaultColours();
}

int32_t CSkin::GetNumber(int index) { return index >= 0 && index <= 42 ? numbers_[index] : 0; }

COLORREF CSkin::GetColour(int index) { return index >= 0 && index < 4 ? colours_[index] : 0; }

int32_t CSkin::IsDisplayOn() { return displayOn_; }

void CSkin::SetDefaultColours() {
  qv::SkinColours defaults = qv::DefaultSkinColours();
  for (int i = 0; i < 4; ++i) colours_[i] = defaults.colour[i];
  displayOn_ = defaults.displayOn;
}

HBITMAP CSkin::LoadImageFile(const wchar_t* path) {
  if (!path || !path[0] || !BitmapFileSane(path)) return nullptr;
  return static_cast<HBITMAP>(
      LoadImageW(nullptr, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION | LR_DEFAULTSIZE));
}

COLORREF CSkin::ParseColour(const wchar_t* text) {
  return static_cast<COLORREF>(qv::ParseColour(text ? std::u16string_view(qv::AsU16(text)) : u""));
}

Gdiplus::Bitmap* CSkin::MakeBitmap(HBITMAP fromFile, int resourceId) {
  HBITMAP bitmap = fromFile;
  if (!bitmap) bitmap = LoadBitmapW(resources_, MAKEINTRESOURCEW(resourceId));
  Gdiplus::Bitmap* image = BitmapFromHandle(bitmap);
  if (bitmap) DeleteObject(bitmap);
  return image;
}

tagBMPS CSkin::MakePicture(int cellWidth, int cellHeight, const wchar_t* path, int resourceId) {
  return {MakeBitmap(LoadImageFile(path), resourceId), cellWidth, cellHeight};
}

tagBMPS CSkin::GetPicture(int slot) const {
  auto it = pictures_.find(slot);
  if (it == pictures_.end()) return {nullptr, 0, 0};
  return it->second;
}

bool CSkin::HasPicture(int slot) const { return pictures_.count(slot) != 0; }

void CSkin::Load(const wchar_t* path) {
  Clear();
  std::u16string_view skinPath = path ? std::u16string_view(qv::AsU16(path)) : u"";
  qv::IniText file;
  bool opened = !skinPath.empty() && file.Open(skinPath);
  qv::SkinLoadPlan plan = qv::PlanSkinLoad(opened ? &file : nullptr, skinPath);

  background_ = MakeBitmap(LoadImageFile(qv::AsWide(plan.background.file.c_str())), plan.background.resourceId);
  for (const qv::PlannedPicture& p : plan.pictures) {
    tagBMPS picture = MakePicture(p.cellWidth, p.cellHeight, qv::AsWide(p.file.c_str()), p.resourceId);
    auto existing = pictures_.find(p.slot);
    if (existing != pictures_.end()) delete existing->second.image;
    pictures_[p.slot] = picture;
  }
  for (int i = 0; i < 4; ++i) colours_[i] = plan.colours.colour[i];
  displayOn_ = plan.colours.displayOn;
}
