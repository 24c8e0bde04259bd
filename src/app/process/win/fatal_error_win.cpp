#include <windows.h>

#include "app/process/fatal_error.h"
#include "app/process/process_end.h"
#include "app/process/shutdown_hold.h"
#include "app/text/win/wide_text.h"

namespace tessafold {

void FatalRuntimeError(int32_t code, std::string_view message) {
  const std::wstring text = Widen(FatalErrorText(code, message));
  const std::wstring title = Widen(kFatalErrorTitle);
  MessageBoxW(nullptr, text.c_str(), title.c_str(), MB_OK | MB_ICONHAND);
  // This thread never unwinds: the clean-up must not wait for what it holds.
  AbandonShutdownHoldsForFatalEnd();
  EndProcess(kFatalExitCode);
}

}  // namespace tessafold
