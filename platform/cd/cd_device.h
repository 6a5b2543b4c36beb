// The CD drive seam: table of contents and raw audio sector reads, plus the
// listing of a folder's ".cda" files that names the tracks. Win32 uses the
// device controls and FindFirstFileW; FakeCdDrive stands in for tests.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace qv {

constexpr size_t kCdTocBytes = 804;
constexpr uint32_t kCdRawSectorBytes = 2352;
constexpr uint32_t kCdCookedSectorBytes = 2048;

class CdDevice {
 public:
  virtual ~CdDevice() = default;
  // Opens "\\.\X:" for the drive letter X.
  virtual bool Open(char16_t driveLetter) = 0;
  virtual void Close() = 0;
  virtual bool ReadToc(uint8_t toc[kCdTocBytes]) = 0;
  // Reads `sectors` raw audio sectors starting at the disc byte offset
  // (sector x 2048) into out (sectors x 2352 bytes).
  virtual bool ReadRaw(uint64_t byteOffset, uint32_t sectors, uint8_t* out) = 0;
  // True when the file exists.
  virtual bool FileExists(const std::u16string& path) = 0;
  // Names (without folder) of the "*.cda" files of a folder, in the order the
  // file system returns them. `folder` ends with a separator.
  virtual std::vector<std::u16string> ListCdaFiles(const std::u16string& folder) = 0;
};

// The system drive (Win32); natively a device that opens nothing.
std::unique_ptr<CdDevice> CreateSystemCdDevice();

}  // namespace qv
