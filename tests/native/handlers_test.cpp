#include <gtest/gtest.h>

#include <string>

#include "cipher/jobs.h"
#include "fakes/fake_services.h"
#include "ui/handlers.h"
#include "ui/main_window_ids.h"

namespace tessafold {
namespace {

using HandlersTest = fake::ServicesTest;

TEST_F(HandlersTest, TheLinkEventOpensTheProgramsPageAndDoesNothingElse) {
  OnLinkEvent();

  EXPECT_EQ(services.WebPages(), std::vector<std::string>{"www.tessafold.com?radiv"});
  EXPECT_EQ(services.Log().size(), 1u);
}

TEST_F(HandlersTest, AnActionButtonIsDisabledBeforeItsWorkerStartsAndStaysSoUntilTheJobEnds) {
  services.SetWorkerMode(fake::WorkerMode::Keep);
  services.SetText(kMainWindow, pathEdit, kPropertyEditText, "");

  OnEncryptClicked();

  EXPECT_EQ(services.Log(), (std::vector<std::string>{fake::LogEntry("set", encryptButton, kPropertyDisabled) + "=1", "worker"}));
  EXPECT_TRUE(services.Disabled(kMainWindow, encryptButton));
  EXPECT_TRUE(services.Messages().empty());

  services.RunKeptWorkers();

  EXPECT_EQ(services.Messages(), std::vector<std::string>{std::string(kEncryptFailureText)});
  EXPECT_FALSE(services.Disabled(kMainWindow, encryptButton));
}

TEST_F(HandlersTest, EachActionButtonTouchesOnlyItsOwnButtonAndStartsItsOwnJob) {
  services.SetWorkerMode(fake::WorkerMode::Keep);

  OnDecryptClicked();

  EXPECT_TRUE(services.Disabled(kMainWindow, decryptButton));
  EXPECT_EQ(fake::IndexOf(services.Log(), fake::LogEntry("set", encryptButton, kPropertyDisabled) + "=1"), -1);
  EXPECT_EQ(fake::IndexOf(services.Log(), fake::LogEntry("set", browseButton, kPropertyDisabled) + "=1"), -1);

  services.RunKeptWorkers();

  EXPECT_EQ(services.Messages(), std::vector<std::string>{std::string(kDecryptFailureText)});
  EXPECT_FALSE(services.Disabled(kMainWindow, decryptButton));
}

TEST_F(HandlersTest, AButtonIsEnabledAgainAtOnceWhenNoWorkerCanBeStarted) {
  services.SetWorkerMode(fake::WorkerMode::Refuse);

  OnEncryptClicked();
  OnDecryptClicked();

  const std::vector<std::string> expected{
      fake::LogEntry("set", encryptButton, kPropertyDisabled) + "=1", "worker",
      fake::LogEntry("set", encryptButton, kPropertyDisabled) + "=0",
      fake::LogEntry("set", decryptButton, kPropertyDisabled) + "=1", "worker",
      fake::LogEntry("set", decryptButton, kPropertyDisabled) + "=0",
  };
  EXPECT_EQ(services.Log(), expected);
  EXPECT_TRUE(services.Messages().empty());
}

TEST_F(HandlersTest, BrowsePutsTheChosenFullPathIntoThePathBoxUnchanged) {
  const std::string chosen = "C:\\用户 files\\ some name .bin";
  services.QueueDialogAnswer(chosen);

  OnBrowseClicked();

  EXPECT_EQ(services.Text(kMainWindow, pathEdit), chosen);
  EXPECT_EQ(services.Text(kMainWindow, openFileDialog, kPropertyDialogFileName), chosen);
}

TEST_F(HandlersTest, CancelledBrowseLeavesAnEmptyPathBoxEmptyAndWritesNothing) {
  OnBrowseClicked();

  EXPECT_EQ(services.Text(kMainWindow, pathEdit), "");
  for (const std::string& entry : services.Log()) EXPECT_NE(entry.rfind("set ", 0), 0u) << entry;
}

// A cancel leaves the path box and the last choice as they were.
TEST_F(HandlersTest, BrowseOpensTheDialogOnTheFileChosenLast) {
  services.QueueDialogAnswer("C:\\a\\first.bin");
  services.QueueDialogAnswer("D:\\b\\second.bin");
  services.QueueDialogAnswer(std::nullopt);

  OnBrowseClicked();
  OnBrowseClicked();
  OnBrowseClicked();

  const auto requests = services.DialogRequests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[0].initialFileName, "");
  EXPECT_EQ(requests[1].initialFileName, "C:\\a\\first.bin");
  EXPECT_EQ(requests[2].initialFileName, "D:\\b\\second.bin");
  EXPECT_EQ(services.Text(kMainWindow, pathEdit), "D:\\b\\second.bin");
  EXPECT_EQ(services.Text(kMainWindow, openFileDialog, kPropertyDialogFileName), "D:\\b\\second.bin");
}

}  // namespace
}  // namespace tessafold
