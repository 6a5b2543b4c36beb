// A CD drive for tests: a table of contents made from track start sectors,
// raw sectors whose bytes are a known function of their position, folder
// listings of ".cda" names, and read failures on demand. Every read is
// recorded with its time.
#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "platform/cd/cd_device.h"

namespace qv {

class FakeCdDrive {
 public:
  struct Read {
    uint64_t byteOffset;
    uint32_t sectors;
    bool ok;
    std::chrono::steady_clock::time_point when;
  };

  // Tracks 1..n start at these sectors; the lead-out follows the last.
  void SetTracks(const std::vector<uint32_t>& startSectors, uint32_t leadOutSector);
  void SetTocBytes(const uint8_t toc[kCdTocBytes]);
  void SetFolder(const std::u16string& folder, const std::vector<std::u16string>& names);
  void FailOpen(bool fail);
  void FailToc(bool fail);
  // The next `count` raw reads fail.
  void FailNextReads(int count);

  std::vector<Read> Reads() const;
  std::u16string OpenedLetters() const;

  // The byte at position `index` of raw sector `sector`.
  static uint8_t RawByte(uint32_t sector, uint32_t index);

  // A device handle on this drive, for the engine's CD device factory.
  std::unique_ptr<CdDevice> NewDevice();

 private:
  friend class FakeCdHandle;
  mutable std::mutex mutex_;
  uint8_t toc_[kCdTocBytes] = {};
  std::map<std::u16string, std::vector<std::u16string>> folders_;
  bool failOpen_ = false;
  bool failToc_ = false;
  int failReads_ = 0;
  std::vector<Read> reads_;
  std::u16string openedLetters_;
};

}  // namespace qv
