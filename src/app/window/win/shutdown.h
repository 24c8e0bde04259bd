#pragma once
#include <cstdint>

namespace tessafold {

// The orderly clean-up: runs once on the user interface thread, then ends the process.
[[noreturn]] void ShutDown(uint32_t exitCode);

}  // namespace tessafold
