#include "app/window/job_progress.h"

#include <atomic>
#include <mutex>

namespace tessafold {

namespace {
std::mutex sumMutex;
int runningJobs = 0;
int64_t doneSum = 0;
int64_t totalSum = 0;
std::atomic<ProgressDisplay> display{nullptr};

// Called with the lock held, so the display hears the sums in order.
void ShowSums() {
  if (const ProgressDisplay show = display.load()) show(doneSum, totalSum);
}
}  // namespace

JobProgress::JobProgress() {
  std::lock_guard lock(sumMutex);
  ++runningJobs;
}

JobProgress::~JobProgress() {
  std::lock_guard lock(sumMutex);
  doneSum -= done_;
  totalSum -= total_;
  if (--runningJobs == 0 || done_ != 0 || total_ != 0) ShowSums();
}

void JobProgress::Update(int64_t done, int64_t total) {
  std::lock_guard lock(sumMutex);
  doneSum += done - done_;
  totalSum += total - total_;
  done_ = done;
  total_ = total;
  ShowSums();
}

void SetProgressDisplay(ProgressDisplay newDisplay) { display = newDisplay; }

}  // namespace tessafold
