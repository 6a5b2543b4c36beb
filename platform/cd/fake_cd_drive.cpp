#include "platform/cd/fake_cd_drive.h"

#include <cstring>

namespace qv {

class FakeCdHandle : public CdDevice {
 public:
  explicit FakeCdHandle(FakeCdDrive& drive) : drive_(drive) {}

  bool Open(char16_t driveLetter) override {
    std::lock_guard<std::mutex> lock(drive_.mutex_);
    drive_.openedLetters_ += driveLetter;
    open_ = !drive_.failOpen_;
    return open_;
  }
  void Close() override { open_ = false; }
  bool ReadToc(uint8_t toc[kCdTocBytes]) override {
    std::lock_guard<std::mutex> lock(drive_.mutex_);
    if (!open_ || drive_.failToc_) return false;
    std::memcpy(toc, drive_.toc_, kCdTocBytes);
    return true;
  }
  bool ReadRaw(uint64_t byteOffset, uint32_t sectors, uint8_t* out) override {
    std::lock_guard<std::mutex> lock(drive_.mutex_);
    bool ok = open_;
    if (ok && drive_.failReads_ > 0) {
      --drive_.failReads_;
      ok = false;
    }
    drive_.reads_.push_back({byteOffset, sectors, ok, std::chrono::steady_clock::now()});
    if (!ok) return false;
    const uint32_t first = static_cast<uint32_t>(byteOffset / kCdCookedSectorBytes);
    for (uint32_t s = 0; s < sectors; ++s)
      for (uint32_t i = 0; i < kCdRawSectorBytes; ++i)
        out[s * kCdRawSectorBytes + i] = FakeCdDrive::RawByte(first + s, i);
    return true;
  }
  bool FileExists(const std::u16string& path) override {
    std::lock_guard<std::mutex> lock(drive_.mutex_);
    for (const auto& [folder, names] : drive_.folders_)
      for (const auto& name : names)
        if (folder + name == path) return true;
    return false;
  }
  std::vector<std::u16string> ListCdaFiles(const std::u16string& folder) override {
    std::lock_guard<std::mutex> lock(drive_.mutex_);
    auto it = drive_.folders_.find(folder);
    return it == drive_.folders_.end() ? std::vector<std::u16string>{} : it->second;
  }

 private:
  FakeCdDrive& drive_;
  bool open_ = false;
};

void FakeCdDrive::SetTracks(const std::vector<uint32_t>& startSectors, uint32_t leadOutSector) {
  std::lock_guard<std::mutex> lock(mutex_);
  std::memset(toc_, 0, sizeof toc_);
  const size_t count = startSectors.size();
  const size_t length = 2 + (count + 1) * 8;
  toc_[0] = static_cast<uint8_t>(length >> 8);
  toc_[1] = static_cast<uint8_t>(length);
  toc_[2] = 1;
  toc_[3] = static_cast<uint8_t>(count);
  for (size_t i = 0; i <= count; ++i) {
    const uint32_t sector = (i < count ? startSectors[i] : leadOutSector) + 150;
    uint8_t* e = toc_ + 4 + i * 8;
    e[1] = 0x10;  // audio track, position data
    e[2] = static_cast<uint8_t>(i < count ? i + 1 : 0xAA);
    e[5] = static_cast<uint8_t>(sector / 4500);
    e[6] = static_cast<uint8_t>(sector / 75 % 60);
    e[7] = static_cast<uint8_t>(sector % 75);
  }
}

void FakeCdDrive::SetTocBytes(const uint8_t toc[kCdTocBytes]) {
  std::lock_guard<std::mutex> lock(mutex_);
  std::memcpy(toc_, toc, kCdTocBytes);
}

void FakeCdDrive::SetFolder(const std::u16string& folder, const std::vector<std::u16string>& names) {
  std::lock_guard<std::mutex> lock(mutex_);
  folders_[folder] = names;
}

void FakeCdDrive::FailOpen(bool fail) {
  std::lock_guard<std::mutex> lock(mutex_);
  failOpen_ = fail;
}

void FakeCdDrive::FailToc(bool fail) {
  std::lock_guard<std::mutex> lock(mutex_);
  failToc_ = fail;
}

void FakeCdDrive::FailNextReads(int count) {
  std::lock_guard<std::mutex> lock(mutex_);
  failReads_ = count;
}

std::vector<FakeCdDrive::Read> FakeCdDrive::Reads() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return reads_;
}

std::u16string FakeCdDrive::OpenedLetters() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return openedLetters_;
}

uint8_t FakeCdDrive::RawByte(uint32_t sector, uint32_t index) {
  uint32_t x = sector * 2654435761u ^ (index * 40503u + 0x9E37u);
  x ^= x >> 15;
  x *= 2246822519u;
  x ^= x >> 13;
  return static_cast<uint8_t>(x);
}

std::unique_ptr<CdDevice> FakeCdDrive::NewDevice() { return std::make_unique<FakeCdHandle>(*this); }

}  // namespace qv
