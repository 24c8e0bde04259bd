#include <cstdio>

#include "app/fatal_error.h"
#include "app/process_end.h"

namespace tessafold {

// Without a desktop the box becomes a report on standard error.
void FatalRuntimeError(int32_t code, std::string_view message) {
  const std::string text = FatalErrorText(code, message);
  std::fprintf(stderr, "%s\n%s", std::string(kFatalErrorTitle).c_str(), text.c_str());
  EndProcess(kFatalExitCode);
}

}  // namespace tessafold
