#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>

#include "pattern_file.h"
#include "scratch_files.h"

namespace faults {

// A fresh folder under the Windows temp folder holding one pattern file,
// cleared away after the test whatever the fault left in it.
class PatternFileTest : public ::testing::Test {
 protected:
  PatternFileTest(std::wstring folderName, std::wstring fileName, uint64_t size)
      : folderName_(std::move(folderName)), fileName(std::move(fileName)), size(size) {}

  void SetUp() override {
    folder = e2e::MakeScratchFolder(folderName_);
    ASSERT_FALSE(folder.empty());
    file = folder + L"\\" + fileName;
    ASSERT_TRUE(WritePatternFile(file, size));
  }
  void TearDown() override { RemoveScratchFolder(folder); }

 private:
  std::wstring folderName_;

 protected:
  const std::wstring fileName;
  const uint64_t size;
  std::wstring folder;
  std::wstring file;
};

}  // namespace faults
