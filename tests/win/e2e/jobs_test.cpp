// The encrypt and decrypt jobs and the browse dialog, driven through the real
// program's window as a user would.
#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "access_rights.h"
#include "app_under_test.h"
#include "pattern_file.h"
#include "scratch_files.h"
#include "symbolic_link.h"
#include "ui/main_window_ids.h"
#include "window_job.h"

namespace {

using e2e::AppUnderTest;
using e2e::WaitUntil;
using faults::HoldsPattern;
using faults::PatternShift;
using faults::kDecryptFailure;
using faults::kDecryptSuccess;
using faults::kEncryptFailure;
using faults::kEncryptSuccess;
using faults::TemporaryFileSize;
using faults::WritePatternFile;
using namespace tessafold;

// A visible window of the program for which matches(window) holds, once it is shown.
template <typename Matches>
HWND WaitForWindow(const AppUnderTest& app, Matches matches, DWORD timeoutMs = e2e::kWaitMs) {
  HWND found = nullptr;
  WaitUntil([&] { return (found = e2e::FindProcessWindow(app.ProcessId(), matches)) != nullptr; }, timeoutMs);
  return found;
}

// A visible outcome box of the program with exactly this text.
HWND WaitForOutcomeBox(const AppUnderTest& app, std::wstring_view text, DWORD timeoutMs = e2e::kWaitMs) {
  return WaitForWindow(app, [&](HWND window) {
    return e2e::WindowText(window) == faults::kOutcomeTitle && AppUnderTest::MessageBoxText(window) == text;
  }, timeoutMs);
}

BOOL CALLBACK TakeEdit(HWND window, LPARAM found) {
  if (e2e::ClassName(window) != L"Edit") return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

// The edit field of the name box (cmb13, a combo box that may be wrapped in an
// extended combo box), or the plain name box (edt1).
HWND FileNameBox(HWND dialog) {
  if (HWND combo = GetDlgItem(dialog, 0x47C)) {
    HWND edit = nullptr;
    EnumChildWindows(combo, TakeEdit, reinterpret_cast<LPARAM>(&edit));
    if (edit) return edit;
  }
  return GetDlgItem(dialog, 0x480);
}

// The common open dialog: a standard dialog with a file name box.
bool IsFileDialog(HWND window) { return e2e::ClassName(window) == L"#32770" && FileNameBox(window) != nullptr; }

// A dialog's buttons are pressed as a message box's are.
void PressDialogButton(HWND dialog, int buttonId) { AppUnderTest::AnswerMessageBox(dialog, buttonId); }

class JobsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = e2e::MakeScratchFolder(L"jobs");
    ASSERT_FALSE(folder.empty());
    ASSERT_TRUE(app.Started());
  }

  // The program may still hold a file open: it ends first.
  void TearDown() override {
    TerminateProcess(app.Process(), 1);
    WaitForSingleObject(app.Process(), e2e::kWaitMs);
    e2e::RemoveScratchFolder(folder);
  }

  std::wstring File(const std::wstring& name) const { return folder + L"\\" + name; }


  // Both jobs' success boxes, once both are up, closed.
  void AnswerBothSuccessBoxes(DWORD timeoutMs) {
    HWND encryptBox = WaitForOutcomeBox(app, kEncryptSuccess, timeoutMs);
    HWND decryptBox = WaitForOutcomeBox(app, kDecryptSuccess, timeoutMs);
    ASSERT_NE(encryptBox, nullptr);
    ASSERT_NE(decryptBox, nullptr);
    AppUnderTest::AnswerMessageBox(encryptBox);
    AppUnderTest::AnswerMessageBox(decryptBox);
  }

  // The job's box has the expected text, its button is disabled while the
  // box is open and usable again once it is closed.
  void RunJob(int button, std::wstring_view expectedText, bool click = true) {
    EXPECT_EQ(faults::RunJobThroughTheWindow(app, button, click), expectedText);
    EXPECT_TRUE(app.ControlEnabled(button));
  }

  // Opens the dialog with the browse button; it must be modal to the window.
  HWND OpenDialog() {
    app.Click(browseButton);
    HWND dialog = WaitForWindow(app, IsFileDialog);
    EXPECT_NE(dialog, nullptr) << "the open dialog did not appear";
    if (dialog) {
      EXPECT_FALSE(IsWindowEnabled(app.Window())) << "the dialog is not modal to the window";
      EXPECT_EQ(GetWindow(dialog, GW_OWNER), app.Window());
    }
    return dialog;
  }

  void CloseDialog(HWND dialog, int buttonId) {
    PressDialogButton(dialog, buttonId);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(app.Window()) != FALSE; }));
  }

  std::wstring folder;
  AppUnderTest app;
};

// What the user set on the file stays: who may open it, and its attributes.
TEST_F(JobsTest, EncryptThenDecryptThroughTheButtonsRestoresTheFileAndKeepsItsRights) {
  const std::wstring file = File(L"照片 copy.bin");
  ASSERT_TRUE(WritePatternFile(file, 300000));
  ASSERT_TRUE(tessafold::testing::GiveOnlyThisUser(file, L"FA"));
  constexpr DWORD kSet = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE;
  ASSERT_TRUE(SetFileAttributesW(file.c_str(), kSet));
  const std::wstring dacl = tessafold::testing::DaclOf(file);
  faults::EnterJobInputs(app, L"7", L"3", file);

  RunJob(encryptButton, kEncryptSuccess);
  EXPECT_TRUE(HoldsPattern(file, 300000, 21));

  RunJob(decryptButton, kDecryptSuccess);
  EXPECT_TRUE(HoldsPattern(file, 300000, 0));
  EXPECT_EQ(tessafold::testing::DaclOf(file), dacl);
  EXPECT_EQ(dacl.find(L"WD"), std::wstring::npos);
  EXPECT_EQ(GetFileAttributesW(file.c_str()) & kSet, kSet);
  EXPECT_EQ(e2e::NamesIn(folder), std::vector<std::wstring>{L"照片 copy.bin"});
}

TEST_F(JobsTest, WhileAJobsBoxIsOpenOnlyItsOwnButtonIsDisabled) {
  const std::wstring file = File(L"busy.bin");
  ASSERT_TRUE(WritePatternFile(file, 5000));
  faults::EnterJobInputs(app, L"1", L"1", file);

  app.Click(encryptButton);
  HWND encryptBox = WaitForOutcomeBox(app, kEncryptSuccess);
  ASSERT_NE(encryptBox, nullptr);
  EXPECT_FALSE(app.ControlEnabled(encryptButton));
  EXPECT_TRUE(app.ControlEnabled(decryptButton));
  EXPECT_TRUE(app.ControlEnabled(browseButton));
  EXPECT_TRUE(IsWindowEnabled(app.Window()));

  // Browsing works meanwhile.
  HWND dialog = OpenDialog();
  ASSERT_NE(dialog, nullptr);
  CloseDialog(dialog, IDCANCEL);
  EXPECT_EQ(app.ControlText(pathEdit), file);

  // The other action runs to its own box meanwhile.
  app.Click(decryptButton);
  HWND decryptBox = WaitForOutcomeBox(app, kDecryptSuccess);
  ASSERT_NE(decryptBox, nullptr);
  EXPECT_FALSE(app.ControlEnabled(decryptButton));
  EXPECT_TRUE(HoldsPattern(file, 5000, 0));

  AppUnderTest::AnswerMessageBox(decryptBox);
  EXPECT_TRUE(WaitUntil([&] { return app.ControlEnabled(decryptButton); }));
  EXPECT_FALSE(app.ControlEnabled(encryptButton));
  AppUnderTest::AnswerMessageBox(encryptBox);
  EXPECT_TRUE(WaitUntil([&] { return app.ControlEnabled(encryptButton); }));
}

TEST_F(JobsTest, AFileHeldOpenWithoutSharingFailsAndStaysAsItWas) {
  const std::wstring file = File(L"held.bin");
  ASSERT_TRUE(WritePatternFile(file, 100000));
  HANDLE held = CreateFileW(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  faults::EnterJobInputs(app, L"9", L"1", file);

  RunJob(encryptButton, kEncryptFailure);
  RunJob(decryptButton, kDecryptFailure);

  CloseHandle(held);
  EXPECT_TRUE(HoldsPattern(file, 100000, 0));
  EXPECT_EQ(e2e::NamesIn(folder), std::vector<std::wstring>{L"held.bin"});
}

TEST_F(JobsTest, EncryptAndDecryptOfOneFileAtOnceEndWithTheOriginal) {
  const std::wstring file = File(L"both.bin");
  constexpr uint64_t kSize = 48 << 20;
  ASSERT_TRUE(WritePatternFile(file, kSize));
  faults::EnterJobInputs(app, L"77", L"5", file);

  app.Click(encryptButton);
  app.Click(decryptButton);
  AnswerBothSuccessBoxes(60000);

  EXPECT_TRUE(HoldsPattern(file, kSize, 0));
  EXPECT_EQ(e2e::NamesIn(folder), std::vector<std::wstring>{L"both.bin"});
}

// A symbolic link is another way to the user's file: the job changes the file
// it leads to, and the link stays a link to it.
TEST_F(JobsTest, EncryptAndDecryptThroughASymbolicLinkChangeItsTargetAndKeepTheLink) {
  const std::wstring target = File(L"target.bin");
  const std::wstring link = File(L"link.bin");
  ASSERT_TRUE(WritePatternFile(target, 100000));
  const e2e::SymbolicLink made(link, L"target.bin");
  if (!made.Problem().empty()) GTEST_SKIP() << tessafold::Narrow(made.Problem());
  ASSERT_TRUE(HoldsPattern(link, 100000, 0));
  faults::EnterJobInputs(app, L"11", L"1", link);

  RunJob(encryptButton, kEncryptSuccess);
  EXPECT_EQ(PatternShift(target, 100000), std::optional<uint8_t>(11)) << "the file the link leads to";
  EXPECT_TRUE(e2e::LeadsTo(link, target)) << "link.bin no longer leads to target.bin";

  RunJob(decryptButton, kDecryptSuccess);
  EXPECT_TRUE(HoldsPattern(target, 100000, 0));
  EXPECT_TRUE(e2e::LeadsTo(link, target)) << "link.bin no longer leads to target.bin";
  EXPECT_EQ(e2e::NamesIn(folder), (std::vector<std::wstring>{L"link.bin", L"target.bin"}));
}

// Two spellings of one file, here through a folder link, are one file: jobs on
// them take turns as jobs on one path do.
TEST_F(JobsTest, EncryptAndDecryptOfOneFileByTwoPathsAtOnceEndWithTheOriginal) {
  const std::wstring real = File(L"real");
  ASSERT_TRUE(CreateDirectoryW(real.c_str(), nullptr));
  const e2e::SymbolicLink alias(File(L"alias"), L"real", /*folder=*/true);
  if (!alias.Problem().empty()) GTEST_SKIP() << tessafold::Narrow(alias.Problem());
  const std::wstring byReal = real + L"\\big.bin";
  const std::wstring byAlias = File(L"alias\\big.bin");
  constexpr uint64_t kSize = 256 << 20;
  ASSERT_TRUE(WritePatternFile(byReal, kSize));
  ASSERT_TRUE(e2e::LeadsTo(byAlias, byReal));
  faults::EnterJobInputs(app, L"77", L"1", byReal);

  app.Click(encryptButton);
  ASSERT_TRUE(WaitUntil([&] {
    const std::optional<uint64_t> written = TemporaryFileSize(real);
    return written && *written < kSize / 2;
  }, 60000)) << "the encrypt job was not seen writing";
  app.SetControlText(pathEdit, byAlias);
  app.Click(decryptButton);
  AnswerBothSuccessBoxes(120000);

  EXPECT_EQ(PatternShift(byReal, kSize), std::optional<uint8_t>(0)) << "77: the decrypt was lost; 179: the encrypt";
  EXPECT_EQ(e2e::NamesIn(real), std::vector<std::wstring>{L"big.bin"});
  EXPECT_EQ(e2e::NamesIn(folder), (std::vector<std::wstring>{L"alias", L"real"}));
}

// Nobody should wait for an invisible process to finish a film: a close while
// the new content is still being written stops the job and keeps the original.
TEST_F(JobsTest, ClosingTheWindowWhileTheNewContentIsWrittenStopsTheJobAndKeepsTheOriginal) {
  const std::wstring file = File(L"long.bin");
  constexpr uint64_t kSize = 1536ull << 20;
  ASSERT_TRUE(WritePatternFile(file, kSize));
  faults::EnterJobInputs(app, L"3", L"1", file);

  app.Click(encryptButton);
  ASSERT_TRUE(WaitUntil([&] {
    const std::optional<uint64_t> written = TemporaryFileSize(folder);
    return written && *written >= (64u << 20) && *written < kSize / 4;
  }, 60000)) << "the close did not meet the job while it was writing";
  app.Close();

  EXPECT_EQ(app.WaitForExit(60000), std::optional<DWORD>(0));
  EXPECT_TRUE(HoldsPattern(file, kSize, 0)) << "the file is not the original";
  EXPECT_EQ(e2e::NamesIn(folder), std::vector<std::wstring>{L"long.bin"});
}

// A virus scanner or an indexer opens a file for a moment, sharing reading
// only, and a rename over it fails until it lets go.
TEST_F(JobsTest, AReaderThatLetsGoSoonIsWaitedForAndOneThatStaysFailsTheJob) {
  const std::wstring file = File(L"scanned.bin");
  ASSERT_TRUE(WritePatternFile(file, 1 << 20));
  faults::EnterJobInputs(app, L"4", L"1", file);
  const auto holdForReading = [&] {
    return CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  };

  HANDLE scanner = holdForReading();
  ASSERT_NE(scanner, INVALID_HANDLE_VALUE);
  app.Click(encryptButton);
  Sleep(500);
  CloseHandle(scanner);
  RunJob(encryptButton, kEncryptSuccess, /*click=*/false);
  EXPECT_TRUE(HoldsPattern(file, 1 << 20, 4));

  scanner = holdForReading();
  ASSERT_NE(scanner, INVALID_HANDLE_VALUE);
  app.Click(decryptButton);
  // It gives up while the reader still holds the file, well within its 10 s.
  HWND box = WaitForOutcomeBox(app, kDecryptFailure, 9000);
  CloseHandle(scanner);
  ASSERT_NE(box, nullptr);
  AppUnderTest::AnswerMessageBox(box);
  EXPECT_TRUE(HoldsPattern(file, 1 << 20, 4));
  EXPECT_EQ(e2e::NamesIn(folder), std::vector<std::wstring>{L"scanned.bin"});
}

// Longer than the 260 characters that Windows allows a path by default.
TEST_F(JobsTest, AFileWithAPathOfThreeHundredCharactersIsTransformed) {
  std::wstring deep = folder;
  while (deep.size() < 250) {
    deep += L"\\" + std::wstring(60, L'目');
    ASSERT_TRUE(CreateDirectoryW((L"\\\\?\\" + deep).c_str(), nullptr)) << GetLastError();
  }
  const std::wstring file = deep + L"\\" + std::wstring(300 - deep.size() - 5, L'f') + L".bin";
  ASSERT_EQ(file.size(), 300u);
  ASSERT_TRUE(WritePatternFile(L"\\\\?\\" + file, 1000));
  faults::EnterJobInputs(app, L"6", L"1", file);
  RunJob(encryptButton, kEncryptSuccess);
  EXPECT_TRUE(HoldsPattern(L"\\\\?\\" + file, 1000, 6));
}

class BrowseTest : public JobsTest {};

TEST_F(BrowseTest, ChoosingAFileFillsThePathBoxAndTheDialogReopensOnIt) {
  const std::wstring file = File(L"选中的 文件.bin");
  ASSERT_TRUE(WritePatternFile(file, 1000));

  HWND dialog = OpenDialog();
  ASSERT_NE(dialog, nullptr);
  SendMessageW(FileNameBox(dialog), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(file.c_str()));
  CloseDialog(dialog, IDOK);
  EXPECT_EQ(app.ControlText(pathEdit), file);

  dialog = OpenDialog();
  ASSERT_NE(dialog, nullptr);
  const std::wstring shown = e2e::WindowText(FileNameBox(dialog));
  EXPECT_TRUE(shown == file || shown == L"选中的 文件.bin") << "the dialog did not open on the last file";
  CloseDialog(dialog, IDCANCEL);
  EXPECT_EQ(app.ControlText(pathEdit), file);

  // The chosen file is what the jobs work on.
  app.SetControlText(keyEdit, L"2");
  RunJob(encryptButton, kEncryptSuccess);
  EXPECT_TRUE(HoldsPattern(file, 1000, 2));
}

// The cancel after the refusal leaves the empty path box empty.
TEST_F(BrowseTest, TheDialogRefusesAFileThatDoesNotExist) {
  const std::wstring missing = File(L"missing.bin");

  HWND dialog = OpenDialog();
  ASSERT_NE(dialog, nullptr);
  SendMessageW(FileNameBox(dialog), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(missing.c_str()));
  PressDialogButton(dialog, IDOK);

  // The dialog complains in a box of its own and stays open.
  const HWND complaint = WaitForWindow(app, [&](HWND w) { return GetWindow(w, GW_OWNER) == dialog; });
  ASSERT_NE(complaint, nullptr);
  PostMessageW(complaint, WM_CLOSE, 0, 0);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(complaint); }));
  EXPECT_TRUE(IsWindow(dialog));
  CloseDialog(dialog, IDCANCEL);
  EXPECT_EQ(app.ControlText(pathEdit), L"");
}

}  // namespace
