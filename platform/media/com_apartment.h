// COM on the calling thread: the WMA plug-in's Init enters the
// single-threaded apartment and its Quit leaves it. A thread that was
// already in another apartment keeps it; Leave undoes only Enters that
// succeeded on the same thread. Nothing natively.
#pragma once

namespace qv {

void EnterComApartment();
void LeaveComApartment();

}  // namespace qv
