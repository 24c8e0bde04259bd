#include <windows.h>

#include <cstdint>

namespace tessafold {

[[noreturn]] void EndProcessNow(uint32_t exitCode) { ExitProcess(exitCode); }

}  // namespace tessafold
