#include <windows.h>

#include "app/process/running_marker.h"
#include "app/win/handle_owners.h"

namespace tessafold {

void MarkProcessRunning() {
  // A second copy opens the same mutexes; another user's copy may already
  // own the global one, which this user cannot open: its mark then stands.
  static KernelHandle local(CreateMutexW(nullptr, FALSE, L"Local\\Tessafold.Running"));
  static KernelHandle global(CreateMutexW(nullptr, FALSE, L"Global\\Tessafold.Running"));
}

}  // namespace tessafold
