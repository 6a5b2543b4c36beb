// CMediaBuffer: reference counting, the two interfaces it answers, length
// bounds and the argument checks of its getters.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/media/media_buffer.h"

namespace qv::test {
namespace {

TEST(MediaBuffer, CountsReferencesFromOne) {
  CMediaBuffer* b = CMediaBuffer::Create(16);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->AddRef(), 2u);
  EXPECT_EQ(b->AddRef(), 3u);
  EXPECT_EQ(b->Release(), 2u);
  EXPECT_EQ(b->Release(), 1u);
  EXPECT_EQ(b->Release(), 0u);  // freed here; the sanitizers check the rest
}

TEST(MediaBuffer, AnswersTheMediaBufferInterfaceAndIUnknownOnly) {
  MediaBufferRef b(CMediaBuffer::Create(16));
  void* object = nullptr;
  EXPECT_EQ(b->QueryInterface(kIidMediaBuffer, &object), kComOk);
  EXPECT_EQ(object, b.get());
  object = nullptr;
  EXPECT_EQ(b->QueryInterface(kIidUnknown, &object), kComOk);
  EXPECT_EQ(object, b.get());
  // Two references were added; the holder has one more.
  EXPECT_EQ(b->Release(), 2u);
  EXPECT_EQ(b->Release(), 1u);

  const Guid other = {0x12345678, 0x9ABC, 0xDEF0, {1, 2, 3, 4, 5, 6, 7, 8}};
  object = b.get();
  EXPECT_EQ(b->QueryInterface(other, &object), kComFail);
  EXPECT_EQ(object, nullptr);
  EXPECT_EQ(b->QueryInterface(kIidMediaBuffer, nullptr), kComPointer);
  EXPECT_EQ(b->AddRef(), 2u) << "a failed query adds no reference";
  b->Release();
}

TEST(MediaBuffer, LengthStaysWithinTheMaximum) {
  MediaBufferRef b(CMediaBuffer::Create(100));
  uint32_t max = 0, length = 7;
  EXPECT_EQ(b->GetMaxLength(&max), kComOk);
  EXPECT_EQ(max, 100u);
  EXPECT_EQ(b->GetBufferAndLength(nullptr, &length), kComOk) << "the data argument may be null";
  EXPECT_EQ(length, 0u);
  EXPECT_EQ(b->SetLength(100), kComOk);
  EXPECT_EQ(b->SetLength(101), kComInvalidArg);
  uint8_t* data = nullptr;
  EXPECT_EQ(b->GetBufferAndLength(&data, &length), kComOk);
  EXPECT_EQ(length, 100u) << "a refused length leaves the length as it was";
  EXPECT_EQ(data, b->Data());
  EXPECT_EQ(b->GetMaxLength(nullptr), kComPointer);
  EXPECT_EQ(b->GetBufferAndLength(&data, nullptr), kComPointer);
}

TEST(MediaBuffer, ConsumeMovesTheRestToTheFront) {
  MediaBufferRef b(CMediaBuffer::Create(8));
  std::memcpy(b->Data(), "abcdefgh", 8);
  b->SetLength(8);
  b->Consume(3);
  ASSERT_EQ(b->Length(), 5u);
  EXPECT_EQ(std::memcmp(b->Data(), "defgh", 5), 0);
  b->Consume(50);
  EXPECT_EQ(b->Length(), 0u);
}

}  // namespace
}  // namespace qv::test
