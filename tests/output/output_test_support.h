// Helpers for driving OutputDevice the way the playback thread does.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <functional>
#include <future>
#include <thread>
#include <vector>

#include "engine/output/output_device.h"

namespace qv::test {

constexpr auto kPatience = std::chrono::seconds(20);

// Bytes 1..251 in a cycle: never 0, so silence the device adds stands out.
inline std::vector<uint8_t> NonZeroPattern(size_t bytes, uint8_t seed = 0) {
  std::vector<uint8_t> out(bytes);
  for (size_t i = 0; i < bytes; ++i) out[i] = static_cast<uint8_t>(1 + (i + seed) % 251);
  return out;
}

inline std::vector<uint8_t> Samples16(const std::vector<int16_t>& samples) {
  std::vector<uint8_t> out(samples.size() * 2);
  std::memcpy(out.data(), samples.data(), out.size());
  return out;
}

inline int16_t Sample16At(const std::vector<uint8_t>& bytes, size_t index) {
  int16_t s;
  std::memcpy(&s, bytes.data() + 2 * index, 2);
  return s;
}

inline std::vector<uint8_t> WithoutZeroBytes(const std::vector<uint8_t>& bytes) {
  std::vector<uint8_t> out;
  for (uint8_t b : bytes)
    if (b != 0) out.push_back(b);
  return out;
}

// Polls until the condition holds; false after the timeout.
inline bool WaitUntil(const std::function<bool()>& condition,
                      std::chrono::milliseconds timeout = kPatience) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

// GetFreeBlock with a deadline, so a fault shows up as a failure instead of
// a hung test. On timeout the device is reset, which ends the wait.
inline WaveBlock* FreeBlockWithin(OutputDevice& out, std::chrono::milliseconds timeout = kPatience) {
  auto waiter = std::async(std::launch::async, [&out] { return out.GetFreeBlock(); });
  if (waiter.wait_for(timeout) != std::future_status::ready) {
    ADD_FAILURE() << "no free block within " << timeout.count() << " ms";
    out.Reset();
    waiter.wait();
    return nullptr;
  }
  return waiter.get();
}

// Fills the next free block with up to a block of `data` from `offset`,
// submits it and returns the bytes taken (0 when no block came).
inline size_t SubmitNext(OutputDevice& out, const std::vector<uint8_t>& data, size_t offset) {
  WaveBlock* block = FreeBlockWithin(out);
  if (block == nullptr) return 0;
  const size_t n = std::min<size_t>(out.BlockSize(), data.size() - offset);
  std::memcpy(block->data, data.data() + offset, n);
  block->bytesRecorded = static_cast<uint32_t>(n);
  block->bufferLength = static_cast<uint32_t>(n);
  out.Submit(block);
  return n;
}

// Submits all of `data` block by block.
inline void SubmitAll(OutputDevice& out, const std::vector<uint8_t>& data) {
  for (size_t offset = 0; offset < data.size();) {
    const size_t n = SubmitNext(out, data, offset);
    if (n == 0) return;
    offset += n;
  }
}

}  // namespace qv::test
