// The portable parts of a rewrite: the progress sums shown on the taskbar,
// the brief retry of a refused rename, the path form without the
// 260-character limit, the pump's failures, and no replacement once the
// process is ending nor one that a stalled drive keeps from ending, and what
// a file's attributes and reparse tag make of its rewrite.
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <mutex>
#include <utility>
#include <vector>

#include "app/files/brief_retry.h"
#include "app/files/extended_path.h"
#include "app/files/file_attributes.h"
#include "app/window/job_progress.h"
#include "app/files/piece_pump.h"
#include "app/process/shutdown_hold.h"
#include "cipher/transform_file.h"
#include "common/deadline.h"
#include "common/file_test_support.h"

namespace tessafold {
namespace {

std::mutex shownMutex;
std::vector<std::pair<int64_t, int64_t>> shown;

void RecordShown(int64_t done, int64_t total) {
  std::lock_guard lock(shownMutex);
  shown.emplace_back(done, total);
}

class ProgressSums : public ::testing::Test {
 protected:
  void SetUp() override {
    shown.clear();
    SetProgressDisplay(RecordShown);
  }
  void TearDown() override { SetProgressDisplay(nullptr); }
};

TEST_F(ProgressSums, RunningJobsAddUpAndTheDisplayClearsWhenTheLastEnds) {
  { JobProgress neverReported; }
  {
    JobProgress first;
    first.Update(10, 100);
    {
      JobProgress second;
      second.Update(5, 50);
      first.Update(40, 100);
    }
    first.Update(100, 100);
  }
  using Shown = std::vector<std::pair<int64_t, int64_t>>;
  EXPECT_EQ(shown, (Shown{{0, 0}, {10, 100}, {15, 150}, {45, 150}, {40, 100}, {100, 100}, {0, 0}}));
}

// A job shows how far its file has come, up to the whole, then clears.
TEST_F(ProgressSums, ATransformShowsItsFileUpToTheWhole) {
  testing::ScratchFolder folder;
  testing::WriteBytes(folder.Path("shown.bin"), testing::SampleBytes(1000));
  ASSERT_TRUE(TransformFile(folder.Path("shown.bin").string(), 1, 1, ShiftDirection::Add));
  EXPECT_EQ(shown, (std::vector<std::pair<int64_t, int64_t>>{{1000, 1000}, {0, 0}}));
}

// A rename refused twice succeeds on the third attempt; a lasting failure
// ends after the budget, one that is not passing at once.
TEST(BriefRetry, RetriesOnlyWhatMayPassAndOnlyWithinItsBudget) {
  int attempts = 0;
  EXPECT_TRUE(RetryBriefly([&] { return ++attempts < 3 ? Attempt::TryAgain : Attempt::Done; }));
  EXPECT_EQ(attempts, 3);

  attempts = 0;
  EXPECT_FALSE(RetryBriefly([&] { return ++attempts, Attempt::Failed; }));
  EXPECT_EQ(attempts, 1);

  attempts = 0;
  EXPECT_FALSE(RetryBriefly([&] { return ++attempts, Attempt::TryAgain; }, std::chrono::milliseconds(60)));
  EXPECT_GT(attempts, 2);
}

TEST(ExtendedLengthPath, FullPathsTakeTheFormWithoutTheLengthLimit) {
  const std::pair<std::wstring, std::wstring> cases[] = {
      {L"C:\\data\\film.mkv", L"\\\\?\\C:\\data\\film.mkv"}, {L"z:/mixed/slashes.bin", L"\\\\?\\z:\\mixed\\slashes.bin"},
      {L"//server/share/a", L"\\\\?\\UNC\\server\\share\\a"},
      {L"\\\\server\\share\\film.mkv", L"\\\\?\\UNC\\server\\share\\film.mkv"},
      {L"\\\\?\\C:\\already", L"\\\\?\\C:\\already"}, {L"\\\\?\\UNC\\server\\share", L"\\\\?\\UNC\\server\\share"},
      {L"\\\\.\\COM1", L"\\\\.\\COM1"}, {L"relative\\file.bin", L"relative\\file.bin"}, {L"C:", L"C:"}, {L"", L""},
  };
  for (const auto& [given, expected] : cases) {
    EXPECT_EQ(ExtendedLengthPath(given), expected) << std::string(given.begin(), given.end());
  }
}

// A replacement that started after the clean-up passed its wait would be cut
// off by the process end. (In a child process: the end cannot be undone.)
TEST(ShutdownHoldDeathTest, NoReplacementStartsOnceTheCleanUpHasBegun) {
  testing::ScratchFolder folder;
  const testing::Bytes content = testing::SampleBytes(1000);
  testing::WriteBytes(folder.Path("kept.bin"), content);
  testing::WriteBytes(folder.Path("empty.bin"), {});  // no piece to stop at
  EXPECT_EXIT(
      {
        WaitForShutdownHolds();
        const bool transformed = TransformFile(folder.Path("kept.bin").string(), 1, 1, ShiftDirection::Add) ||
                                 TransformFile(folder.Path("empty.bin").string(), 1, 1, ShiftDirection::Add);
        const bool kept = testing::ReadBytes(folder.Path("kept.bin")) == content && testing::NamesIn(folder).size() == 2;
        std::exit(!transformed && kept ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

// A hold that is never given back, as by a call to a share that stopped
// answering, delays the end only by the bound. (In a child process: it
// cannot be undone.)
TEST(ShutdownHoldDeathTest, TheEndWaitsForAHoldThatIsNeverReleasedOnlyUntilItsBound) {
  EXPECT_EXIT(
      {
        std::atomic<bool> held = false;
        std::thread([&] {
          const ShutdownHold hold;
          held = true;
          for (;;) std::this_thread::sleep_for(std::chrono::hours(1));
        }).detach();
        testing::WaitUntil([&] { return held.load(); }, 5000, 1);
        testing::TimedThread end([] { WaitForShutdownHolds(std::chrono::milliseconds(200)); });
        std::_Exit(held && end.JoinWithin(5000) ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

// Windows' own values: a placeholder of a cloud file, a deduplicated or a
// WOF-compressed file carries data; a link the open did not follow does not.
TEST(FileAttributes, OnlyFilesWhoseReparseTagCarriesDataAreRewritten) {
  using namespace file_attribute;
  const struct {
    uint32_t attributes, tag;
    bool ordinary;
  } cases[] = {
      {kArchive, 0, true},
      {kArchive | kReparsePoint, 0x9000001A, true},   // cloud (OneDrive), kept on the device
      {kArchive | kReparsePoint, 0x9000601A, true},   // cloud, another of its sixteen tags
      {kArchive | kReparsePoint, 0x80000013, true},   // deduplication
      {kArchive | kReparsePoint, 0x80000017, true},   // WOF (compact /exe)
      {kArchive | kReparsePoint, 0x9000001C, true},   // projected file system
      {kArchive | kReparsePoint, 0xA000000C, false},  // symbolic link
      {kArchive | kReparsePoint, 0xA0000003, false},  // junction
      {kArchive | kReparsePoint, 0xA000001D, false},  // Linux subsystem's symbolic link
      {kArchive | kReparsePoint, 0x80000023, false},  // Linux subsystem's socket
      {kArchive | kReparsePoint, 0x8000001B, false},  // app execution alias
      {kArchive | kReparsePoint, 0, false},
      {kDirectory, 0, false},
      {kDirectory | kReparsePoint, 0x9000001A, false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsOrdinaryFile(c.attributes, c.tag), c.ordinary) << std::hex << c.tag;
}

// The replacement is created with what can be asked for at creation; what
// it then lacks is set or, for encryption, refused before any content.
TEST(FileAttributes, TheReplacementKeepsEncryptionCompressionAndTheIndexersExclusion) {
  using namespace file_attribute;
  EXPECT_EQ(AttributesToCreate(kReadOnly | kSparse | kCompressed | kReparsePoint), kNormal);
  EXPECT_EQ(AttributesToCreate(kHidden | kSystem | kArchive | kNotContentIndexed | kEncrypted | kSparse),
            kHidden | kSystem | kArchive | kNotContentIndexed | kEncrypted);
  const struct {
    uint32_t original, created;
    ReplacementFix fix;
  } cases[] = {
      {kArchive, kArchive, ReplacementFix::None},
      {kEncrypted, kEncrypted, ReplacementFix::None},
      {kEncrypted, kArchive, ReplacementFix::Refuse},    // no key, or no encryption on the file system
      {kArchive, kEncrypted, ReplacementFix::None},      // an encrypting folder narrows access
      {kCompressed, kArchive, ReplacementFix::Compress},
      {kArchive, kCompressed, ReplacementFix::Decompress},  // a compressing folder
      {kCompressed, kCompressed, ReplacementFix::None},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FixFor(c.original, c.created), c.fix) << std::hex << c.original << " " << c.created;
  }
}

// A file of 64 KiB pieces behind fake streams; a case breaks one call. A
// stalled call reads a pipe nobody writes to, as a drive that stops answering.
struct Breaks {
  int failReadOf = -1, stallReadOf = -1, endAfter = -1;  // endAfter: the piece whose change begins the end
  bool failFlush = false, stallFlush = false;
};

struct PumpedFile : Breaks {
  static constexpr size_t kPiece = size_t{64} << 10;
  explicit PumpedFile(Breaks breaks) : Breaks(breaks) {}
  testing::Bytes content, written;
  std::atomic<int> reads = 0, flushes = 0;
  std::atomic<bool> stalled = false;

  bool Stall() {
    int ends[2];
    uint8_t byte;
    return ::pipe(ends) == 0 && (stalled = true) && ::read(ends[0], &byte, 1) == 1;
  }
  bool Pump(size_t pieces) {
    content = testing::SampleBytes(pieces * kPiece);
    testing::Bytes buffer(2 * kPiece);
    const PieceStreams streams{
        [&](uint8_t* data, size_t count) {
          const int piece = reads++;
          if (piece == stallReadOf) return Stall();
          std::copy_n(content.begin() + piece * kPiece, count, data);
          return piece != failReadOf;
        },
        [&](const uint8_t* data, size_t count) {
          // The disk takes no more until it has been asked to flush, so the flush falls amid the writing.
          if (written.size() >= kFlushEveryBytes) testing::WaitUntil([&] { return flushes > 0; }, 5000, 1);
          written.insert(written.end(), data, data + count);
          return true;
        },
        [&] { return ++flushes, stallFlush ? Stall() : !failFlush; }, nullptr};
    const auto change = [&](std::span<uint8_t>, RewriteProgress at) {
      if (at.done == static_cast<int64_t>((endAfter + 1) * kPiece)) WaitForShutdownHolds();
    };
    return PumpPieces(static_cast<int64_t>(content.size()), buffer, streams, change).done;
  }
};

TEST(PiecePump, AFailedReadOrFlushFailsTheRewriteAndNothingOfAFailedPieceIsWritten) {
  PumpedFile lastReadFails({.failReadOf = 2});
  EXPECT_FALSE(lastReadFails.Pump(3));
  EXPECT_EQ(lastReadFails.written, testing::Bytes(lastReadFails.content.begin(), lastReadFails.content.begin() + 2 * PumpedFile::kPiece));

  PumpedFile flushFails({.failFlush = true});
  EXPECT_FALSE(flushFails.Pump(96));
}

// The blocked call is cut short, the pump fails (so the caller removes its
// temporary file) and the end comes. (In a child process: it cannot be undone.)
TEST(PiecePumpDeathTest, TheEndCutsShortAStalledReadOrFlushAndTheRewriteFails) {
  for (const Breaks breaks : {Breaks{.stallReadOf = 1}, Breaks{.stallFlush = true}}) {
    EXPECT_EXIT(
        {
          PumpedFile file(breaks);
          bool pumped = true;
          testing::TimedThread job([&] {
            const ShutdownHold hold;
            pumped = file.Pump(96);
          });
          testing::WaitUntil([&] { return file.stalled.load(); }, 5000, 1);
          testing::TimedThread end([] { WaitForShutdownHolds(); });
          const bool ended = end.JoinWithin(5000) && job.JoinWithin(5000);
          std::exit(ended && !pumped ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
  }
}

// The end, begun between two pieces, stops the pump before the next one: the
// rest of a large file does not hold the end up. (In a child process: it
// cannot be undone.)
TEST(PiecePumpDeathTest, TheEndBegunBetweenPiecesStopsThePump) {
  EXPECT_EXIT(
      {
        PumpedFile file({.endAfter = 0});
        const bool pumped = file.Pump(3);
        std::exit(!pumped && file.written.size() == PumpedFile::kPiece ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace tessafold
