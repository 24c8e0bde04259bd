#include <pthread.h>
#include <signal.h>

#include <mutex>
#include <type_traits>

#include "app/files/blocking_call.h"

namespace tessafold {

namespace {

// Ignored by default, so one that arrives anywhere else does no harm.
constexpr int kInterruptSignal = SIGURG;

void Interrupted(int) {}

// Without SA_RESTART the interrupted call fails with EINTR instead of going on.
void InstallHandlerOnce() {
  static std::once_flag installed;
  std::call_once(installed, [] {
    struct sigaction action {};
    action.sa_handler = Interrupted;
    sigemptyset(&action.sa_mask);
    sigaction(kInterruptSignal, &action, nullptr);
  });
}

static_assert(std::is_integral_v<pthread_t> && sizeof(pthread_t) <= sizeof(uintptr_t));

}  // namespace

BlockingCallCanceller::BlockingCallCanceller() : thread_(static_cast<uintptr_t>(pthread_self())) {
  InstallHandlerOnce();
}

BlockingCallCanceller::~BlockingCallCanceller() = default;

void BlockingCallCanceller::Cancel() const { pthread_kill(static_cast<pthread_t>(thread_), kInterruptSignal); }

}  // namespace tessafold
