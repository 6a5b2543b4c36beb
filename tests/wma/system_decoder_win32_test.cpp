// Win32: the system WMA decoder object's one-time check, the choice of
// decoder objects that follows from it, and the interface declarations the
// plug-in uses checked against the SDK's: a fake media object built on the
// SDK's interface is driven through them, and CMediaBuffer is used through
// the SDK's media buffer interface.
#include <gtest/gtest.h>

#include <windows.h>
#include <mediaerr.h>
#include <mediaobj.h>

#include <cstddef>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "engine/plugins/wma/wave_format.h"
#include "engine/plugins/wma/wma_decoder_choice.h"
#include "platform/media/dmo_interfaces_win32.h"
#include "platform/media/system_media_object_win32.h"
#include "platform/media/system_wma_decoder.h"

namespace qv::test {
namespace {

static_assert(sizeof(dmo::MediaTypeRecord) == sizeof(DMO_MEDIA_TYPE), "DMO_MEDIA_TYPE layout");
static_assert(offsetof(dmo::MediaTypeRecord, formattype) == offsetof(DMO_MEDIA_TYPE, formattype), "layout");
static_assert(offsetof(dmo::MediaTypeRecord, pbFormat) == offsetof(DMO_MEDIA_TYPE, pbFormat), "layout");
static_assert(sizeof(dmo::OutputDataBuffer) == sizeof(DMO_OUTPUT_DATA_BUFFER), "DMO_OUTPUT_DATA_BUFFER layout");
static_assert(offsetof(dmo::OutputDataBuffer, rtTimestamp) == offsetof(DMO_OUTPUT_DATA_BUFFER, rtTimestamp),
              "layout");

TEST(SystemWmaDecoder, CheckedOnceWithAClearResult) {
  const SystemDecoderCheck first = CheckSystemWmaDecoder();
  const SystemDecoderCheck second = CheckSystemWmaDecoder();
  EXPECT_EQ(first.state, second.state);
  EXPECT_EQ(first.result, second.result);
  EXPECT_NE(first.state, SystemDecoderState::NotOnThisSystem);
  std::cout << "system WMA decoder object: " << SystemDecoderStateName(first.state) << " (0x" << std::hex
            << static_cast<uint32_t>(first.result) << std::dec << ")\n";
  RecordProperty("system_wma_decoder", SystemDecoderStateName(first.state));
  const bool works = first.state == SystemDecoderState::Works;
  EXPECT_EQ(first.result >= 0, works) << "a failing call decided every other state";
  // The plug-in tries the system's object only where it works, its own always.
  EXPECT_EQ(WmaDecoderCandidates().size(), works ? 2u : 1u);
  EXPECT_EQ(CreateSystemWmaDecoder() != nullptr, works);
}

// A media object on the SDK's declarations that records what it is asked.
class FakeMediaObject : public IMediaObject {
 public:
  HRESULT processOutputResult = S_OK;
  DWORD outputStatus = 0;
  HRESULT processInputResult = S_OK;
  std::vector<std::string> calls;
  DMO_MEDIA_TYPE lastType{};
  std::vector<uint8_t> lastFormat;
  IMediaBuffer* lastBuffer = nullptr;
  DWORD lastFlags = 0;
  LONG refs = 1;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
  ULONG STDMETHODCALLTYPE Release() override {
    calls.push_back("Release");
    return --refs;
  }
  HRESULT STDMETHODCALLTYPE GetStreamCount(DWORD*, DWORD*) override { return Called("GetStreamCount"); }
  HRESULT STDMETHODCALLTYPE GetInputStreamInfo(DWORD, DWORD*) override { return Called("GetInputStreamInfo"); }
  HRESULT STDMETHODCALLTYPE GetOutputStreamInfo(DWORD, DWORD*) override { return Called("GetOutputStreamInfo"); }
  HRESULT STDMETHODCALLTYPE GetInputType(DWORD, DWORD, DMO_MEDIA_TYPE*) override { return Called("GetInputType"); }
  HRESULT STDMETHODCALLTYPE GetOutputType(DWORD, DWORD, DMO_MEDIA_TYPE*) override { return Called("GetOutputType"); }
  HRESULT STDMETHODCALLTYPE SetInputType(DWORD stream, const DMO_MEDIA_TYPE* type, DWORD flags) override {
    Keep(type);
    return stream == 0 && flags == 0 ? Called("SetInputType") : E_INVALIDARG;
  }
  HRESULT STDMETHODCALLTYPE SetOutputType(DWORD stream, const DMO_MEDIA_TYPE* type, DWORD flags) override {
    Keep(type);
    return stream == 0 && flags == 0 ? Called("SetOutputType") : E_INVALIDARG;
  }
  HRESULT STDMETHODCALLTYPE GetInputCurrentType(DWORD, DMO_MEDIA_TYPE*) override { return Called("GetInputCurrentType"); }
  HRESULT STDMETHODCALLTYPE GetOutputCurrentType(DWORD, DMO_MEDIA_TYPE*) override { return Called("GetOutputCurrentType"); }
  HRESULT STDMETHODCALLTYPE GetInputSizeInfo(DWORD, DWORD*, DWORD*, DWORD*) override { return Called("GetInputSizeInfo"); }
  HRESULT STDMETHODCALLTYPE GetOutputSizeInfo(DWORD, DWORD*, DWORD*) override { return Called("GetOutputSizeInfo"); }
  HRESULT STDMETHODCALLTYPE GetInputMaxLatency(DWORD, REFERENCE_TIME*) override { return Called("GetInputMaxLatency"); }
  HRESULT STDMETHODCALLTYPE SetInputMaxLatency(DWORD, REFERENCE_TIME) override { return Called("SetInputMaxLatency"); }
  HRESULT STDMETHODCALLTYPE Flush() override { return Called("Flush"); }
  HRESULT STDMETHODCALLTYPE Discontinuity(DWORD stream) override {
    return stream == 0 ? Called("Discontinuity") : E_INVALIDARG;
  }
  HRESULT STDMETHODCALLTYPE AllocateStreamingResources() override { return Called("AllocateStreamingResources"); }
  HRESULT STDMETHODCALLTYPE FreeStreamingResources() override { return Called("FreeStreamingResources"); }
  HRESULT STDMETHODCALLTYPE GetInputStatus(DWORD, DWORD*) override { return Called("GetInputStatus"); }
  HRESULT STDMETHODCALLTYPE ProcessInput(DWORD stream, IMediaBuffer* buffer, DWORD flags, REFERENCE_TIME,
                                         REFERENCE_TIME) override {
    lastBuffer = buffer;
    lastFlags = flags;
    Called("ProcessInput");
    return stream == 0 ? processInputResult : E_INVALIDARG;
  }
  HRESULT STDMETHODCALLTYPE ProcessOutput(DWORD flags, DWORD count, DMO_OUTPUT_DATA_BUFFER* buffers,
                                          DWORD*) override {
    Called("ProcessOutput");
    if (flags != 0 || count != 1) return E_INVALIDARG;
    lastBuffer = buffers[0].pBuffer;
    buffers[0].dwStatus = outputStatus;
    if (processOutputResult == S_OK) {
      BYTE* data = nullptr;
      DWORD length = 0;
      buffers[0].pBuffer->GetBufferAndLength(&data, &length);
      std::memcpy(data + length, "pcm!", 4);
      buffers[0].pBuffer->SetLength(length + 4);
    }
    return processOutputResult;
  }
  HRESULT STDMETHODCALLTYPE Lock(LONG) override { return Called("Lock"); }

 private:
  HRESULT Called(const char* name) {
    calls.push_back(name);
    return S_OK;
  }
  void Keep(const DMO_MEDIA_TYPE* type) {
    lastType = *type;
    lastFormat.assign(type->pbFormat, type->pbFormat + type->cbFormat);
  }
};

bool SameGuid(const GUID& a, const Guid& b) {
  return a.Data1 == b.data1 && a.Data2 == b.data2 && a.Data3 == b.data3 && std::memcmp(a.Data4, b.data4, 8) == 0;
}

// Each operation reaches the method it names, with its arguments, and the
// answers are read back the way the SDK defines them.
TEST(SystemWmaDecoder, DeclarationsMatchTheSdk) {
  FakeMediaObject fake;
  {
    SystemMediaObject object(reinterpret_cast<dmo::IMediaObjectDecl*>(static_cast<IMediaObject*>(&fake)));
    const MediaType input = CompressedAudioType(std::vector<uint8_t>(28, 7), 0x0161);
    ASSERT_TRUE(object.SetInputType(input));
    EXPECT_TRUE(SameGuid(fake.lastType.majortype, kMediaTypeAudio));
    EXPECT_TRUE(SameGuid(fake.lastType.subtype, AudioSubtype(0x0161)));
    EXPECT_TRUE(SameGuid(fake.lastType.formattype, kFormatWaveFormatEx));
    EXPECT_TRUE(fake.lastType.bFixedSizeSamples);
    EXPECT_EQ(fake.lastFormat, input.format);
    ASSERT_TRUE(object.SetOutputType(PcmAudioType(2, 44100, 16)));
    EXPECT_EQ(fake.lastType.lSampleSize, 4u);
    EXPECT_EQ(fake.lastFormat, PcmWaveFormat(2, 44100, 16));
    EXPECT_TRUE(object.AllocateStreamingResources());

    MediaBufferRef in(CMediaBuffer::Create(8));
    EXPECT_EQ(object.ProcessInput(in.get(), true), InputResult::Accepted);
    EXPECT_EQ(static_cast<void*>(fake.lastBuffer), static_cast<void*>(in.get()));
    EXPECT_EQ(fake.lastFlags, DMO_INPUT_DATA_BUFFERF_SYNCPOINT);
    EXPECT_EQ(object.ProcessInput(in.get(), false), InputResult::Accepted);
    EXPECT_EQ(fake.lastFlags, 0u);
    fake.processInputResult = static_cast<HRESULT>(DMO_E_NOTACCEPTING);
    EXPECT_EQ(object.ProcessInput(in.get(), false), InputResult::NotAccepting);
    fake.processInputResult = E_FAIL;
    EXPECT_EQ(object.ProcessInput(in.get(), false), InputResult::Failed);

    MediaBufferRef out(CMediaBuffer::Create(64));
    bool more = true;
    EXPECT_EQ(object.ProcessOutput(out.get(), &more), OutputResult::Data);
    EXPECT_FALSE(more);
    EXPECT_EQ(out->Length(), 4u) << "the fake wrote through the SDK's media buffer interface";
    EXPECT_EQ(std::memcmp(out->Data(), "pcm!", 4), 0);
    fake.outputStatus = DMO_OUTPUT_DATA_BUFFERF_INCOMPLETE;
    EXPECT_EQ(object.ProcessOutput(out.get(), &more), OutputResult::Data);
    EXPECT_TRUE(more);
    EXPECT_EQ(out->Length(), 8u);
    fake.processOutputResult = S_FALSE;
    EXPECT_EQ(object.ProcessOutput(out.get(), &more), OutputResult::NoOutput);
    fake.processOutputResult = E_FAIL;
    EXPECT_EQ(object.ProcessOutput(out.get(), &more), OutputResult::Failed);

    object.Discontinuity();
    object.Flush();
    object.FreeStreamingResources();
  }
  const std::vector<std::string> expected = {
      "SetInputType", "SetOutputType", "AllocateStreamingResources", "ProcessInput", "ProcessInput", "ProcessInput",
      "ProcessInput", "ProcessOutput", "ProcessOutput", "ProcessOutput", "ProcessOutput", "Discontinuity", "Flush",
      "FreeStreamingResources", "Release"};
  EXPECT_EQ(fake.calls, expected);
}

// CMediaBuffer through the SDK's IMediaBuffer: the same object, the same
// methods, the standard calling convention.
TEST(SystemWmaDecoder, MediaBufferIsAnSdkMediaBuffer) {
  CMediaBuffer* buffer = CMediaBuffer::Create(32);
  IMediaBuffer* sdk = reinterpret_cast<IMediaBuffer*>(buffer);
  const IID iid = {0x59EFF8B9, 0x938C, 0x4A26, {0x82, 0xF2, 0x95, 0xCB, 0x84, 0xCD, 0xC8, 0x37}};
  void* same = nullptr;
  ASSERT_EQ(sdk->QueryInterface(iid, &same), S_OK);
  EXPECT_EQ(same, static_cast<void*>(buffer));
  EXPECT_EQ(sdk->AddRef(), 3u);
  EXPECT_EQ(sdk->SetLength(33), E_INVALIDARG);
  EXPECT_EQ(sdk->SetLength(12), S_OK);
  DWORD max = 0, length = 0;
  BYTE* data = nullptr;
  EXPECT_EQ(sdk->GetMaxLength(&max), S_OK);
  EXPECT_EQ(max, 32u);
  EXPECT_EQ(sdk->GetBufferAndLength(&data, &length), S_OK);
  EXPECT_EQ(length, 12u);
  EXPECT_EQ(data, buffer->Data());
  EXPECT_EQ(sdk->Release(), 2u);
  EXPECT_EQ(sdk->Release(), 1u);
  EXPECT_EQ(buffer->Release(), 0u);
}

}  // namespace
}  // namespace qv::test
