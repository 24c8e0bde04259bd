#include <windows.h>

#include <memory>
#include <new>

#include "app/process/worker.h"
#include "app/win/handle_owners.h"

namespace tessafold {

namespace {

struct WorkerStart {
  WorkerRoutine routine;
  void* parameter;
};

// Threads may start with a 4-byte aligned stack; the routine may use SSE.
__attribute__((force_align_arg_pointer)) DWORD WINAPI WorkerMain(LPVOID start) {
  const std::unique_ptr<WorkerStart> owned(static_cast<WorkerStart*>(start));
  owned->routine(owned->parameter);
  return 0;
}

}  // namespace

bool StartWorker(WorkerRoutine routine, void* parameter) {
  std::unique_ptr<WorkerStart> start(new (std::nothrow) WorkerStart{routine, parameter});
  if (!start) return false;
  // Nobody waits for the worker: its handle is let go at once.
  const KernelHandle thread(CreateThread(nullptr, 0, WorkerMain, start.get(), 0, nullptr));
  if (!thread.Valid()) return false;
  start.release();  // the worker owns it now
  return true;
}

}  // namespace tessafold
