// The player's command line: file names, quoted or bare, handed to the
// window as dropped files; the exact text "R" marks a restart by the agent.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qv {

// The names in the order given. A name in double quotes runs to the next
// quote (blanks kept); a bare name runs to the next blank. After a quoted
// name its closing quote, one more quote and one blank are skipped; after a
// bare name up to two blanks. An empty name ends the list, so three blanks
// in a row end it early.
std::vector<std::u16string> SplitCommandLine(std::u16string_view text);

// True for exactly "R": the agent restarted the player.
bool IsAgentRestart(std::u16string_view text);

// True when the command line names something to open. "R" and texts that
// split into no names count as empty, so the default playlist is loaded (and
// saved again at exit) instead of being replaced by an empty one.
bool HasCommandLineNames(std::u16string_view text);

}  // namespace qv
