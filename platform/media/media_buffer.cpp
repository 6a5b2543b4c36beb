#include "platform/media/media_buffer.h"

#include <cstring>
#include <new>

namespace qv {

CMediaBuffer* CMediaBuffer::Create(uint32_t maxLength) {
  uint8_t* data = new (std::nothrow) uint8_t[maxLength > 0 ? maxLength : 1];
  if (!data) return nullptr;
  CMediaBuffer* buffer = new (std::nothrow) CMediaBuffer(data, maxLength);
  if (!buffer) delete[] data;
  return buffer;
}

CMediaBuffer::~CMediaBuffer() { delete[] data_; }

ComResult CMediaBuffer::QueryInterface(const Guid& iid, void** object) {
  if (!object) return kComPointer;
  if (iid == kIidMediaBuffer || iid == kIidUnknown) {
    AddRef();
    *object = this;
    return kComOk;
  }
  *object = nullptr;
  return kComFail;
}

uint32_t CMediaBuffer::AddRef() { return refs_.fetch_add(1, std::memory_order_relaxed) + 1; }

uint32_t CMediaBuffer::Release() {
  const uint32_t left = refs_.fetch_sub(1, std::memory_order_acq_rel) - 1;
  if (left == 0) delete this;
  return left;
}

ComResult CMediaBuffer::SetLength(uint32_t length) {
  if (length > maxLength_) return kComInvalidArg;
  length_ = length;
  return kComOk;
}

ComResult CMediaBuffer::GetMaxLength(uint32_t* maxLength) {
  if (!maxLength) return kComPointer;
  *maxLength = maxLength_;
  return kComOk;
}

ComResult CMediaBuffer::GetBufferAndLength(uint8_t** buffer, uint32_t* length) {
  if (!length) return kComPointer;
  if (buffer) *buffer = data_;
  *length = length_;
  return kComOk;
}

void CMediaBuffer::Consume(uint32_t count) {
  if (count >= length_) {
    length_ = 0;
    return;
  }
  std::memmove(data_, data_ + count, length_ - count);
  length_ -= count;
}

}  // namespace qv
