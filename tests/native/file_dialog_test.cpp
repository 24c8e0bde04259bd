#include <gtest/gtest.h>

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
  const FileDialogRequest expected{.ownerWindowId = kMainWindow, .filters = {{"所有文件(*.*)", "*.*"}},
                                   .initialFilterIndex = 1, .hideReadOnly = true, .fileMustExist = true,
                                   .promptOverwrite = true, .pathMustExist = true};
  EXPECT_TRUE(MakeFileDialogRequest(kOpenFileDialog.settings, kMainWindow, "") == expected);
}

// Pairs up to the empty pair; trailing white space is ignored.
TEST(FileDialogRequestTest, FilterTextIsReadAsPairsUpToTheEmptyPair) {
  const std::pair<std::string_view, Entries> cases[] = {
      {"Text|*.txt|All|*.*", {{"Text", "*.txt"}, {"All", "*.*"}}}, {"Text|*.txt||", {{"Text", "*.txt"}}},
      {"Text|*.txt|", {{"Text", "*.txt"}}},         {"Text|*.txt||All|*.*", {{"Text", "*.txt"}}},
      {"Only a name", {{"Only a name", ""}}},       {"Text|*.txt \t\r\n", {{"Text", "*.txt"}}},
      {"A b|*.a b||  ", {{"A b", "*.a b"}}},
  };
  for (const auto& [filter, pairs] : cases) EXPECT_EQ(Pairs(MakeFileDialogRequest(WithFilter(filter), 1, "")), pairs) << filter;
}

TEST(FileDialogRequestTest, AnEmptyFilterSelectsNoEntry) {
  for (std::string_view empty : {"", "   ", "\t\r\n"}) {
    const FileDialogRequest request = MakeFileDialogRequest(WithFilter(empty, 3), 1, "");
    EXPECT_TRUE(request.filters.empty()) << '"' << empty << '"';
    EXPECT_EQ(request.initialFilterIndex, 0u) << '"' << empty << '"';
  }
}

TEST(FileDialogRequestTest, TheInitialEntryCountsFromOneAndANegativeSettingCountsAsTheFirst) {
  const std::pair<int32_t, uint32_t> cases[] = {{2, 3u}, {-1, 1u}, {INT32_MIN, 1u}, {INT32_MAX, 2147483648u}};
  for (const auto& [setting, index] : cases) {
    EXPECT_EQ(MakeFileDialogRequest(WithFilter("a|*|b|*|c|*", setting), 1, "").initialFilterIndex, index) << setting;
  }
}

TEST(FileDialogRequestTest, EveryTrueSettingAddsItsOptionAndTextsPassThrough) {
  const FileDialogSettings settings{
      .save = true, .filter = "a|*", .initialFilter = 0, .title = "选择", .initialDirectory = "C:\\data",
      .defaultExtension = "bin", .fileMustExist = false, .pathMustExist = false, .promptOverwrite = false,
      .promptCreate = true, .keepCurrentDirectory = true,
  };
  const FileDialogRequest expected{.save = true, .ownerWindowId = 7, .filters = {{"a", "*"}}, .initialFilterIndex = 1,
                                   .title = "选择", .initialDirectory = "C:\\data", .defaultExtension = "bin",
                                   .initialFileName = "C:\\data\\last.bin", .hideReadOnly = true,
                                   .promptCreate = true, .keepCurrentDirectory = true};
  EXPECT_TRUE(MakeFileDialogRequest(settings, 7, "C:\\data\\last.bin") == expected);
}

}  // namespace
}  // namespace tessafold
