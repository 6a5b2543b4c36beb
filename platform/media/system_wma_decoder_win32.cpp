#include <windows.h>
#include <objbase.h>

#include "platform/media/dmo_interfaces_win32.h"
#include "platform/media/system_media_object_win32.h"
#include "platform/media/system_wma_decoder.h"

namespace qv {

namespace {

// A WMA v2 stream as Windows encoders write it: 44.1 kHz stereo at
// 128 kbit/s, with the 10 bytes of encoder options.
const uint8_t kProbeWmaFormat[28] = {0x61, 0x01, 0x02, 0x00, 0x44, 0xAC, 0x00, 0x00, 0x80, 0x3E,
                                     0x00, 0x00, 0x39, 0x17, 0x10, 0x00, 0x0A, 0x00, 0x00, 0x88,
                                     0x00, 0x00, 0x0F, 0x00, 0x00, 0x00, 0x00, 0x00};
const uint8_t kProbePcmFormat[18] = {0x01, 0x00, 0x02, 0x00, 0x44, 0xAC, 0x00, 0x00, 0x10, 0xB1,
                                     0x02, 0x00, 0x04, 0x00, 0x10, 0x00, 0x00, 0x00};

MediaType ProbeType(const uint8_t* record, size_t size, uint16_t tag) {
  MediaType t;
  t.majorType = kMediaTypeAudio;
  t.subType = AudioSubtype(tag);
  t.fixedSizeSamples = true;
  t.formatType = kFormatWaveFormatEx;
  t.format.assign(record, record + size);
  return t;
}

SystemDecoderState StateOf(HRESULT hr) {
  return hr == E_NOTIMPL ? SystemDecoderState::NotImplemented : SystemDecoderState::Refused;
}

SystemDecoderCheck Probe() {
  dmo::IMediaObjectDecl* object = nullptr;
  HRESULT hr = CoCreateInstance(dmo::kClsidWmaDecoder, nullptr, CLSCTX_INPROC_SERVER, dmo::kIidMediaObject,
                                reinterpret_cast<void**>(&object));
  if (FAILED(hr) || !object) return {SystemDecoderState::NotCreated, hr};
  SystemMediaObject decoder(object);  // takes the reference
  DWORD inputs = 0, outputs = 0;
  hr = decoder.Raw()->GetStreamCount(&inputs, &outputs);
  if (FAILED(hr)) return {StateOf(hr), hr};
  if (inputs != 1 || outputs != 1) return {SystemDecoderState::Refused, hr};
  hr = decoder.SetInputTypeResult(ProbeType(kProbeWmaFormat, sizeof kProbeWmaFormat, 0x0161));
  if (FAILED(hr)) return {StateOf(hr), hr};
  hr = decoder.SetOutputTypeResult(ProbeType(kProbePcmFormat, sizeof kProbePcmFormat, 0x0001));
  if (FAILED(hr)) return {StateOf(hr), hr};
  hr = decoder.Raw()->AllocateStreamingResources();
  if (FAILED(hr)) return {StateOf(hr), hr};
  decoder.Raw()->FreeStreamingResources();
  return {SystemDecoderState::Works, hr};
}

// The check runs in an apartment of its own making when the thread has none,
// and leaves the thread as it found it.
SystemDecoderCheck CheckOnce() {
  const HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  const SystemDecoderCheck check = Probe();
  if (SUCCEEDED(init)) CoUninitialize();
  return check;
}

}  // namespace

SystemDecoderCheck CheckSystemWmaDecoder() {
  static const SystemDecoderCheck check = CheckOnce();
  return check;
}

std::unique_ptr<MediaObject> CreateSystemWmaDecoder() {
  if (CheckSystemWmaDecoder().state != SystemDecoderState::Works) return nullptr;
  dmo::IMediaObjectDecl* object = nullptr;
  const HRESULT hr = CoCreateInstance(dmo::kClsidWmaDecoder, nullptr, CLSCTX_INPROC_SERVER, dmo::kIidMediaObject,
                                      reinterpret_cast<void**>(&object));
  if (FAILED(hr) || !object) return nullptr;
  return std::make_unique<SystemMediaObject>(object);
}

}  // namespace qv
