#pragma once
#include <string>

namespace tessafold {

// Holds the turn on one file for as long as it lives: a second FileTurn for
// the same file (same PathKey) waits until the first is gone, so transforms of
// one file run one after the other, each on the complete result of the other.
// Turns on different files do not wait for each other.
class FileTurn {
 public:
  explicit FileTurn(const std::string& path);
  ~FileTurn();
  FileTurn(const FileTurn&) = delete;
  FileTurn& operator=(const FileTurn&) = delete;

 private:
  std::string key_;
};

// How many FileTurns for this file are waiting for their turn right now.
int WaitingTurns(const std::string& path);

}  // namespace tessafold
