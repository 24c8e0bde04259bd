// The order of a rewrite's steps, the same on every platform, against a
// platform that records them: what must happen before the original is
// replaced, and what every failure leaves.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <iterator>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "app/files/file_turn.h"
#include "app/process/failure_report.h"
#include "app/files/rewrite_sequence.h"
#include "app/files/temporary_name.h"
#include "common/deadline.h"

namespace tessafold {
namespace {

using Log = std::vector<std::string>;

// Like the system's, each thread's error: set by every step, to the failing
// step's own code when it fails.
thread_local uint32_t threadError = 0;
constexpr uint32_t kAfterSuccess = 1;
uint32_t ErrorOf(const std::string& step) { return 1000 + static_cast<uint32_t>(std::hash<std::string>{}(step) % 9000); }

std::mutex reportedMutex;
Log reported;
void Record(std::string_view line) {
  const std::lock_guard lock(reportedMutex);
  reported.emplace_back(line);
}

class RecordingSteps final : public RewriteSteps {
 public:
  std::string failing;                  // the step that fails
  std::vector<std::string> identities;  // what the path names, one per look
  std::string opened = "file-1";        // the identity of the file that opens
  OriginalFile original{"/data/", "a.bin", "", 5, 1, true, false};
  std::vector<uint8_t> content{1, 2, 3, 4, 5}, written;
  std::vector<std::string> leftovers;
  int busyReplaces = 0;      // attempts refused for a moment, as by a scanner
  int changedAtRecheck = 0;  // the look at the path that finds another write
  bool writesWaitForPush = false;
  Log log;

  std::string IdentityOf(const std::string&) override {
    const std::string identity = identities.empty() ? opened : identities.front();
    if (!identities.empty()) identities.erase(identities.begin());
    return identity;
  }
  bool OpenOriginal(const std::string&, OriginalFile& file) override {
    file = original;
    file.identity = opened;
    return Step("open");
  }
  bool OriginalUnchanged() override { return Step("unchanged"); }
  void CloseOriginal() override { Step("close original"); }
  bool OriginalStillAtPath(const std::string&) override {
    return Step("recheck") && ++rechecks_ != changedAtRecheck;
  }
  Creation CreateReplacement(const std::string& path) override {
    replacement = path;
    return Step("create") ? Creation::Created : Creation::Failed;
  }
  PieceStreams Streams() override {
    return {[this](uint8_t* data, size_t count) {
              std::copy_n(content.begin() + static_cast<long>(read_), count, data);
              read_ += count;
              return Step("read");
            },
            [this](const uint8_t* data, size_t count) {
              // A push is asked for amid the writing, not after it.
              if (writesWaitForPush && written.size() >= kFlushEveryBytes) {
                testing::WaitUntil([&] { return pushes_ > 0; }, 5000, 1);
              }
              written.insert(written.end(), data, data + count);
              return Step("write");
            },
            [this] { return ++pushes_, Step("push"); }, [] { return threadError; }};
  }
  bool TakeOverTheRest() override { return Step("take over"); }
  bool FlushReplacement() override { return Step("flush"); }
  bool CloseReplacement() override { return Step("close replacement"); }
  void RemoveReplacement(const std::string& path) override { Step("remove " + path); }
  Attempt Replace(const std::string& from, const std::string& to) override {
    if (!Step("replace " + from + " -> " + to)) return Attempt::Failed;
    return busyReplaces-- > 0 ? Attempt::TryAgain : Attempt::Done;
  }
  void SyncFolder(const std::string&) override { Step("sync"); }
  std::vector<std::string> TemporaryNamesIn(const std::string&) override { return leftovers; }
  bool ProcessRuns(uint32_t processId) override { return processId == 8; }
  void RemoveFile(const std::string& path) override { Step("remove " + path); }
  uint32_t ProcessId() override { return 7; }
  std::string HostName() override { return "pc"; }
  uint32_t LastError() override { return threadError; }

  std::string replacement;

 private:
  // The pump reads on a thread of its own.
  bool Step(const std::string& name) {
    const std::lock_guard lock(logMutex_);
    log.push_back(name);
    const bool fails = !failing.empty() && name.starts_with(failing);
    threadError = fails ? ErrorOf(failing) : kAfterSuccess;
    return !fails;
  }
  size_t read_ = 0;
  int rechecks_ = 0;
  std::atomic<int> pushes_ = 0;
  std::mutex logMutex_;
};

bool Rewrite(RecordingSteps& steps, size_t pieceBytes = 2) {
  return RunRewrite(steps, "/data/link.bin", [](std::span<uint8_t> piece, RewriteProgress) {
    for (uint8_t& byte : piece) byte = static_cast<uint8_t>(byte + 10);
  }, pieceBytes);
}

// The reasons a rewrite reported while `steps` ran.
Log ReportedBy(RecordingSteps& steps, size_t pieceBytes = 2) {
  reported.clear();
  SetFailureSink(Record);
  Rewrite(steps, pieceBytes);
  SetFailureSink(nullptr);
  return reported;
}

size_t Position(const Log& log, const std::string& step) {
  return static_cast<size_t>(std::find(log.begin(), log.end(), step) - log.begin());
}

// The steps of the log that begin with `prefix`.
Log StepsStarting(const Log& log, std::string_view prefix) {
  Log steps;
  std::copy_if(log.begin(), log.end(), std::back_inserter(steps), [&](const std::string& s) { return s.starts_with(prefix); });
  return steps;
}

TEST(RewriteSequence, TheReplacementIsCompleteAndOnTheDiskBeforeItTakesTheRealFilesName) {
  RecordingSteps steps;
  ASSERT_TRUE(Rewrite(steps));
  EXPECT_EQ(steps.written, (std::vector<uint8_t>{11, 12, 13, 14, 15}));
  ASSERT_TRUE(steps.replacement.starts_with("/data/"));  // beside the real file, not the link
  EXPECT_EQ(TemporaryFileOwner(steps.replacement.substr(6), "a.bin", "pc"), 7u);
  const Log& log = steps.log;
  const size_t replace = Position(log, "replace " + steps.replacement + " -> /data/a.bin");
  ASSERT_LT(replace, log.size()) << "replaced the link's name, or nothing";
  const size_t lastWrite = log.rend() - std::find(log.rbegin(), log.rend(), "write") - 1;
  for (const char* before : {"take over", "flush", "close replacement", "unchanged", "close original", "recheck"}) {
    EXPECT_GT(Position(log, before), lastWrite) << before;
    EXPECT_LT(Position(log, before), replace) << before;
  }
  EXPECT_LT(Position(log, "flush"), Position(log, "close replacement"));
  EXPECT_EQ(log.back(), "sync");
  EXPECT_EQ(StepsStarting(log, "remove"), Log{});
}

// Whatever fails, the original is never replaced and the replacement, once
// created, is removed.
TEST(RewriteSequence, EveryFailureLeavesTheOriginalAndRemovesTheReplacement) {
  for (const char* failing :
       {"open", "create", "read", "write", "take over", "flush", "close replacement", "unchanged", "recheck", "replace"}) {
    RecordingSteps steps;
    steps.failing = failing;
    EXPECT_FALSE(Rewrite(steps)) << failing;
    const bool created = Position(steps.log, "create") < steps.log.size() && steps.failing != "create";
    const std::string replacement = steps.replacement;
    EXPECT_EQ(Position(steps.log, "remove " + replacement) < steps.log.size(), created) << failing;
    EXPECT_EQ(StepsStarting(steps.log, "replace").size(), std::string(failing) == "replace" ? 1u : 0u) << failing;
  }
}

// The reason names the error of the call that failed, on the thread that
// made it: the pump reads and pushes on threads of its own.
TEST(RewriteSequence, TheReasonNamesTheErrorOfTheFailingCall) {
  for (const char* failing : {"open", "create", "read", "write", "push", "take over", "flush", "replace"}) {
    RecordingSteps steps;
    steps.failing = failing;
    steps.content.assign(kFlushEveryBytes + 3, 0);
    steps.original.size = static_cast<int64_t>(steps.content.size());
    steps.writesWaitForPush = true;
    const Log lines = ReportedBy(steps, kRewritePieceBytes);
    ASSERT_EQ(lines.size(), 1u) << failing;
    EXPECT_NE(lines[0].find(": error " + std::to_string(ErrorOf(failing)) + " ("), std::string::npos) << lines[0];
  }
}

// The original, once closed, could take another program's write while the
// rename waits for a scanner: each attempt looks first, and a change keeps
// that newer content.
TEST(RewriteSequence, EveryAttemptToReplaceFirstLooksWhetherTheFileChanged) {
  RecordingSteps waited;
  waited.busyReplaces = 2;
  ASSERT_TRUE(Rewrite(waited));
  EXPECT_EQ(std::count(waited.log.begin(), waited.log.end(), "recheck"), 3);

  RecordingSteps changed;
  changed.busyReplaces = 1;
  changed.changedAtRecheck = 2;
  const Log lines = ReportedBy(changed);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_NE(lines[0].find("changed before it was replaced"), std::string::npos) << lines[0];
  EXPECT_EQ(StepsStarting(changed.log, "replace").size(), 1u);
  EXPECT_EQ(changed.log.back(), "remove " + changed.replacement);
}

// A job that waited while another replaced the file takes the new file's
// turn before it reads, so that a third job cannot run beside it.
TEST(RewriteSequence, AFileReplacedDuringTheWaitIsOpenedAgainUnderItsNewIdentity) {
  RecordingSteps steps;
  steps.identities = {"file-0", "file-1"};
  ASSERT_TRUE(Rewrite(steps));
  EXPECT_EQ(std::count(steps.log.begin(), steps.log.end(), "open"), 2);
  EXPECT_EQ(steps.log[1], "close original");
}

// Every spelling of a path to the file meets one turn: the job waits for the
// turn of the file's identity, not of the path it was given.
TEST(RewriteSequence, TheJobWaitsForTheTurnOfTheFilesIdentity) {
  RecordingSteps steps;
  std::optional<FileTurn> held(std::in_place, steps.opened);
  std::atomic<bool> done = false;
  testing::TimedThread job([&] { done = Rewrite(steps); });
  EXPECT_TRUE(testing::WaitUntil([&] { return WaitingTurns(steps.opened) == 1 || done; }, testing::kWaitMs, 1));
  EXPECT_FALSE(done) << "ran beside the turn held on its file";
  held.reset();
  EXPECT_TRUE(job.JoinWithin());
  EXPECT_TRUE(done);
}

// A long name is cut in the temporary files' names and ends in a hash of the
// whole, which still tells it from a look-alike.
TEST(RewriteSequence, OnlyLeftoversOfThisFileOfEndedProcessesOnThisMachineAreRemoved) {
  for (const std::string& name : {std::string("a.bin"), std::string(300, 'x')}) {
    RecordingSteps steps;
    steps.original.name = name;
    const std::string orphan = TemporaryName(name, "pc", 5, 3);
    steps.leftovers = {orphan, TemporaryName(name, "pc", 8, 0), TemporaryName(name, "other", 5, 0),
                       TemporaryName(name + "y", "pc", 5, 0), TemporaryName(name, "pc", 7, 9), ".tessafold-5-x.tmp"};
    ASSERT_TRUE(Rewrite(steps));
    EXPECT_EQ(StepsStarting(steps.log, "remove"), Log{"remove /data/" + orphan});
    EXPECT_LE(orphan.size(), 200u);  // within a file name's 255 units
  }
}

}  // namespace
}  // namespace tessafold
