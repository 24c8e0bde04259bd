#pragma once

namespace tessafold {

// Held while a file is being replaced: the orderly end of the process waits
// until no hold is left, so closing the window never cuts a replacement off
// half-way. Take it only around work that cannot raise a fatal error.
class ShutdownHold {
 public:
  ShutdownHold();
  ~ShutdownHold();
  ShutdownHold(const ShutdownHold&) = delete;
  ShutdownHold& operator=(const ShutdownHold&) = delete;
};

// Blocks until every ShutdownHold has been released. Called by the clean-up.
void WaitForShutdownHolds();

}  // namespace tessafold
