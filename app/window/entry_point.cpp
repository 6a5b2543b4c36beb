// The player's entry point: one application object for the run.
#include <windows.h>

#include "app/window/player_app.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
  auto* app = new qv::CWin32PlayerApp;
  qv::SetApplication(app);
  int result = app->Run(instance, commandLine);
  delete app;
  qv::SetApplication(nullptr);
  return result;
}
