#include "app/window/tab_cycle.h"

#include <gtest/gtest.h>

#include <vector>

#include "app/window/color_scheme.h"
#include "app/window/display_scale.h"
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

TEST(IconPicker, TheProgramsIconGivesTheTrueColourImageOfEachSizeAScaleAsksFor) {
  // The program's icon: five low-colour images, then true colour from 256 down to 16 pixels.
  const std::vector<IconDirectoryEntry> icon{{32, 2, 1},  {48, 16, 4}, {48, 0, 8},  {32, 0, 8},  {16, 0, 8},
                                             {256, 0, 32}, {64, 0, 32}, {48, 0, 32}, {40, 0, 32}, {32, 0, 32},
                                             {24, 0, 32}, {20, 0, 32}, {16, 0, 32}};
  const struct {
    int width;
    size_t entry;
  } cases[] = {{16, 12}, {20, 11}, {24, 10}, {32, 9}, {40, 8}, {48, 7}, {64, 6}, {256, 5},
               {30, 9},  {96, 5},  {128, 5}, {300, 5}, {8, 12}};
  for (const auto& c : cases) EXPECT_EQ(PickIconEntry(icon, c.width), c.entry) << "width " << c.width;
}

TEST(IconPicker, ExactWidthThenNarrowestWiderThenWidestAndTheFirstOfEqualImages) {
  const std::vector<IconDirectoryEntry> icon{{32, 16, 4}, {16, 0, 8}, {32, 0, 32}, {32, 0, 32}, {48, 0, 8}};
  EXPECT_EQ(PickIconEntry(icon, 32), 2u);
  EXPECT_EQ(PickIconEntry(icon, 16), 1u);
  EXPECT_EQ(PickIconEntry(icon, 20), 2u);
  EXPECT_EQ(PickIconEntry(icon, 40), 4u);
  EXPECT_EQ(PickIconEntry(icon, 64), 4u);
  EXPECT_EQ(PickIconEntry({}, 16), 0u);
}

TEST(DisplayScale, LengthsAndRectanglesScaleByDpiOver96WithHalvesRoundedAway) {
  const struct {
    int dpi;
    int32_t length, scaled;
  } lengths[] = {{96, 357, 357}, {96, 0, 0},  {120, 17, 21},  {144, 17, 26},   {144, 357, 536},
                 {144, -17, -26}, {168, 24, 42}, {192, 271, 542}, {72, 1, 1},    {288, 440, 1320}};
  for (const auto& c : lengths) {
    EXPECT_EQ(ScaleLength(c.length, c.dpi), c.scaled) << c.length << " at " << c.dpi;
  }
  // Edges are scaled, not sizes: neighbours that touch at 96 DPI still touch.
  const struct {
    LayoutRect rect;
    int dpi;
    LayoutRect scaled;
  } rects[] = {{{17, 200, 271, 24}, 96, {17, 200, 271, 24}},
               {{17, 200, 271, 24}, 144, {26, 300, 406, 36}},
               {{259, 360, 77, 32}, 120, {324, 450, 96, 40}},
               {{19, 294, 149, 24}, 144, {29, 441, 223, 36}},
               {{19, 294, 149, 24}, 192, {38, 588, 298, 48}}};
  for (const auto& c : rects) {
    const LayoutRect got = ScaleRect(c.rect, c.dpi);
    EXPECT_EQ((std::vector<int32_t>{got.left, got.top, got.width, got.height}),
              (std::vector<int32_t>{c.scaled.left, c.scaled.top, c.scaled.width, c.scaled.height}))
        << "at " << c.dpi;
  }
  const LayoutRect left = ScaleRect({16, 0, 13, 10}, 144), right = ScaleRect({29, 0, 13, 10}, 144);
  EXPECT_EQ(left.left + left.width, right.left);
}

TEST(DisplayScale, TheDefaultGuiFontKeepsItsPointSizeAtEveryDpi) {
  // The default GUI font is 8 points: 11 pixels high at 96 DPI.
  EXPECT_EQ(PointSizeOfHeight(-11, 96), 8);
  EXPECT_EQ(PointSizeOfHeight(11, 96), 8);
  EXPECT_EQ(PointSizeOfHeight(-16, 144), 8);
  EXPECT_EQ(PointSizeOfHeight(-13, 120), 8);
  EXPECT_EQ(PointSizeOfHeight(-12, 96), 9);
  const struct {
    int points, dpi;
    int32_t height;
  } heights[] = {{8, 96, -11}, {8, 120, -13}, {8, 144, -16}, {8, 168, -19}, {8, 192, -21}, {9, 96, -12}, {12, 96, -16}};
  for (const auto& c : heights) EXPECT_EQ(FontHeightForPoints(c.points, c.dpi), c.height) << c.points << "pt at " << c.dpi;
}

TEST(ColorScheme, LightKeepsTheLayoutsColoursAndDarkSwapsTheirRoles) {
  for (LayoutColor color : {kButtonFace, kWhite, kBlack, LayoutColor{false, 0x0000FF}}) {
    const LayoutColor light = SchemeColor(color, ColorScheme::Light);
    EXPECT_EQ(light.buttonFace, color.buttonFace);
    EXPECT_EQ(light.rgb, color.rgb);
  }
  const struct {
    LayoutColor layout;
    uint32_t dark;
  } dark[] = {{kButtonFace, kDarkSurface}, {kWhite, kDarkField}, {kBlack, kDarkText}, {{false, 0x0000FF}, 0x0000FF}};
  for (const auto& c : dark) {
    const LayoutColor got = SchemeColor(c.layout, ColorScheme::Dark);
    EXPECT_FALSE(got.buttonFace);
    EXPECT_EQ(got.rgb, c.dark);
  }
}

TEST(ProgramDirectory, EverythingBeforeTheLastBackslash) {
  EXPECT_EQ(DirectoryOfProgram("C:\\Program Files\\加密\\tessafold.exe"), "C:\\Program Files\\加密");
  EXPECT_EQ(DirectoryOfProgram("\\\\server\\share\\tessafold.exe"), "\\\\server\\share");
  EXPECT_EQ(DirectoryOfProgram("C:\\tessafold.exe"), "C:\\");
  EXPECT_EQ(DirectoryOfProgram("tessafold.exe"), "");
}

}  // namespace
}  // namespace tessafold
