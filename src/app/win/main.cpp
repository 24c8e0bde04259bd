#include <windows.h>

#include "app/frame.h"
#include "app/process_end.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // A drive without a medium fails quietly instead of asking the user.
  SetErrorMode(GetErrorMode() | SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  tessafold::ProgramEntry();
  // Not back into the C runtime: its exit would run beside workers that may still be busy.
  tessafold::EndProcess(0);
}
