#include "ui/main_window_layout.h"

#include <array>

#include "ui/handlers.h"
#include "ui/main_window_ids.h"

namespace tessafold {

const std::string_view kUsageText =
    "使用方法：选择第一个文件，不要被其它程序打开，然后设置密码，点击加密即可，当提示成功时，"
    "试试打开加密后的文件，会发现无法打开或运行，当需要使用到的时候，选择路径，点击解密即可，"
    "如果想获得更好的效果，可以增设第二个密码，乱中生乱，可提升防御力度。\r\n"
    "\r\n"
    "程序特色：\r\n"
    "1.加密文件大小不限制，对电影资料效果良好。\r\n"
    "2.采用多线程执行，不会觉得很卡或失败。\r\n"
    "3.大部分文件类型均可操作，范围极广";

namespace {

constexpr EditBoxProperties kInputBox{
    .clientEdge = true, .multiLine = false, .autoHScroll = true, .autoVScroll = false,
    .readOnly = false, .hideSelection = true, .maxLength = 0,
    .textColor = kBlack, .backColor = kWhite};

constexpr EditBoxProperties kNotesBox{
    .clientEdge = false, .multiLine = true, .autoHScroll = false, .autoVScroll = true,
    .readOnly = true, .hideSelection = true, .maxLength = 0,
    .textColor = kBlack, .backColor = kButtonFace};

constexpr LabelProperties kLabel{
    .wordWrap = true, .literalAmpersand = true, .textColor = kBlack, .backColor = kButtonFace};

constexpr ButtonProperties kPushButton{.isDefault = false, .multiLine = true};

constexpr std::array kWindowBindings{EventBinding{LayoutEvent::Created, OnLinkEvent}};
constexpr std::array kBrowseBindings{EventBinding{LayoutEvent::Click, OnBrowseClicked}};
constexpr std::array kEncryptBindings{EventBinding{LayoutEvent::Click, OnEncryptClicked}};
constexpr std::array kDecryptBindings{EventBinding{LayoutEvent::Click, OnDecryptClicked}};

// Columns: id, form name, kind, {left, top, width, height}, visible, disabled,
// tab stop, focus order, text, kind's properties, bindings; then what a screen
// reader says that no label gives: a name, a description.
const std::array kControls{
    ControlRecord{pathLabel, "标签1", ControlKind::Label, {16, 168, 96, 24},
                  true, false, false, 0, "加密的文件路径：", kLabel, {}},
    ControlRecord{pathEdit, "编辑框1", ControlKind::EditBox, {17, 200, 271, 24},
                  true, true, true, 0, "", kInputBox, {}},
    ControlRecord{browseButton, "按钮1", ControlKind::Button, {296, 200, 40, 24},
                  true, false, true, 0, "...", kPushButton, kBrowseBindings,
                  "", "选择要加密或解密的文件"},
    ControlRecord{keyLabel, "标签2", ControlKind::Label, {16, 232, 64, 24},
                  true, false, false, 0, "加密密码：", kLabel, {}},
    ControlRecord{keyEdit, "编辑框2", ControlKind::EditBox, {18, 262, 318, 24},
                  true, false, true, 0, "", kInputBox, {}},
    ControlRecord{repeatLabel, "标签3", ControlKind::Label, {19, 294, 149, 24},
                  true, false, false, 0, "二次加密（1为不设置）：", kLabel, {}},
    ControlRecord{repeatEdit, "编辑框3", ControlKind::EditBox, {16, 322, 320, 24},
                  true, false, true, 0, "1", kInputBox, {}},
    ControlRecord{openFileDialog, "通用对话框1", ControlKind::FileDialog, {208, 80, 26, 26},
                  false, false, false, 0, "", FileDialogProperties{}, {}},
    ControlRecord{formTimer, "时钟1", ControlKind::Timer, {168, 32, 26, 26},
                  false, false, false, 0, "", TimerProperties{1000}, {}},
    ControlRecord{encryptButton, "按钮2", ControlKind::Button, {176, 360, 77, 32},
                  true, false, true, 0, "加密", kPushButton, kEncryptBindings},
    ControlRecord{decryptButton, "按钮3", ControlKind::Button, {259, 360, 77, 32},
                  true, false, true, 0, "解密", kPushButton, kDecryptBindings},
    ControlRecord{usageText, "编辑框4", ControlKind::EditBox, {16, 24, 320, 128},
                  true, false, true, 0, kUsageText, kNotesBox, {},
                  "使用方法"},
};

const WindowRecord kMainWindowRecord{
    .id = kMainWindow,
    .title = "Tessafoldv1.1",
    .outer = {50, 50, 357, 440},  // the stored position is unused: the window is centred
    .visible = true,
    .startPosition = StartPosition::CenterScreen,
    .fixedDialogFrame = true,
    .controlBox = true,
    .minimizeBox = false,
    .maximizeBox = false,
    .movable = true,
    .backColor = kButtonFace,
    .escCloses = true,
    .enterMovesFocus = false,
    .showInTaskbar = true,
    .alwaysOnTop = false,
    .clipChildren = true,
    .controls = kControls,
    .bindings = kWindowBindings,
};

const std::array kLayouts{kMainWindowRecord};

}  // namespace

const WindowRecord& MainWindowLayout() { return kLayouts[0]; }

std::span<const WindowRecord> BuiltInWindowLayouts() { return kLayouts; }

}  // namespace tessafold
