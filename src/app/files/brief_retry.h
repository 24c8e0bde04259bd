#pragma once
#include <chrono>
#include <functional>

namespace tessafold {

enum class Attempt { Done, TryAgain, Failed };

// Repeats `attempt` while it asks to try again, waiting a little longer each
// time, for about `budget` in all. On Windows a virus scanner, an indexer or
// a sync client often opens a file for a moment just after it was written,
// and a rename of it fails until they let go. True when an attempt was Done.
bool RetryBriefly(const std::function<Attempt()>& attempt,
                  std::chrono::milliseconds budget = std::chrono::milliseconds(2000));

}  // namespace tessafold
