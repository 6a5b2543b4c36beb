// qvrender's command line.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace qvrender {

struct RenderArgs {
  std::u16string input;
  std::u16string output;  // -o: the device's PCM as a WAV file
  bool systemDevice = false;
  std::optional<int> seek;
  std::vector<std::pair<int, int>> seekAt;  // (at ms, to ms)
  std::optional<int> stopAt;
  std::vector<std::pair<std::string, int>> options;
  int volume = 256;
  std::u16string effectParams;                  // a raw 1240-byte EffectParams record
  std::vector<std::array<int, 4>> smallEffects;  // type, on, value1, value2
  std::u16string qbsParams;                      // a raw 40-byte QbsParams record
  std::optional<int> spectrumMode;               // the spectrum feed on, with this mode
  bool info = false;
};

extern const char kUsage[];

// False with a message for a usage error.
bool ParseArgs(const std::vector<std::u16string>& args, RenderArgs* out, std::string* error);

}  // namespace qvrender
