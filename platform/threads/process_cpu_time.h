// CPU time the whole process has used so far (user and system, all threads),
// for the benchmarks and qvrender's report.
#pragma once

namespace qv {

// Seconds; 0 when the system does not tell.
double ProcessCpuSeconds();

}  // namespace qv
