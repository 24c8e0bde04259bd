#pragma once
#include <string_view>

namespace tessafold {

// Hands the address (UTF-8), unchanged, to the shell's "open" action. Failures
// are silent. Any thread may call it.
void OpenWebPage(std::string_view address);

}  // namespace tessafold
