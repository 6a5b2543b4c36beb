#include <windows.h>
#include <objbase.h>

#include "platform/media/com_apartment.h"

namespace qv {

namespace {

// Successful CoInitializeEx calls on this thread not yet undone.
thread_local int entered = 0;

}  // namespace

void EnterComApartment() {
  if (SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) ++entered;
}

void LeaveComApartment() {
  if (entered == 0) return;
  --entered;
  CoUninitialize();
}

}  // namespace qv
