// Declarations of the system media object interface and its records, as the
// WMA plug-in uses them (not every toolchain ships them). Win32 only.
#pragma once

#include <windows.h>
#include <unknwn.h>

namespace qv::dmo {

// DMO_MEDIA_TYPE
struct MediaTypeRecord {
  GUID majortype;
  GUID subtype;
  BOOL bFixedSizeSamples;
  BOOL bTemporalCompression;
  ULONG lSampleSize;
  GUID formattype;
  IUnknown* pUnk;
  ULONG cbFormat;
  BYTE* pbFormat;
};

// DMO_OUTPUT_DATA_BUFFER; the buffer is an IMediaBuffer.
struct OutputDataBuffer {
  void* pBuffer;
  DWORD dwStatus;
  LONGLONG rtTimestamp;
  LONGLONG rtTimelength;
};

constexpr DWORD kInputSyncPoint = 0x00000001;      // DMO_INPUT_DATA_BUFFERF_SYNCPOINT
constexpr DWORD kOutputIncomplete = 0x01000000;    // DMO_OUTPUT_DATA_BUFFERF_INCOMPLETE
constexpr HRESULT kNotAccepting = static_cast<HRESULT>(0x80040204);  // DMO_E_NOTACCEPTING

// IMediaObject {D8AD0F58-5494-4102-97C5-EC798E59BCF4}
struct IMediaObjectDecl : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetStreamCount(DWORD* inputs, DWORD* outputs) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetInputStreamInfo(DWORD stream, DWORD* flags) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetOutputStreamInfo(DWORD stream, DWORD* flags) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetInputType(DWORD stream, DWORD index, MediaTypeRecord* type) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetOutputType(DWORD stream, DWORD index, MediaTypeRecord* type) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetInputType(DWORD stream, const MediaTypeRecord* type, DWORD flags) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetOutputType(DWORD stream, const MediaTypeRecord* type, DWORD flags) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetInputCurrentType(DWORD stream, MediaTypeRecord* type) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetOutputCurrentType(DWORD stream, MediaTypeRecord* type) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetInputSizeInfo(DWORD stream, DWORD* size, DWORD* lookahead,
                                                     DWORD* alignment) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetOutputSizeInfo(DWORD stream, DWORD* size, DWORD* alignment) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetInputMaxLatency(DWORD stream, LONGLONG* latency) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetInputMaxLatency(DWORD stream, LONGLONG latency) = 0;
  virtual HRESULT STDMETHODCALLTYPE Flush() = 0;
  virtual HRESULT STDMETHODCALLTYPE Discontinuity(DWORD stream) = 0;
  virtual HRESULT STDMETHODCALLTYPE AllocateStreamingResources() = 0;
  virtual HRESULT STDMETHODCALLTYPE FreeStreamingResources() = 0;
  virtual HRESULT STDMETHODCALLTYPE GetInputStatus(DWORD stream, DWORD* flags) = 0;
  virtual HRESULT STDMETHODCALLTYPE ProcessInput(DWORD stream, void* buffer, DWORD flags, LONGLONG timestamp,
                                                 LONGLONG timelength) = 0;
  virtual HRESULT STDMETHODCALLTYPE ProcessOutput(DWORD flags, DWORD count, OutputDataBuffer* buffers,
                                                  DWORD* status) = 0;
  virtual HRESULT STDMETHODCALLTYPE Lock(LONG lock) = 0;
};

constexpr GUID kIidMediaObject = {0xD8AD0F58, 0x5494, 0x4102, {0x97, 0xC5, 0xEC, 0x79, 0x8E, 0x59, 0xBC, 0xF4}};
// The Windows Media Audio decoder media object.
constexpr GUID kClsidWmaDecoder = {0x2EEB4ADF, 0x4578, 0x4D10, {0xBC, 0xA7, 0xBB, 0x95, 0x5F, 0x56, 0x32, 0x0A}};

}  // namespace qv::dmo
