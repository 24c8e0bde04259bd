// A transform killed hard at any moment, as a crash, the task manager or a
// power cut would end it, leaves the file exactly as it was or exactly
// transformed: never shorter, empty or a mix of both. A temporary file of the
// killed process may stay behind beside it, and nothing else.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include "app_under_test.h"
#include "child_process.h"
#include "window_job.h"
#include "pattern_file_test.h"
#include "ui/main_window_ids.h"

namespace {

using namespace faults;

constexpr uint64_t kSize = 192ull << 20;
constexpr uint8_t kKey = 29;

// When an uninterrupted run of the probe created its temporary file and when
// it ended, in milliseconds from its start.
struct FullRun {
  ULONGLONG temporaryAppearedMs = 0;
  ULONGLONG endedMs = 0;

  // Where the start-up ends: when the temporary file appeared, or a tenth of
  // the way for a transform that makes none.
  ULONGLONG StartEndMs() const { return temporaryAppearedMs ? temporaryAppearedMs : endedMs / 10; }
};

// What the test sees of a running transform when it decides to kill it.
struct Moment {
  ULONGLONG elapsedMs;
  FullRun full;
  std::optional<uint64_t> temporarySize;
  bool temporaryGone;  // it was there and is no longer: the file was replaced
  std::optional<uint64_t> fileSize;
};

// What the kill at a point must meet: a transform that has not replaced the
// file yet; a transform in any phase or already ended (a point close to the
// end, or one found by time, since runs vary in length); or nothing, for a
// point that a sound transform never reaches, so the probe ends on its own.
enum class Meets { Unreplaced, Anything, Nothing };

struct KillPoint {
  const char* name;
  bool (*reached)(const Moment&);
  Meets meets;
};

bool PastFraction(const Moment& m, ULONGLONG tenths) { return m.elapsedMs * 10 >= m.full.endedMs * tenths; }

// Spread over the phases of a run (start-up and opening, reading and writing
// the new content piece by piece, the final flush, the replacement, the end)
// and over its time.
constexpr KillPoint kKillPoints[] = {
    {"while it starts and opens the file", [](const Moment& m) { return m.elapsedMs * 2 >= m.full.StartEndMs(); },
     Meets::Unreplaced},
    {"with a quarter of the new content written", [](const Moment& m) { return m.temporarySize >= kSize / 4; },
     Meets::Unreplaced},
    {"as its temporary file appears", [](const Moment& m) { return m.temporarySize.has_value(); }, Meets::Unreplaced},
    {"with half the new content written", [](const Moment& m) { return m.temporarySize >= kSize / 2; },
     Meets::Unreplaced},
    {"with all the new content written", [](const Moment& m) { return m.temporarySize >= kSize; }, Meets::Anything},
    {"as the file is replaced", [](const Moment& m) { return m.temporaryGone; }, Meets::Anything},
    // Never, unless the file at the path is removed or rewritten in place.
    {"as the file at the path changes its size", [](const Moment& m) { return m.fileSize != kSize; }, Meets::Nothing},
    {"three tenths of the way in", [](const Moment& m) { return PastFraction(m, 3); }, Meets::Anything},
    {"half way", [](const Moment& m) { return PastFraction(m, 5); }, Meets::Anything},
    {"seven tenths of the way in", [](const Moment& m) { return PastFraction(m, 7); }, Meets::Anything},
    {"nine tenths of the way in", [](const Moment& m) { return PastFraction(m, 9); }, Meets::Anything},
};

// Polls more finely than the window tests do: the moment between the last
// write and the rename is short. False when the time ran out.
bool PollUntil(const std::function<bool()>& condition) { return e2e::WaitUntil(condition, 120000, 1); }

std::wstring ProbeArguments(const std::wstring& file) { return Quoted(file) + L" " + std::to_wstring(kKey); }

class HardKill : public PatternFileTest {
 protected:
  HardKill() : PatternFileTest(L"hard-kill", L"大文件.bin", kSize) {}

  // After a kill of process `killed`: the file is whole, in one of the two
  // states; its shift becomes the new `shift`. Returns how many temporary
  // files the kill left, and clears them away for the next run.
  int ExpectWholeAfterKill(DWORD killed) {
    const std::optional<uint8_t> now = PatternShift(file, kSize);
    EXPECT_TRUE(now.has_value()) << "the file is shorter, empty or mixes old and new content";
    if (!now) return 0;
    EXPECT_TRUE(*now == shift || *now == static_cast<uint8_t>(shift + kKey)) << "shifted by " << int(*now);
    shift = *now;
    int leftovers = 0;
    for (const std::wstring& name : NamesIn(folder)) {
      if (name == fileName) continue;
      EXPECT_TRUE(IsTemporaryFileOf(name, killed)) << "unexpected file left behind";
      DeleteFileW((folder + L"\\" + name).c_str());
      ++leftovers;
    }
    return leftovers;
  }

  uint8_t shift = 0;
};

// Watches the running probe, calling watch(elapsedMs, temporarySize), until
// it ends or watch returns true.
template <typename Watch>
void WatchProbe(const ChildProcess& probe, const std::wstring& folder, Watch watch) {
  const ULONGLONG start = GetTickCount64();
  EXPECT_TRUE(PollUntil([&] { return !probe.Running() || watch(GetTickCount64() - start, TemporaryFileSize(folder)); }));
}

TEST_F(HardKill, AProbeKilledAtAnyPointLeavesTheOriginalOrTheResult) {
  FullRun full;
  {
    ChildProcess probe(e2e::ProgramPath(L"transform_probe.exe"), ProbeArguments(file));
    WatchProbe(probe, folder, [&](ULONGLONG elapsedMs, std::optional<uint64_t> temporarySize) {
      if (temporarySize && full.temporaryAppearedMs == 0) full.temporaryAppearedMs = elapsedMs;
      full.endedMs = elapsedMs;
      return false;
    });
    ASSERT_EQ(probe.WaitForExit(0), std::optional<DWORD>(0));
  }
  ASSERT_EQ(PatternShift(file, kSize), std::optional<uint8_t>(kKey));
  ASSERT_EQ(NamesIn(folder), std::vector<std::wstring>{fileName});
  shift = kKey;

  for (const KillPoint& point : kKillPoints) {
    SCOPED_TRACE(point.name);
    ChildProcess probe(e2e::ProgramPath(L"transform_probe.exe"), ProbeArguments(file));
    ASSERT_TRUE(probe.Started());
    bool temporarySeen = false;
    ULONGLONG killedAtMs = 0;
    WatchProbe(probe, folder, [&](ULONGLONG elapsedMs, std::optional<uint64_t> temporarySize) {
      temporarySeen |= temporarySize.has_value();
      killedAtMs = elapsedMs;
      return point.reached({elapsedMs, full, temporarySize, temporarySeen && !temporarySize, FileSize(file)});
    });
    const uint8_t before = shift;
    const bool cutOff = probe.Kill();
    const int leftovers = ExpectWholeAfterKill(probe.Id());
    if (point.meets == Meets::Unreplaced) {
      EXPECT_TRUE(cutOff) << "the kill came after the end";
      EXPECT_EQ(shift, before) << "the file was replaced before the kill";
    }
    if (point.meets == Meets::Nothing) {
      EXPECT_FALSE(cutOff) << "the file at the path changed while the transform ran";
      EXPECT_NE(shift, before) << "the uninterrupted transform did not replace the file";
    }
    std::cout << "kill " << point.name << " (" << killedAtMs << " ms; uninterrupted: temporary file at "
              << full.temporaryAppearedMs << " ms, end at " << full.endedMs << " ms): "
              << (cutOff ? "cut off" : "had already ended") << ", file "
              << (shift == before ? "as it was" : "transformed") << ", temporary files left: " << leftovers << "\n";
  }
}

TEST_F(HardKill, TheProgramKilledWhileItsJobWritesLeavesTheOriginalOrTheResult) {
  e2e::AppUnderTest app;
  ASSERT_TRUE(app.Started());
  EnterJobInputs(app, std::to_wstring(kKey), L"1", file);
  app.Click(tessafold::encryptButton);

  // Half way through writing the new content, or at the first change of the
  // file itself, should the job write it in place.
  ASSERT_TRUE(PollUntil([&] {
    return TemporaryFileSize(folder) >= kSize / 2 || FileSize(file) != kSize || app.FindDialog(kOutcomeTitle);
  }));
  EXPECT_EQ(app.FindDialog(kOutcomeTitle), nullptr) << "the job had ended before the kill";
  ASSERT_TRUE(TerminateProcess(app.Process(), 9));
  ASSERT_TRUE(app.WaitForExit().has_value());
  const int leftovers = ExpectWholeAfterKill(app.ProcessId());
  std::cout << "kill of tessafold.exe half way through writing: file "
            << (shift == 0 ? "as it was" : "transformed") << ", temporary files left: " << leftovers << "\n";
}

}  // namespace
