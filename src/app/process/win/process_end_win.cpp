#include <windows.h>

#include "app/process/process_end.h"

namespace tessafold {

[[noreturn]] void EndProcessNow(uint32_t exitCode) { ExitProcess(exitCode); }

}  // namespace tessafold
