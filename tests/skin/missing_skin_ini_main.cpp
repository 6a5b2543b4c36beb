// Stands in for the player at the point where "skin.ini" turned out missing.
#include "app/skin/skin_ini_failure_win32.h"

int main() { qv::ExitForMissingSkinIni(nullptr); }
