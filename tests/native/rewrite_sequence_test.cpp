// The order of a rewrite's steps, the same on every platform, against a
// platform that records them: what must happen before the original is
// replaced, and what every failure leaves.
#include <gtest/gtest.h>

#include <algorithm>
#include <mutex>
#include <string>
#include <vector>

#include "app/files/rewrite_sequence.h"
#include "app/files/temporary_name.h"

namespace tessafold {
namespace {

using Log = std::vector<std::string>;

class RecordingSteps final : public RewriteSteps {
 public:
  std::string failing;                  // the step that fails
  std::vector<std::string> identities;  // what the path names, one per look
  std::string opened = "file-1";        // the identity of the file that opens
  OriginalFile original{"/data/", "a.bin", "", 5, 1, true, false};
  std::vector<uint8_t> content{1, 2, 3, 4, 5}, written;
  std::vector<std::string> leftovers;
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
              written.insert(written.end(), data, data + count);
              return Step("write");
            },
            [this] { return Step("push"); }};
  }
  bool TakeOverTheRest() override { return Step("take over"); }
  bool FlushReplacement() override { return Step("flush"); }
  bool CloseReplacement() override { return Step("close replacement"); }
  void RemoveReplacement(const std::string& path) override { Step("remove " + path); }
  Attempt Replace(const std::string& from, const std::string& to) override {
    return Step("replace " + from + " -> " + to) ? Attempt::Done : Attempt::Failed;
  }
  void SyncFolder(const std::string&) override { Step("sync"); }
  std::vector<std::string> TemporaryNamesIn(const std::string&) override { return leftovers; }
  bool ProcessRuns(uint32_t processId) override { return processId == 8; }
  void RemoveFile(const std::string& path) override { Step("remove " + path); }
  uint32_t ProcessId() override { return 7; }
  std::string HostName() override { return "pc"; }
  uint32_t LastError() override { return 0; }

  std::string replacement;

 private:
  // The pump reads on a thread of its own.
  bool Step(const std::string& name) {
    const std::lock_guard lock(logMutex_);
    log.push_back(name);
    return !failing.empty() && name.starts_with(failing) ? false : true;
  }
  size_t read_ = 0;
  std::mutex logMutex_;
};

bool Rewrite(RecordingSteps& steps) {
  return RunRewrite(steps, "/data/link.bin", [](std::span<uint8_t> piece, RewriteProgress) {
    for (uint8_t& byte : piece) byte = static_cast<uint8_t>(byte + 10);
  }, 2);
}

size_t Position(const Log& log, const std::string& step) {
  return static_cast<size_t>(std::find(log.begin(), log.end(), step) - log.begin());
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
  for (const char* before : {"take over", "flush", "close replacement", "unchanged", "close original"}) {
    EXPECT_GT(Position(log, before), lastWrite) << before;
    EXPECT_LT(Position(log, before), replace) << before;
  }
  EXPECT_LT(Position(log, "flush"), Position(log, "close replacement"));
  EXPECT_EQ(log.back(), "sync");
  EXPECT_EQ(std::count_if(log.begin(), log.end(), [](const std::string& s) { return s.starts_with("remove"); }), 0);
}

// Whatever fails, the original is never replaced and the replacement, once
// created, is removed.
TEST(RewriteSequence, EveryFailureLeavesTheOriginalAndRemovesTheReplacement) {
  for (const char* failing :
       {"open", "create", "read", "write", "take over", "flush", "close replacement", "unchanged", "replace"}) {
    RecordingSteps steps;
    steps.failing = failing;
    EXPECT_FALSE(Rewrite(steps)) << failing;
    const bool created = Position(steps.log, "create") < steps.log.size() && steps.failing != "create";
    const std::string replacement = steps.replacement;
    EXPECT_EQ(Position(steps.log, "remove " + replacement) < steps.log.size(), created) << failing;
    const bool replaced = std::any_of(steps.log.begin(), steps.log.end(), [&](const std::string& s) {
      return s.starts_with("replace") && std::string(failing) != "replace";
    });
    EXPECT_FALSE(replaced) << failing;
  }
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
    Log removed;
    for (const std::string& step : steps.log) {
      if (step.starts_with("remove")) removed.push_back(step);
    }
    EXPECT_EQ(removed, Log{"remove /data/" + orphan});
    EXPECT_LE(orphan.size(), 200u);  // within a file name's 255 units
  }
}

}  // namespace
}  // namespace tessafold
