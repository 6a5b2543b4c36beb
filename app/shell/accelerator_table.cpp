#include "app/shell/accelerator_table.h"

#include "app/shell/window_ids.h"

namespace qv {

namespace {
// Virtual-key codes (the platform's values; the table is data for both builds).
constexpr uint16_t kReturn = 0x0D, kSpace = 0x20, kPageUp = 0x21, kPageDown = 0x22, kLeft = 0x25, kUp = 0x26,
                   kRight = 0x27, kDown = 0x28, kDelete = 0x2E, kEscape = 0x1B, kNumAdd = 0x6B,
                   kNumSubtract = 0x6D, kOemPlus = 0xBB, kOemMinus = 0xBD;
constexpr uint16_t Letter(char c) { return static_cast<uint16_t>(c); }
}  // namespace

const AcceleratorEntry kAccelerators[kAcceleratorCount] = {
    {Letter('Z'), false, cmd::kPlayPause},     {kReturn, false, cmd::kPlayPause},
    {Letter('X'), false, cmd::kStop},          {kSpace, false, cmd::kStop},
    {Letter('C'), false, cmd::kPrevious},      {kLeft, false, cmd::kPrevious},
    {Letter('V'), false, cmd::kRewind},        {kPageUp, false, cmd::kRewind},
    {Letter('B'), false, cmd::kFastForward},   {kPageDown, false, cmd::kFastForward},
    {Letter('N'), false, cmd::kNext},          {kRight, false, cmd::kNext},
    {Letter('R'), false, cmd::kCycleRepeat},   {Letter('H'), false, cmd::kShuffle},
    {Letter('O'), false, cmd::kOpenFile},      {Letter('U'), false, cmd::kAddUrl},
    {Letter('A'), false, cmd::kAddFile},       {Letter('F'), false, cmd::kAddFolder},
    {Letter('I'), false, cmd::kInternetRadio}, {Letter('D'), false, cmd::kDeleteFile},
    {kDelete, false, cmd::kDeleteFile},        {Letter('E'), false, cmd::kEraseAll},
    {kNumAdd, false, cmd::kMoveUp},            {kNumSubtract, false, cmd::kMoveDown},
    {kOemPlus, false, cmd::kMoveUp},           {kOemMinus, false, cmd::kMoveDown},
    {Letter('T'), false, cmd::kTopMost},       {Letter('S'), false, cmd::kSavePlaylist},
    {Letter('P'), false, cmd::kEffectSettings}, {kUp, false, cmd::kVolumeUp},
    {kDown, false, cmd::kVolumeDown},          {Letter('M'), false, cmd::kMenuKey},
    {kEscape, false, cmd::kRestore},           {Letter('Q'), true, cmd::kExit},
};

}  // namespace qv
