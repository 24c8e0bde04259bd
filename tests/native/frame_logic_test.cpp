#include "app/window/tab_cycle.h"

#include <gtest/gtest.h>

#include <vector>

#include "app/window/color_scheme.h"
#include "app/window/display_scale.h"
#include "app/window/icon_picker.h"
#include "app/process/program_directory.h"

namespace tessafold {
namespace {

// From each control (or none yet) forwards or backwards: around both ways,
// past a control out of the cycle and from one that was just disabled; in
// focus order first, ties in creation order.
TEST(TabCycle, WrapsBothWaysSkipsIneligibleControlsAndTakesFocusOrderFirst) {
  const std::vector<TabStop> plain{{0, true}, {0, false}, {0, true}, {0, true}};
  const std::vector<TabStop> ordered{{2, true}, {1, true}, {1, true}, {0, true}};
  const struct {
    const std::vector<TabStop>& stops;
    std::optional<size_t> from;
    bool backwards;
    size_t next;
  } cases[] = {
      {plain, 0, false, 2},   {plain, 3, false, 0},   {plain, 0, true, 3},           {plain, 2, true, 0},
      {plain, 1, false, 2},   {plain, 1, true, 0},    {plain, std::nullopt, false, 0}, {plain, std::nullopt, true, 3},
      {ordered, std::nullopt, false, 3}, {ordered, 3, false, 1}, {ordered, 1, false, 2}, {ordered, 2, false, 0},
      {ordered, 0, false, 3}, {ordered, 3, true, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(NextTabStop(c.stops, c.from, c.backwards), c.next) << &c - cases;
}

TEST(TabCycle, ASingleOrNoEligibleControl) {
  const std::vector<TabStop> one{{0, false}, {0, true}};
  EXPECT_EQ(NextTabStop(one, 1, false), 1u);
  EXPECT_EQ(NextTabStop(one, 1, true), 1u);
  const std::vector<TabStop> none{{0, false}, {0, false}};
  EXPECT_EQ(NextTabStop(none, 0, false), std::nullopt);
  EXPECT_EQ(NextTabStop({}, std::nullopt, false), std::nullopt);
}

// Light follows the system's colours (the defaults give the layout's black on
// grey and on white), dark keeps its palette, high contrast overrides both and
// leaves nothing but the system's colours, even where the layout chose its own.
TEST(ColorScheme, EachSchemeDrawsTheLayoutsColoursFromItsOwnPalette) {
  const SystemColors defaults{0xF0F0F0, 0x000000, 0xFFFFFF, 0x000000};
  const SystemColors custom{0x112233, 0x445566, 0x778899, 0xAABBCC};
  const LayoutColor red{false, 0x0000FF};
  const struct {
    bool appsUseDark, highContrast;
    SystemColors system;
    LayoutColor text, back;
    DrawColors expected;
  } cases[] = {
      {false, false, defaults, kBlack, kButtonFace, {0x000000, 0xF0F0F0}},
      {false, false, custom, kBlack, kWhite, {0xAABBCC, 0x778899}},
      {false, false, custom, red, red, {0x0000FF, 0x0000FF}},
      {true, false, custom, kBlack, kButtonFace, {kDarkText, kDarkSurface}},
      {true, false, custom, kBlack, kWhite, {kDarkText, kDarkField}},
      {true, true, custom, kBlack, kWhite, {0xAABBCC, 0x778899}},
      {false, true, custom, red, red, {0x445566, 0x112233}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SchemeColors(c.text, c.back, ChooseColorScheme(c.appsUseDark, c.highContrast), c.system), c.expected)
        << &c - cases;
  }
}

TEST(IconPicker, TheProgramsIconGivesTheTrueColourImageOfEachSizeAScaleAsksFor) {
  // The program's icon: five low-colour images, then true colour from 256 down to 16 pixels.
  const std::vector<IconDirectoryEntry> icon{{32, 2, 1},  {48, 16, 4}, {48, 0, 8},  {32, 0, 8},  {16, 0, 8},
                                             {256, 0, 32}, {64, 0, 32}, {48, 0, 32}, {40, 0, 32}, {32, 0, 32},
                                             {24, 0, 32}, {20, 0, 32}, {16, 0, 32}};
  // Width asked for, image given: exact, else the narrowest wider, else the widest.
  const size_t cases[][2] = {{16, 12}, {20, 11}, {24, 10}, {32, 9}, {40, 8}, {48, 7}, {64, 6},
                             {256, 5}, {30, 9},  {96, 5},  {8, 12}, {300, 5}};
  for (const auto& c : cases) EXPECT_EQ(PickIconEntry(icon, static_cast<int>(c[0])), c[1]) << "width " << c[0];
  EXPECT_EQ(PickIconEntry({}, 16), 0u);
}

TEST(DisplayScale, LengthsAndEdgesScaleByDpiOver96WithHalvesRoundedAway) {
  const int32_t lengths[][3] = {{357, 96, 357}, {17, 120, 21}, {17, 144, 26}, {357, 144, 536},
                                {-17, 144, -26}, {271, 192, 542}, {1, 72, 1}};
  for (const auto& c : lengths) EXPECT_EQ(ScaleLength(c[0], c[1]), c[2]) << c[0] << " at " << c[1];
  // Edges, not sizes, are scaled: neighbours that touch at 96 DPI still touch.
  const int32_t rects[][9] = {{17, 200, 271, 24, 96, 17, 200, 271, 24}, {17, 200, 271, 24, 144, 26, 300, 406, 36},
                              {259, 360, 77, 32, 120, 324, 450, 96, 40}, {19, 294, 149, 24, 192, 38, 588, 298, 48}};
  for (const auto& c : rects) {
    const LayoutRect got = ScaleRect({c[0], c[1], c[2], c[3]}, c[4]);
    EXPECT_EQ((std::vector<int32_t>{got.left, got.top, got.width, got.height}),
              (std::vector<int32_t>{c[5], c[6], c[7], c[8]})) << "at " << c[4];
  }
  const LayoutRect left = ScaleRect({16, 0, 13, 10}, 144), right = ScaleRect({29, 0, 13, 10}, 144);
  EXPECT_EQ(left.left + left.width, right.left);
}

TEST(DisplayScale, AFontKeepsItsPointSizeAtEveryDpi) {
  EXPECT_EQ(PointSizeOfHeight(-11, 96), 8);  // the default GUI font on Windows
  EXPECT_EQ(PointSizeOfHeight(18, 144), 9);  // and under Wine
  const int heights[][3] = {{8, 96, -11}, {8, 120, -13}, {8, 144, -16}, {8, 192, -21}, {9, 144, -18}, {9, 168, -21}};
  for (const auto& c : heights) EXPECT_EQ(FontHeightForPoints(c[0], c[1]), c[2]) << c[0] << "pt at " << c[1];
}

TEST(ProgramDirectory, EverythingBeforeTheLastBackslash) {
  EXPECT_EQ(DirectoryOfProgram("C:\\Program Files\\加密\\tessafold.exe"), "C:\\Program Files\\加密");
  EXPECT_EQ(DirectoryOfProgram("\\\\server\\share\\tessafold.exe"), "\\\\server\\share");
  EXPECT_EQ(DirectoryOfProgram("C:\\tessafold.exe"), "C:\\");
  EXPECT_EQ(DirectoryOfProgram("tessafold.exe"), "");
}

}  // namespace
}  // namespace tessafold
