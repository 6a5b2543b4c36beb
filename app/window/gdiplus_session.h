// GDI+ for the process: started by the application object, shut down after
// every GDI+ object is gone.
#pragma once

namespace qv {

void StartGdiplus();
void StopGdiplus();

}  // namespace qv
