// CMediaBuffer: a media buffer object with the method layout of the system's
// IMediaBuffer interface, so that it can be handed to the system's media
// objects as it is, and to the project's own decoder objects alike. Owned by
// reference count; Release at zero frees the data and the object.
#pragma once

#include <atomic>
#include <cstdint>

#include "platform/media/com_types.h"

namespace qv {

// {59EFF8B9-938C-4A26-82F2-95CB84CDC837}
constexpr Guid kIidMediaBuffer = {0x59EFF8B9, 0x938C, 0x4A26, {0x82, 0xF2, 0x95, 0xCB, 0x84, 0xCD, 0xC8, 0x37}};
// {00000000-0000-0000-C000-000000000046}
constexpr Guid kIidUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

class CMediaBuffer final {
 public:
  // A buffer of maxLength bytes, empty, with one reference; null when the
  // memory is not available.
  static CMediaBuffer* Create(uint32_t maxLength);

  // The interface's methods, in its order. No virtual destructor: it would
  // take a slot of the interface.
  virtual ComResult QV_COMCALL QueryInterface(const Guid& iid, void** object);
  virtual uint32_t QV_COMCALL AddRef();
  virtual uint32_t QV_COMCALL Release();
  virtual ComResult QV_COMCALL SetLength(uint32_t length);
  virtual ComResult QV_COMCALL GetMaxLength(uint32_t* maxLength);
  virtual ComResult QV_COMCALL GetBufferAndLength(uint8_t** buffer, uint32_t* length);

  // Direct access for the plug-in's own use.
  uint8_t* Data() { return data_; }
  uint32_t Length() const { return length_; }
  uint32_t MaxLength() const { return maxLength_; }
  // Drops the first `count` bytes (all when count is at least the length),
  // moving the rest to the front.
  void Consume(uint32_t count);

  CMediaBuffer(const CMediaBuffer&) = delete;
  CMediaBuffer& operator=(const CMediaBuffer&) = delete;

 private:
  CMediaBuffer(uint8_t* data, uint32_t maxLength) : data_(data), maxLength_(maxLength) {}
  ~CMediaBuffer();

  std::atomic<uint32_t> refs_{1};
  uint8_t* data_;
  uint32_t length_ = 0;
  uint32_t maxLength_;
};

// Holds one reference to a buffer and releases it.
class MediaBufferRef {
 public:
  MediaBufferRef() = default;
  explicit MediaBufferRef(CMediaBuffer* adopted) : buffer_(adopted) {}
  ~MediaBufferRef() { Reset(); }
  MediaBufferRef(const MediaBufferRef&) = delete;
  MediaBufferRef& operator=(const MediaBufferRef&) = delete;
  MediaBufferRef(MediaBufferRef&& other) noexcept : buffer_(other.buffer_) { other.buffer_ = nullptr; }
  MediaBufferRef& operator=(MediaBufferRef&& other) noexcept {
    if (this != &other) {
      Reset();
      buffer_ = other.buffer_;
      other.buffer_ = nullptr;
    }
    return *this;
  }
  void Reset() {
    if (buffer_) buffer_->Release();
    buffer_ = nullptr;
  }
  CMediaBuffer* get() const { return buffer_; }
  CMediaBuffer* operator->() const { return buffer_; }
  explicit operator bool() const { return buffer_ != nullptr; }

 private:
  CMediaBuffer* buffer_ = nullptr;
};

}  // namespace qv
