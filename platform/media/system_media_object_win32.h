// A system media object (one input, one output stream) behind the
// MediaObject operations. Win32 only.
#pragma once

#include "platform/media/dmo_interfaces_win32.h"
#include "platform/media/media_object.h"

namespace qv {

class SystemMediaObject final : public MediaObject {
 public:
  // Takes over one reference to `object`.
  explicit SystemMediaObject(dmo::IMediaObjectDecl* object) : object_(object) {}
  ~SystemMediaObject() override;
  SystemMediaObject(const SystemMediaObject&) = delete;
  SystemMediaObject& operator=(const SystemMediaObject&) = delete;

  bool SetInputType(const MediaType& type) override { return SUCCEEDED(SetInputTypeResult(type)); }
  bool SetOutputType(const MediaType& type) override { return SUCCEEDED(SetOutputTypeResult(type)); }
  bool AllocateStreamingResources() override;
  void FreeStreamingResources() override;
  InputResult ProcessInput(CMediaBuffer* buffer, bool syncPoint) override;
  OutputResult ProcessOutput(CMediaBuffer* buffer, bool* more) override;
  void Discontinuity() override;
  void Flush() override;

  HRESULT SetInputTypeResult(const MediaType& type);
  HRESULT SetOutputTypeResult(const MediaType& type);
  dmo::IMediaObjectDecl* Raw() const { return object_; }

 private:
  dmo::IMediaObjectDecl* object_;
};

}  // namespace qv
