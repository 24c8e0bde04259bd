#include "app/process_end.h"

#include <atomic>

namespace tessafold {

[[noreturn]] void EndProcessNow(uint32_t exitCode);  // the platform's immediate end

namespace {
std::atomic<ProcessEndHandler> installedHandler{nullptr};
}

void SetProcessEndHandler(ProcessEndHandler handler) { installedHandler.store(handler); }

void EndProcess(uint32_t exitCode) {
  if (ProcessEndHandler handler = installedHandler.load()) handler(exitCode);
  EndProcessNow(exitCode);
}

}  // namespace tessafold
