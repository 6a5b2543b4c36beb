// Numbers of the player's own resources (menus, icon, strings); the bitmap
// numbers belong to the skin's picture table.
#pragma once

#define kProgramIcon 54
#define kMainMenu 102
#define kPlaylistMenu 107
#define kMainSubmenu 0
#define kTraySubmenu 1

// Strings.
#define kStrOpenFile 2
#define kStrAddFile 3
#define kStrSelectDirectory 4
#define kStrSavePlaylist 5
#define kStrSaveFilter 6
#define kStrConnecting 30
#define kStrBuffering 31
