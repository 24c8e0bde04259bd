#include <windows.h>
#include <psapi.h>

#include "app/process/process_memory.h"

namespace tessafold {

int64_t PeakMemoryBytes() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof(counters);
  if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters))) return 0;
  return static_cast<int64_t>(counters.PeakWorkingSetSize);
}

}  // namespace tessafold
