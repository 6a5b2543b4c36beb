// The pixels of a window as the screen shows them.
#pragma once

#include <windows.h>

#include "png_writer.h"

namespace qvdriver {

// The window's rectangle copied from the screen; empty when it fails.
Picture GrabWindow(HWND window);

}  // namespace qvdriver
