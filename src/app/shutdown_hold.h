#pragma once

namespace tessafold {

// Held while a file is being replaced: the orderly end of the process waits
// until no hold is left, so closing the window never cuts a replacement off
// half-way. Once the end has begun no hold can be taken any more, and work
// that can still be given up asks ShutdownBegun() and stops early. Take it
// only around work that cannot raise a fatal error.
class ShutdownHold {
 public:
  ShutdownHold();
  ~ShutdownHold();
  ShutdownHold(const ShutdownHold&) = delete;
  ShutdownHold& operator=(const ShutdownHold&) = delete;

  // False when the end had already begun: the work must not start.
  bool Held() const { return held_; }

 private:
  bool held_;
};

// True from the moment the clean-up starts waiting for the holds.
bool ShutdownBegun();

// Refuses every new hold, then blocks until every hold has been released.
// Called by the clean-up.
void WaitForShutdownHolds();

}  // namespace tessafold
