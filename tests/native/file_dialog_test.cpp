#include <gtest/gtest.h>

#include "fakes/fake_services.h"
#include "ui/file_dialog.h"

namespace tessafold {
namespace {

using Entries = std::vector<std::pair<std::string, std::string>>;

Entries Pairs(const FileDialogRequest& request) {
  Entries pairs;
  for (const FileFilterEntry& entry : request.filters) pairs.emplace_back(entry.description, entry.pattern);
  return pairs;
}

FileDialogSettings WithFilter(std::string_view filter, int32_t initialFilter = 0) {
  FileDialogSettings settings = kOpenFileDialog.settings;
  settings.filter = filter;
  settings.initialFilter = initialFilter;
  return settings;
}

TEST(FileDialogRequestTest, TheProgramsDialogOpensOneExistingFileOfAnyType) {
  const FileDialogRequest request = MakeFileDialogRequest(kOpenFileDialog.settings, kMainWindow, "");

  EXPECT_FALSE(request.save);
  EXPECT_EQ(request.ownerWindowId, kMainWindow);
  EXPECT_EQ(Pairs(request), (Entries{{"所有文件(*.*)", "*.*"}}));
  EXPECT_EQ(request.initialFilterIndex, 1u);
  EXPECT_TRUE(request.hideReadOnly);
  EXPECT_TRUE(request.fileMustExist);
  EXPECT_TRUE(request.pathMustExist);
  EXPECT_TRUE(request.promptOverwrite);
  EXPECT_FALSE(request.promptCreate);
  EXPECT_FALSE(request.keepCurrentDirectory);
  EXPECT_FALSE(request.multipleSelection);
  EXPECT_EQ(request.title, "");
  EXPECT_EQ(request.initialDirectory, "");
  EXPECT_EQ(request.defaultExtension, "");
  EXPECT_EQ(request.initialFileName, "");
}

TEST(FileDialogRequestTest, FilterTextIsReadAsPairsUpToTheEmptyPair) {
  EXPECT_EQ(Pairs(MakeFileDialogRequest(WithFilter("Text|*.txt|All|*.*"), 1, "")),
            (Entries{{"Text", "*.txt"}, {"All", "*.*"}}));
  EXPECT_EQ(Pairs(MakeFileDialogRequest(WithFilter("Text|*.txt||"), 1, "")), (Entries{{"Text", "*.txt"}}));
  EXPECT_EQ(Pairs(MakeFileDialogRequest(WithFilter("Text|*.txt|"), 1, "")), (Entries{{"Text", "*.txt"}}));
  EXPECT_EQ(Pairs(MakeFileDialogRequest(WithFilter("Text|*.txt||All|*.*"), 1, "")), (Entries{{"Text", "*.txt"}}));
  EXPECT_EQ(Pairs(MakeFileDialogRequest(WithFilter("Only a name"), 1, "")), (Entries{{"Only a name", ""}}));
}

TEST(FileDialogRequestTest, TrailingWhiteSpaceOfTheFilterIsIgnored) {
  EXPECT_EQ(Pairs(MakeFileDialogRequest(WithFilter("Text|*.txt \t\r\n"), 1, "")), (Entries{{"Text", "*.txt"}}));
  EXPECT_EQ(Pairs(MakeFileDialogRequest(WithFilter("A b|*.a b||  "), 1, "")), (Entries{{"A b", "*.a b"}}));
}

TEST(FileDialogRequestTest, AnEmptyFilterSelectsNoEntry) {
  for (std::string_view empty : {"", "   ", "\t\r\n"}) {
    const FileDialogRequest request = MakeFileDialogRequest(WithFilter(empty, 3), 1, "");
    EXPECT_TRUE(request.filters.empty()) << '"' << empty << '"';
    EXPECT_EQ(request.initialFilterIndex, 0u) << '"' << empty << '"';
  }
}

TEST(FileDialogRequestTest, TheInitialEntryCountsFromOneAndANegativeSettingCountsAsTheFirst) {
  EXPECT_EQ(MakeFileDialogRequest(WithFilter("a|*|b|*|c|*", 2), 1, "").initialFilterIndex, 3u);
  EXPECT_EQ(MakeFileDialogRequest(WithFilter("a|*", -1), 1, "").initialFilterIndex, 1u);
  EXPECT_EQ(MakeFileDialogRequest(WithFilter("a|*", INT32_MIN), 1, "").initialFilterIndex, 1u);
  EXPECT_EQ(MakeFileDialogRequest(WithFilter("a|*", INT32_MAX), 1, "").initialFilterIndex, 2147483648u);
}

TEST(FileDialogRequestTest, EveryTrueSettingAddsItsOptionAndTextsPassThrough) {
  const FileDialogSettings settings{
      .save = true, .filter = "a|*", .initialFilter = 0, .title = "选择", .initialDirectory = "C:\\data",
      .defaultExtension = "bin", .fileMustExist = false, .pathMustExist = false, .promptOverwrite = false,
      .promptCreate = true, .keepCurrentDirectory = true,
  };
  const FileDialogRequest request = MakeFileDialogRequest(settings, 7, "C:\\data\\last.bin");

  EXPECT_TRUE(request.save);
  EXPECT_EQ(request.ownerWindowId, 7);
  EXPECT_TRUE(request.hideReadOnly);
  EXPECT_TRUE(request.promptCreate);
  EXPECT_TRUE(request.keepCurrentDirectory);
  EXPECT_FALSE(request.fileMustExist);
  EXPECT_FALSE(request.pathMustExist);
  EXPECT_FALSE(request.promptOverwrite);
  EXPECT_EQ(request.title, "选择");
  EXPECT_EQ(request.initialDirectory, "C:\\data");
  EXPECT_EQ(request.defaultExtension, "bin");
  EXPECT_EQ(request.initialFileName, "C:\\data\\last.bin");
}

class ShowFileDialogTest : public ::testing::Test {
 protected:
  void SetUp() override { services.Reset(); }
  fake::Services& services = fake::Services::Instance();
};

TEST_F(ShowFileDialogTest, OkStoresTheChosenPathAsTheComponentsFileName) {
  services.QueueDialogAnswer("C:\\folder\\文件.bin");

  EXPECT_TRUE(ShowFileDialog(kOpenFileDialog));
  EXPECT_EQ(services.Text(kMainWindow, openFileDialog, kPropertyDialogFileName), "C:\\folder\\文件.bin");
}

TEST_F(ShowFileDialogTest, CancelKeepsTheFileNameAndOpensOnIt) {
  services.SetText(kMainWindow, openFileDialog, kPropertyDialogFileName, "C:\\kept.bin");
  services.QueueDialogAnswer(std::nullopt);

  EXPECT_FALSE(ShowFileDialog(kOpenFileDialog));
  EXPECT_EQ(services.Text(kMainWindow, openFileDialog, kPropertyDialogFileName), "C:\\kept.bin");
  ASSERT_EQ(services.DialogRequests().size(), 1u);
  EXPECT_EQ(services.DialogRequests()[0].initialFileName, "C:\\kept.bin");
}

}  // namespace
}  // namespace tessafold
