#include "app/effecthost/effect_host_link.h"

#include <utility>

#include "platform/text/utf16.h"

namespace qv::effecthost {

HWND FindTopLevel(const char16_t* className) { return FindWindowW(AsWide(className), nullptr); }

EffectHostLink::EffectHostLink() : finder_([] { return FindTopLevel(kHostClass); }) {}

EffectHostLink::EffectHostLink(Finder finder) : finder_(std::move(finder)) {}

HWND EffectHostLink::Host() {
  if (cached_ && IsWindow(cached_)) return cached_;
  cached_ = finder_ ? finder_() : nullptr;
  return cached_;
}

bool EffectHostLink::Send(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  HWND host = Host();
  if (!host) return false;
  LRESULT r = SendMessageW(host, message, wParam, lParam);
  if (result) *result = r;
  return true;
}

bool SendCopyData(HWND target, HWND from, uint32_t code, const void* data, uint32_t size, LRESULT* result) {
  if (!target || !IsWindow(target)) return false;
  COPYDATASTRUCT copy;
  copy.dwData = code;
  copy.cbData = size;
  copy.lpData = const_cast<void*>(data);
  LRESULT r = SendMessageW(target, WM_COPYDATA, reinterpret_cast<WPARAM>(from), reinterpret_cast<LPARAM>(&copy));
  if (result) *result = r;
  return true;
}

}  // namespace qv::effecthost
