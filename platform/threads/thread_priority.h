// Thread priorities by their Windows numbers; the native build ignores them.
#pragma once

namespace qv {

constexpr int kPriorityBelowNormal = -1;
constexpr int kPriorityNormal = 0;
constexpr int kPriorityAboveNormal = 1;
constexpr int kPriorityTimeCritical = 15;

// Sets the calling thread's priority (THREAD_PRIORITY_* values).
void SetCurrentThreadPriority(int priority);

}  // namespace qv
