// CD drive access through the CD-ROM device controls.
#include <windows.h>
#include <winioctl.h>
#include <ntddcdrm.h>

#include "platform/cd/cd_device.h"
#include "platform/text/utf16.h"

namespace qv {

namespace {

class Win32CdDevice : public CdDevice {
 public:
  ~Win32CdDevice() override { Close(); }

  bool Open(char16_t driveLetter) override {
    Close();
    const wchar_t name[] = {L'\\', L'\\', L'.', L'\\', static_cast<wchar_t>(driveLetter), L':', 0};
    handle_ = CreateFileW(name, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    return handle_ != INVALID_HANDLE_VALUE;
  }

  void Close() override {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
  }

  bool ReadToc(uint8_t toc[kCdTocBytes]) override {
    static_assert(sizeof(CDROM_TOC) == kCdTocBytes, "table of contents record");
    DWORD returned = 0;
    return handle_ != INVALID_HANDLE_VALUE &&
           DeviceIoControl(handle_, IOCTL_CDROM_READ_TOC, nullptr, 0, toc, kCdTocBytes, &returned, nullptr);
  }

  bool ReadRaw(uint64_t byteOffset, uint32_t sectors, uint8_t* out) override {
    if (handle_ == INVALID_HANDLE_VALUE) return false;
    RAW_READ_INFO info = {};
    info.DiskOffset.QuadPart = static_cast<LONGLONG>(byteOffset);
    info.SectorCount = sectors;
    info.TrackMode = CDDA;
    DWORD returned = 0;
    return DeviceIoControl(handle_, IOCTL_CDROM_RAW_READ, &info, sizeof info, out, sectors * kCdRawSectorBytes,
                           &returned, nullptr) != FALSE;
  }

  bool FileExists(const std::u16string& path) override {
    return GetFileAttributesW(AsWide(path.c_str())) != INVALID_FILE_ATTRIBUTES;
  }

  std::vector<std::u16string> ListCdaFiles(const std::u16string& folder) override {
    std::vector<std::u16string> names;
    const std::u16string pattern = folder + u"*.cda";
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW(AsWide(pattern.c_str()), &found);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
      names.emplace_back(AsU16(found.cFileName));
    } while (FindNextFileW(find, &found));
    FindClose(find);
    return names;
  }

 private:
  HANDLE handle_ = INVALID_HANDLE_VALUE;
};

}  // namespace

std::unique_ptr<CdDevice> CreateSystemCdDevice() { return std::make_unique<Win32CdDevice>(); }

}  // namespace qv
