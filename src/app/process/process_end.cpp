#include "app/process/process_end.h"

#include <atomic>

namespace tessafold {

namespace {
std::atomic<ProcessEndHandler> installedHandler{nullptr};
}

void SetProcessEndHandler(ProcessEndHandler handler) { installedHandler.store(handler); }

void EndProcess(uint32_t exitCode) {
  if (ProcessEndHandler handler = installedHandler.load()) handler(exitCode);
  EndProcessNow(exitCode);
}

}  // namespace tessafold
