#include <windows.h>

#include "app/files/blocking_call.h"
#include "app/win/handle_owners.h"

namespace tessafold {

// A handle of its own: GetCurrentThread() means the caller wherever it is used.
BlockingCallCanceller::BlockingCallCanceller()
    : thread_(reinterpret_cast<uintptr_t>(OpenThread(THREAD_TERMINATE, FALSE, GetCurrentThreadId()))) {}

BlockingCallCanceller::~BlockingCallCanceller() { const KernelHandle owned(reinterpret_cast<HANDLE>(thread_)); }

void BlockingCallCanceller::Cancel() const {
  if (thread_) CancelSynchronousIo(reinterpret_cast<HANDLE>(thread_));
}

}  // namespace tessafold
