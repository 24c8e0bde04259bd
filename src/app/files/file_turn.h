#pragma once
#include <string>

namespace tessafold {

// Holds the turn on one file for as long as it lives: a second FileTurn with
// the same key waits until the first is gone, so replacements of one file run
// one after the other, each on the complete result of the other. The key is
// the file's identity (FileIdentity), so every spelling of a path to the file
// meets the same turn. Turns with different keys do not wait for each other.
class FileTurn {
 public:
  explicit FileTurn(const std::string& key);
  ~FileTurn();
  FileTurn(const FileTurn&) = delete;
  FileTurn& operator=(const FileTurn&) = delete;

 private:
  std::string key_;
};

// How many FileTurns with this key are waiting for their turn right now.
int WaitingTurns(const std::string& key);

}  // namespace tessafold
