// CSkin: the picture layer of the player's look. Loads a skin file's
// background, pictures and colours; every picture the file does not supply
// comes from the program's built-in bitmap resources.
#pragma once

#include <windows.h>
// GDI+ needs the COM declarations that WIN32_LEAN_AND_MEAN leaves out, and
// min/max, which NOMINMAX hides.
#include <objidl.h>
#include <algorithm>
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <gdiplus.h>

#include <cstdint>
#include <map>

// One picture of the skin: strips hold several cells side by side.
struct tagBMPS {
  Gdiplus::Bitmap* image;  // owned by the skin; null when nothing could be loaded
  int32_t cellWidth;
  int32_t cellHeight;
};

class CSkin {
 public:
  // resources: the module holding the built-in bitmaps (null: the program).
  explicit CSkin(HINSTANCE resources = nullptr);
  virtual ~CSkin();
  CSkin(const CSkin&) = delete;
  CSkin& operator=(const CSkin&) = delete;

  // Reads the skin file at path (empty: the built-in look). Starts with Clear.
  virtual void Load(const wchar_t* path);
  // Frees the background and every picture and restores the default colours.
  virtual void Clear();
  virtual int32_t GetNumber(int index);
  // 0 display, 1 info, 2 title, 3 seek colour; 0 for other indexes.
  virtual COLORREF GetColour(int index);
  virtual int32_t IsDisplayOn();
  virtual void SetDefaultColours();
  // A bitmap file as a DIB section, or null.
  virtual HBITMAP LoadImageFile(const wchar_t* path);
  // "red,green,blue" as a COLORREF, or (COLORREF)-1.
  virtual COLORREF ParseColour(const wchar_t* text);

  // The file at path when it loads, else the built-in resource.
  tagBMPS MakePicture(int cellWidth, int cellHeight, const wchar_t* path, int resourceId);
  // A copy of the slot's entry (no image and zero cells when never filled).
  tagBMPS GetPicture(int slot) const;
  bool HasPicture(int slot) const;
  Gdiplus::Bitmap* GetBackground() const { return background_; }

 private:
  // The bitmap from a file when there is one, else the resource; the handle is freed.
  Gdiplus::Bitmap* MakeBitmap(HBITMAP fromFile, int resourceId);

  Gdiplus::Bitmap* background_ = nullptr;
  int32_t numbers_[43] = {};
  COLORREF colours_[4] = {};
  int32_t displayOn_ = 1;
  std::map<int32_t, tagBMPS> pictures_;
  HINSTANCE resources_;
};
