#include "platform/notify/notify_sink.h"

namespace qv {

namespace {

// The native build has no windows to post to.
class DroppingSink : public NotifySink {
 public:
  void Post(WindowHandle, uint32_t, uintptr_t, intptr_t) override {}
};

}  // namespace

std::unique_ptr<NotifySink> CreateSystemNotifySink() { return std::make_unique<DroppingSink>(); }

}  // namespace qv
