#include <sys/resource.h>

#include "app/process/process_memory.h"

namespace tessafold {

int64_t PeakMemoryBytes() {
  struct rusage usage {};
  if (getrusage(RUSAGE_SELF, &usage) != 0) return 0;
  return static_cast<int64_t>(usage.ru_maxrss) * 1024;  // reported in KiB
}

}  // namespace tessafold
