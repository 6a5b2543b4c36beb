#include "tests/wma/wma_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>

#include "engine/plugins/wma/wma_plugin.h"
#include "platform/files/wide_file.h"

namespace qv::test {

DecoderPlugin WmaTable() { return *GetWmaPlugin(); }

std::u16string TempFile(const std::string& name, const Bytes& bytes) {
  // ctest runs test cases side by side: each writes files of its own.
  std::string prefix;
  if (const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info())
    prefix = std::string(test->test_suite_name()) + "." + test->name() + ".";
  for (char& c : prefix)
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '.') c = '_';
  const std::u16string path = TempPath(prefix + name);
  return WriteBytes(path, bytes) ? path : std::u16string();
}

Bytes ReadFile(const std::u16string& path) {
  Bytes b;
  ReadWholeFile(path, 64u << 20, b);
  return b;
}

double SnrDb(const Bytes& want, const Bytes& got) {
  const size_t n = std::min(want.size(), got.size()) / 2;
  double signal = 0, noise = 0;
  for (size_t i = 0; i < n; ++i) {
    const double w = int16_t(want[2 * i] | want[2 * i + 1] << 8);
    const double g = int16_t(got[2 * i] | got[2 * i + 1] << 8);
    signal += w * w;
    noise += (w - g) * (w - g);
  }
  if (noise == 0) return 200.0;
  return 10.0 * std::log10(signal / noise);
}

int64_t SuffixOffset(const Bytes& whole, const Bytes& part, uint32_t frameBytes) {
  if (part.size() > whole.size()) return -1;
  const size_t offset = whole.size() - part.size();
  if (offset % frameBytes != 0) return -1;
  return std::equal(part.begin(), part.end(), whole.begin() + static_cast<std::ptrdiff_t>(offset))
             ? static_cast<int64_t>(offset)
             : -1;
}

}  // namespace qv::test
