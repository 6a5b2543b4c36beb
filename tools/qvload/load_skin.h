// A skin file (the picture layer) and a control layer ("skin.ini") read as
// the main window reads them. On Win32 through CSkin, with every picture the
// file names loaded, and through the skin library's IniFile, with every
// listed control created; elsewhere through the same plan and parser that
// those use.
#pragma once

#include <string>

#include "app/skin/control_layer.h"
#include "tools/qvload/load_report.h"

namespace qvload {

LoadResult LoadSkin(const std::u16string& path);
LoadResult LoadControls(const std::u16string& path);

// The limit a control layer breaks, whatever its file said; empty when it
// keeps them all.
std::string ControlLayerLimitBroken(const qv::ControlLayer& layer);

}  // namespace qvload
