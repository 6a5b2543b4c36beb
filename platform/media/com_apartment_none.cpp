#include "platform/media/com_apartment.h"

namespace qv {

void EnterComApartment() {}
void LeaveComApartment() {}

}  // namespace qv
