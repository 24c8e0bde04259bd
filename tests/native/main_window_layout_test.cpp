#include "ui/main_window_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/window/display_scale.h"
#include "app/window/tab_cycle.h"
#include "ui/handlers.h"
#include "ui/main_window_ids.h"

namespace tessafold {
namespace {

// Bytes the UTF-8 text takes in code page 936: ASCII stays one byte, every
// Chinese or full-width character (three UTF-8 bytes) becomes two.
size_t Cp936Length(std::string_view utf8) {
  size_t bytes = 0;
  for (size_t i = 0; i < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    if (lead < 0x80) {
      ++bytes;
      ++i;
    } else {
      EXPECT_EQ(lead & 0xF0, 0xE0) << "unexpected character at byte " << i;
      bytes += 2;
      i += 3;
    }
  }
  return bytes;
}

const ControlRecord& Control(int id) {
  const ControlRecord* control = FindControlRecord(MainWindowLayout(), id);
  EXPECT_NE(control, nullptr) << "control " << id;
  return *control;
}

TEST(MainWindowLayout, WindowRecordIsTheFixedCentredDialog) {
  const WindowRecord& window = MainWindowLayout();
  EXPECT_EQ(window.id, kMainWindow);
  EXPECT_EQ(window.title, "Tessafoldv1.1");
  EXPECT_EQ(window.outer.width, 357);
  EXPECT_EQ(window.outer.height, 440);
  EXPECT_EQ(window.startPosition, StartPosition::CenterScreen);
  EXPECT_TRUE(window.visible);
  EXPECT_TRUE(window.fixedDialogFrame);
  EXPECT_TRUE(window.controlBox);
  EXPECT_FALSE(window.minimizeBox);
  EXPECT_FALSE(window.maximizeBox);
  EXPECT_TRUE(window.backColor.buttonFace);
  EXPECT_TRUE(window.escCloses);
  EXPECT_FALSE(window.enterMovesFocus);
  EXPECT_TRUE(window.clipChildren);
  EXPECT_EQ(FindWindowRecord(BuiltInWindowLayouts(), kMainWindow), &window);
}

TEST(MainWindowLayout, TwelveControlsInCreationOrderWithTheirRectanglesFlagsAndTexts) {
  struct Expected {
    int id;
    std::string_view name;
    ControlKind kind;
    LayoutRect rect;
    bool visible, disabled, tabStop;
    std::string_view text;
    int32_t focusOrder = 0;
    bool operator==(const Expected&) const = default;
  };
  const Expected expected[] = {
      {pathLabel, "标签1", ControlKind::Label, {16, 168, 96, 24}, true, false, false, "加密的文件路径："},
      {pathEdit, "编辑框1", ControlKind::EditBox, {17, 200, 271, 24}, true, true, true, ""},
      {browseButton, "按钮1", ControlKind::Button, {296, 200, 40, 24}, true, false, true, "..."},
      {keyLabel, "标签2", ControlKind::Label, {16, 232, 64, 24}, true, false, false, "加密密码："},
      {keyEdit, "编辑框2", ControlKind::EditBox, {18, 262, 318, 24}, true, false, true, ""},
      {repeatLabel, "标签3", ControlKind::Label, {19, 294, 149, 24}, true, false, false, "二次加密（1为不设置）："},
      {repeatEdit, "编辑框3", ControlKind::EditBox, {16, 322, 320, 24}, true, false, true, "1"},
      {openFileDialog, "通用对话框1", ControlKind::FileDialog, {208, 80, 26, 26}, false, false, false, ""},
      {formTimer, "时钟1", ControlKind::Timer, {168, 32, 26, 26}, false, false, false, ""},
      {encryptButton, "按钮2", ControlKind::Button, {176, 360, 77, 32}, true, false, true, "加密"},
      {decryptButton, "按钮3", ControlKind::Button, {259, 360, 77, 32}, true, false, true, "解密"},
      {usageText, "编辑框4", ControlKind::EditBox, {16, 24, 320, 128}, true, false, true, kUsageText},
  };
  const auto controls = MainWindowLayout().controls;
  ASSERT_EQ(controls.size(), std::size(expected));
  for (size_t i = 0; i < controls.size(); ++i) {
    const ControlRecord& c = controls[i];
    const Expected actual{c.id, c.name, c.kind, c.rect, c.visible, c.disabled, c.tabStop, c.text, c.focusOrder};
    EXPECT_TRUE(actual == expected[i]) << expected[i].name;
  }
}

TEST(MainWindowLayout, KindPropertiesMatchEachKind) {
  for (const ControlRecord& c : MainWindowLayout().controls) {
    SCOPED_TRACE(std::string(c.name));
    switch (c.kind) {
      case ControlKind::EditBox: EXPECT_TRUE(std::holds_alternative<EditBoxProperties>(c.properties)); break;
      case ControlKind::Label: EXPECT_TRUE(std::holds_alternative<LabelProperties>(c.properties)); break;
      case ControlKind::Button: EXPECT_TRUE(std::holds_alternative<ButtonProperties>(c.properties)); break;
      case ControlKind::FileDialog: EXPECT_TRUE(std::holds_alternative<FileDialogProperties>(c.properties)); break;
      case ControlKind::Timer: EXPECT_TRUE(std::holds_alternative<TimerProperties>(c.properties)); break;
    }
  }
  const EditBoxProperties input{.clientEdge = true, .multiLine = false, .autoHScroll = true, .autoVScroll = false,
                                .readOnly = false, .hideSelection = true, .maxLength = 0,
                                .textColor = kBlack, .backColor = kWhite};
  for (int id : {pathEdit, keyEdit, repeatEdit}) EXPECT_TRUE(std::get<EditBoxProperties>(Control(id).properties) == input);
  const EditBoxProperties notes{.clientEdge = false, .multiLine = true, .autoHScroll = false, .autoVScroll = true,
                                .readOnly = true, .hideSelection = true, .maxLength = 0,
                                .textColor = kBlack, .backColor = kButtonFace};
  EXPECT_TRUE(std::get<EditBoxProperties>(Control(usageText).properties) == notes);
  const LabelProperties label{.wordWrap = true, .literalAmpersand = true, .textColor = kBlack, .backColor = kButtonFace};
  for (int id : {pathLabel, keyLabel, repeatLabel}) EXPECT_TRUE(std::get<LabelProperties>(Control(id).properties) == label);
  for (int id : {browseButton, encryptButton, decryptButton}) {
    EXPECT_FALSE(std::get<ButtonProperties>(Control(id).properties).isDefault);
  }
  EXPECT_EQ(std::get<TimerProperties>(Control(formTimer).properties).periodMs, 1000u);
}

TEST(MainWindowLayout, UsageTextIsSixLinesOf378BytesInCodePage936) {
  const std::string_view text = kUsageText;
  const std::string_view first = text.substr(0, text.find("\r\n"));
  EXPECT_TRUE(first.starts_with("使用方法："));
  EXPECT_TRUE(first.ends_with("可提升防御力度。"));
  EXPECT_EQ(text.substr(first.size()), "\r\n\r\n程序特色：\r\n1.加密文件大小不限制，对电影资料效果良好。\r\n"
                                       "2.采用多线程执行，不会觉得很卡或失败。\r\n3.大部分文件类型均可操作，范围极广");
  EXPECT_EQ(Cp936Length(text), 378u);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 5);  // no bare LF, none at the end: six lines
}

// At every scale the window is drawn at, as the layout is scaled for it.
TEST(MainWindowLayout, NoTwoVisibleControlsOverlapAtAnyScale) {
  const auto controls = MainWindowLayout().controls;
  for (int dpi : {96, 120, 144, 168, 192, 288}) {
    SCOPED_TRACE("dpi " + std::to_string(dpi));
    for (size_t i = 0; i < controls.size(); ++i) {
      for (size_t j = i + 1; j < controls.size(); ++j) {
        if (!controls[i].visible || !controls[j].visible) continue;
        const LayoutRect a = ScaleRect(controls[i].rect, dpi);
        const LayoutRect b = ScaleRect(controls[j].rect, dpi);
        const bool apart = a.left + a.width <= b.left || b.left + b.width <= a.left || a.top + a.height <= b.top ||
                           b.top + b.height <= a.top;
        EXPECT_TRUE(apart) << controls[i].name << " overlaps " << controls[j].name;
      }
    }
  }
}

TEST(MainWindowLayout, OnlyTheCreatedEventAndTheThreeClicksAreBound) {
  const WindowRecord& window = MainWindowLayout();
  ASSERT_EQ(window.bindings.size(), 1u);
  EXPECT_EQ(FindBinding(window.bindings, LayoutEvent::Created), &OnLinkEvent);
  const std::pair<int, EventHandler> clicks[] = {
      {browseButton, &OnBrowseClicked}, {encryptButton, &OnEncryptClicked}, {decryptButton, &OnDecryptClicked}};
  for (const auto& [id, handler] : clicks) {
    ASSERT_EQ(Control(id).bindings.size(), 1u);
    EXPECT_EQ(FindBinding(Control(id).bindings, LayoutEvent::Click), handler);
  }
  size_t bound = 0;
  for (const ControlRecord& c : window.controls) bound += c.bindings.size();
  EXPECT_EQ(bound, 3u);
  EXPECT_EQ(FindBinding(Control(formTimer).bindings, LayoutEvent::Tick), nullptr);
}

// Tab stops of the layout as loaded, optionally with one control disabled.
std::vector<TabStop> LoadedTabStops(int disabledId = 0) {
  std::vector<TabStop> stops;
  for (const ControlRecord& c : MainWindowLayout().controls) {
    stops.push_back(TabStopOf(c, c.visible, !c.disabled && c.id != disabledId));
  }
  return stops;
}

std::vector<int> CycleFrom(const std::vector<TabStop>& stops, int startId, bool backwards, size_t steps) {
  const auto controls = MainWindowLayout().controls;
  std::vector<int> visited;
  std::optional<size_t> at = static_cast<size_t>(startId - 1);
  for (size_t i = 0; i < steps; ++i) {
    at = NextTabStop(stops, at, backwards);
    if (!at) break;
    visited.push_back(controls[*at].id);
  }
  return visited;
}

TEST(MainWindowLayout, TabCyclesOverEnabledTabStopsInCreationOrder) {
  const std::vector<TabStop> stops = LoadedTabStops();
  EXPECT_EQ(CycleFrom(stops, usageText, false, 7),
            (std::vector<int>{browseButton, keyEdit, repeatEdit, encryptButton, decryptButton, usageText, browseButton}));
  EXPECT_EQ(CycleFrom(stops, browseButton, true, 6),
            (std::vector<int>{usageText, decryptButton, encryptButton, repeatEdit, keyEdit, browseButton}));
  // Nothing focused yet: the first of the cycle.
  const auto first = NextTabStop(stops, std::nullopt, false);
  ASSERT_TRUE(first);
  EXPECT_EQ(MainWindowLayout().controls[*first].id, browseButton);
  // A running job's disabled button drops out of the cycle.
  EXPECT_EQ(CycleFrom(LoadedTabStops(encryptButton), repeatEdit, false, 2),
            (std::vector<int>{decryptButton, usageText}));
}

}  // namespace
}  // namespace tessafold
