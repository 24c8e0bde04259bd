#pragma once
#include <cstdint>

namespace tessafold {

// Where the running jobs stand, summed over all of them: the bytes done and
// the bytes in total. Each running job holds one JobProgress; the display
// hears the sums whenever they change, and (0, 0) once no job runs.
class JobProgress {
 public:
  JobProgress();
  ~JobProgress();
  JobProgress(const JobProgress&) = delete;
  JobProgress& operator=(const JobProgress&) = delete;

  void Update(int64_t done, int64_t total);

 private:
  int64_t done_ = 0;
  int64_t total_ = 0;
};

// Receives the sums; it must not block, for it is called from the jobs.
using ProgressDisplay = void (*)(int64_t done, int64_t total);

// Installs the display (none: the sums go nowhere).
void SetProgressDisplay(ProgressDisplay display);

}  // namespace tessafold
