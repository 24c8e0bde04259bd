#pragma once
#include <cstdint>

namespace tessafold {

// The most memory this process has held resident at one time, in bytes
// (0 when the platform cannot tell). For the benchmark's memory figure.
int64_t PeakMemoryBytes();

}  // namespace tessafold
