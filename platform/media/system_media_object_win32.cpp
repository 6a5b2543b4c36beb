#include "platform/media/system_media_object_win32.h"

#include <cstring>

namespace qv {

namespace {

GUID ToGuid(const Guid& g) {
  GUID out;
  out.Data1 = g.data1;
  out.Data2 = g.data2;
  out.Data3 = g.data3;
  std::memcpy(out.Data4, g.data4, sizeof out.Data4);
  return out;
}

// The record points into `type`, which outlives the call.
dmo::MediaTypeRecord ToRecord(const MediaType& type) {
  dmo::MediaTypeRecord r{};
  r.majortype = ToGuid(type.majorType);
  r.subtype = ToGuid(type.subType);
  r.bFixedSizeSamples = type.fixedSizeSamples ? TRUE : FALSE;
  r.bTemporalCompression = FALSE;
  r.lSampleSize = type.sampleSize;
  r.formattype = ToGuid(type.formatType);
  r.pUnk = nullptr;
  r.cbFormat = static_cast<ULONG>(type.format.size());
  r.pbFormat = const_cast<BYTE*>(type.format.data());
  return r;
}

// CMediaBuffer has the media buffer interface's layout and calling
// convention, so the object itself is the interface pointer.
void* AsInterface(CMediaBuffer* buffer) { return buffer; }

}  // namespace

SystemMediaObject::~SystemMediaObject() {
  if (object_) object_->Release();
}

HRESULT SystemMediaObject::SetInputTypeResult(const MediaType& type) {
  const dmo::MediaTypeRecord r = ToRecord(type);
  return object_->SetInputType(0, &r, 0);
}

HRESULT SystemMediaObject::SetOutputTypeResult(const MediaType& type) {
  const dmo::MediaTypeRecord r = ToRecord(type);
  return object_->SetOutputType(0, &r, 0);
}

bool SystemMediaObject::AllocateStreamingResources() { return SUCCEEDED(object_->AllocateStreamingResources()); }

void SystemMediaObject::FreeStreamingResources() { object_->FreeStreamingResources(); }

InputResult SystemMediaObject::ProcessInput(CMediaBuffer* buffer, bool syncPoint) {
  const HRESULT hr = object_->ProcessInput(0, AsInterface(buffer), syncPoint ? dmo::kInputSyncPoint : 0, 0, 0);
  if (hr == dmo::kNotAccepting) return InputResult::NotAccepting;
  return SUCCEEDED(hr) ? InputResult::Accepted : InputResult::Failed;
}

OutputResult SystemMediaObject::ProcessOutput(CMediaBuffer* buffer, bool* more) {
  *more = false;
  dmo::OutputDataBuffer out{};
  out.pBuffer = AsInterface(buffer);
  DWORD status = 0;
  const HRESULT hr = object_->ProcessOutput(0, 1, &out, &status);
  if (hr == S_FALSE) return OutputResult::NoOutput;
  if (FAILED(hr)) return OutputResult::Failed;
  *more = (out.dwStatus & dmo::kOutputIncomplete) != 0;
  return OutputResult::Data;
}

void SystemMediaObject::Discontinuity() { object_->Discontinuity(0); }

void SystemMediaObject::Flush() { object_->Flush(); }

}  // namespace qv
