#include <windows.h>

#include "app/skinlib/library_state.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
  switch (reason) {
    case DLL_PROCESS_ATTACH:
      DisableThreadLibraryCalls(module);
      skinlib::SetModule(module);
      return skinlib::RegisterEffectClass(module) ? TRUE : FALSE;
    case DLL_PROCESS_DETACH:
      skinlib::UnregisterClasses(module);
      break;
  }
  return TRUE;
}
