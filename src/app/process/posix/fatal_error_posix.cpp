#include <cstdio>

#include "app/process/fatal_error.h"
#include "app/process/process_end.h"
#include "app/process/shutdown_hold.h"

namespace tessafold {

// Without a desktop the box becomes a report on standard error.
void FatalRuntimeError(int32_t code, std::string_view message) {
  const std::string text = FatalErrorText(code, message);
  std::fprintf(stderr, "%s\n%s", std::string(kFatalErrorTitle).c_str(), text.c_str());
  // This thread never unwinds: the clean-up must not wait for what it holds.
  AbandonShutdownHoldsForFatalEnd();
  EndProcess(kFatalExitCode);
}

}  // namespace tessafold
