#pragma once
#include <cstdint>

namespace tessafold {

// The thread that makes it, for another thread to cut short the blocking
// read, write or flush it is in, which then fails. Windows cancels the
// synchronous I/O of the thread; POSIX interrupts it with a signal, so a call
// that gives up on EINTR ends. Nothing happens when the thread is not in such
// a call. Made and destroyed on the same thread.
class BlockingCallCanceller {
 public:
  BlockingCallCanceller();
  ~BlockingCallCanceller();
  BlockingCallCanceller(const BlockingCallCanceller&) = delete;
  BlockingCallCanceller& operator=(const BlockingCallCanceller&) = delete;

  // From any thread, while the canceller lives.
  void Cancel() const;

 private:
  uintptr_t thread_ = 0;
};

}  // namespace tessafold
