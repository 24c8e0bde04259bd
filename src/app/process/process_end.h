#pragma once
#include <cstdint>

namespace tessafold {

// Ends the process with the exit code. Once the application frame runs, this
// goes through its orderly clean-up on the user interface thread; before
// that (and in test programs) the process simply ends.
[[noreturn]] void EndProcess(uint32_t exitCode);

// The platform's immediate end, without any clean-up.
[[noreturn]] void EndProcessNow(uint32_t exitCode);

// The frame installs its clean-up here; it must not return.
using ProcessEndHandler = void (*)(uint32_t exitCode);
void SetProcessEndHandler(ProcessEndHandler handler);

}  // namespace tessafold
