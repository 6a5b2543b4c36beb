// The native build has no CD drive: every open fails.
#include "platform/cd/cd_device.h"

namespace qv {

namespace {

class NoCdDevice : public CdDevice {
 public:
  bool Open(char16_t) override { return false; }
  void Close() override {}
  bool ReadToc(uint8_t*) override { return false; }
  bool ReadRaw(uint64_t, uint32_t, uint8_t*) override { return false; }
  bool FileExists(const std::u16string&) override { return false; }
  std::vector<std::u16string> ListCdaFiles(const std::u16string&) override { return {}; }
};

}  // namespace

std::unique_ptr<CdDevice> CreateSystemCdDevice() { return std::make_unique<NoCdDevice>(); }

}  // namespace qv
