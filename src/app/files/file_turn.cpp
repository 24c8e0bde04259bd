#include "app/files/file_turn.h"

#include <condition_variable>
#include <map>
#include <mutex>

namespace tessafold {

namespace {

struct FileState {
  bool taken = false;
  int waiting = 0;
};

std::mutex turnMutex;
std::condition_variable turnReleased;
std::map<std::string, FileState> files;  // only files that are taken or waited for

}  // namespace

FileTurn::FileTurn(const std::string& key) : key_(key) {
  std::unique_lock lock(turnMutex);
  FileState& state = files[key_];
  ++state.waiting;
  turnReleased.wait(lock, [&] { return !state.taken; });
  --state.waiting;
  state.taken = true;
}

FileTurn::~FileTurn() {
  std::lock_guard lock(turnMutex);
  const auto found = files.find(key_);
  found->second.taken = false;
  if (found->second.waiting == 0) files.erase(found);
  turnReleased.notify_all();
}

int WaitingTurns(const std::string& key) {
  std::lock_guard lock(turnMutex);
  const auto found = files.find(key);
  return found == files.end() ? 0 : found->second.waiting;
}

}  // namespace tessafold
