#include "app/window/tab_cycle.h"

#include <gtest/gtest.h>

#include <vector>

#include "app/window/icon_picker.h"
#include "app/process/program_directory.h"

namespace tessafold {
namespace {

TEST(TabCycle, WrapsBothWaysAndSkipsIneligibleControls) {
  const std::vector<TabStop> stops{{0, true}, {0, false}, {0, true}, {0, true}};
  EXPECT_EQ(NextTabStop(stops, 0, false), 2u);
  EXPECT_EQ(NextTabStop(stops, 3, false), 0u);
  EXPECT_EQ(NextTabStop(stops, 0, true), 3u);
  EXPECT_EQ(NextTabStop(stops, 2, true), 0u);
  // From a control that is itself out of the cycle (it was just disabled).
  EXPECT_EQ(NextTabStop(stops, 1, false), 2u);
  EXPECT_EQ(NextTabStop(stops, 1, true), 0u);
  EXPECT_EQ(NextTabStop(stops, std::nullopt, false), 0u);
  EXPECT_EQ(NextTabStop(stops, std::nullopt, true), 3u);
}

TEST(TabCycle, FocusOrderComesFirstAndTiesKeepCreationOrder) {
  const std::vector<TabStop> stops{{2, true}, {1, true}, {1, true}, {0, true}};
  EXPECT_EQ(NextTabStop(stops, std::nullopt, false), 3u);
  EXPECT_EQ(NextTabStop(stops, 3, false), 1u);
  EXPECT_EQ(NextTabStop(stops, 1, false), 2u);
  EXPECT_EQ(NextTabStop(stops, 2, false), 0u);
  EXPECT_EQ(NextTabStop(stops, 0, false), 3u);
  EXPECT_EQ(NextTabStop(stops, 3, true), 0u);
}

TEST(TabCycle, ASingleOrNoEligibleControl) {
  const std::vector<TabStop> one{{0, false}, {0, true}};
  EXPECT_EQ(NextTabStop(one, 1, false), 1u);
  EXPECT_EQ(NextTabStop(one, 1, true), 1u);
  const std::vector<TabStop> none{{0, false}, {0, false}};
  EXPECT_EQ(NextTabStop(none, 0, false), std::nullopt);
  EXPECT_EQ(NextTabStop({}, std::nullopt, false), std::nullopt);
}

TEST(IconPicker, TrueColourDirectoryGivesTheLastImageForBothSizes) {
  // The program's icon: no entry states 16 colours or more at 16 or 32 pixels.
  const std::vector<IconDirectoryEntry> icon{{32, 2, 1},  {48, 16, 4}, {48, 0, 8},  {32, 0, 8}, {16, 0, 8},
                                             {128, 0, 32}, {48, 0, 32}, {32, 0, 32}, {16, 0, 32}};
  EXPECT_EQ(PickIconEntry(icon, 32), 8u);
  EXPECT_EQ(PickIconEntry(icon, 16), 8u);
}

TEST(IconPicker, FirstEntryWithSixteenColoursAndTheWidthWins) {
  const std::vector<IconDirectoryEntry> icon{{32, 2, 1}, {32, 16, 4}, {16, 16, 4}, {32, 16, 4}};
  EXPECT_EQ(PickIconEntry(icon, 32), 1u);
  EXPECT_EQ(PickIconEntry(icon, 16), 2u);
  EXPECT_EQ(PickIconEntry({}, 16), 0u);
}

TEST(ProgramDirectory, EverythingBeforeTheLastBackslash) {
  EXPECT_EQ(DirectoryOfProgram("C:\\Program Files\\加密\\tessafold.exe"), "C:\\Program Files\\加密");
  EXPECT_EQ(DirectoryOfProgram("\\\\server\\share\\tessafold.exe"), "\\\\server\\share");
  EXPECT_EQ(DirectoryOfProgram("C:\\tessafold.exe"), "C:\\");
  EXPECT_EQ(DirectoryOfProgram("tessafold.exe"), "");
}

}  // namespace
}  // namespace tessafold
