#include <windows.h>

#include "platform/threads/thread_priority.h"

namespace qv {

void SetCurrentThreadPriority(int priority) { SetThreadPriority(GetCurrentThread(), priority); }

}  // namespace qv
