#include "platform/threads/thread_priority.h"

namespace qv {

// Raising priorities needs privileges natively; the native build only runs
// tests and tools, which do not depend on scheduling.
void SetCurrentThreadPriority(int) {}

}  // namespace qv
