// The process's peak working set as the system reports it (under Wine: the peak resident size).
#pragma once

namespace bench {

// In megabytes; 0 when the system does not say.
double PeakWorkingSetMb();

}  // namespace bench
