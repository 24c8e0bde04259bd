// The main window as a user meets it, checked from outside the program.
#include <gtest/gtest.h>

// IID_IAccessible defined here: the import library's copy is refused by Wine.
#include <initguid.h>
#include <oleacc.h>

#include <cmath>
#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "app_under_test.h"
#include "browser_stand_in.h"
#include "app/window/color_scheme.h"
#include "app/win/handle_owners.h"
#include "common/file_test_support.h"
#include "ui/main_window_ids.h"
#include "ui/main_window_layout.h"

namespace {

using e2e::AppUnderTest;
using namespace tessafold;

// The controls with a window of their own, in creation order, as the layout
// (pinned by its own test) places them; the file dialog and the timer have none.
std::vector<const ControlRecord*> OnScreenControls() {
  std::vector<const ControlRecord*> controls;
  for (const ControlRecord& control : MainWindowLayout().controls) {
    if (control.visible) controls.push_back(&control);
  }
  return controls;
}

// Left, top, right, bottom in the window's client area.
RECT LayoutRectOf(int controlId) {
  const LayoutRect r = FindControlRecord(MainWindowLayout(), controlId)->rect;
  return {r.left, r.top, r.left + r.width, r.top + r.height};
}

// The window class and the role a screen reader hears of each kind on screen.
const std::map<ControlKind, std::pair<std::wstring, LONG>> kClassAndRole = {
    {ControlKind::Label, {L"Static", ROLE_SYSTEM_STATICTEXT}},
    {ControlKind::EditBox, {L"Edit", ROLE_SYSTEM_TEXT}},
    {ControlKind::Button, {L"Button", ROLE_SYSTEM_PUSHBUTTON}}};

// What a screen reader must say for the controls not named by their caption:
// each edit its label's text, the usage box a name of its own.
const std::map<int, std::wstring> kSpokenNames = {
    {pathEdit, L"加密的文件路径："}, {keyEdit, L"加密密码："}, {repeatEdit, L"二次加密（1为不设置）："}, {usageText, L"使用方法"}};

LONG StyleOf(HWND hwnd) { return GetWindowLongW(hwnd, GWL_STYLE); }
LONG ExStyleOf(HWND hwnd) { return GetWindowLongW(hwnd, GWL_EXSTYLE); }

RECT RectInClient(HWND parent, HWND child) {
  RECT rect;
  GetWindowRect(child, &rect);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

std::string Describe(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
         std::to_string(r.bottom);
}

// A value of the user's settings, set for one test and put back after it. A
// program reads the display's scale and the system's colours when it starts.
class ScopedUserSetting {
 public:
  ScopedUserSetting(const wchar_t* key, const wchar_t* name, DWORD value) : ScopedUserSetting(key, name) { Set(value); }
  ScopedUserSetting(const wchar_t* key, const wchar_t* name, const std::wstring& text) : ScopedUserSetting(key, name) {
    Write(REG_SZ, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
  }
  ~ScopedUserSetting() { had_ ? Write(type_, old_, size_) : void(RegDeleteKeyValueW(HKEY_CURRENT_USER, key_, name_)); }
  ScopedUserSetting(const ScopedUserSetting&) = delete;
  void Set(DWORD value) const { Write(REG_DWORD, &value, sizeof value); }

 private:
  ScopedUserSetting(const wchar_t* key, const wchar_t* name) : key_(key), name_(name) {
    had_ = RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_ANY | RRF_NOEXPAND, &type_, old_, &size_) == ERROR_SUCCESS;
  }
  void Write(DWORD type, const void* data, size_t size) const {
    RegSetKeyValueW(HKEY_CURRENT_USER, key_, name_, type, data, static_cast<DWORD>(size));
  }
  const wchar_t *key_, *name_;
  BYTE old_[128] = {};
  DWORD size_ = sizeof old_, type_ = 0;
  bool had_ = false;
};

constexpr wchar_t kPersonalize[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";

bool UnderWine() { return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr; }

// A control's name, description and role as a screen reader asks MSAA for
// them, from outside the program.
struct Spoken {
  std::wstring name, description;
  LONG role;
};

Spoken ReadAccessible(HWND control) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  Spoken read;
  {
    ComPtr<IAccessible> object;
    VARIANT self{}, role{};
    self.vt = VT_I4;  // CHILDID_SELF
    BSTR name = nullptr, description = nullptr;
    if (SUCCEEDED(AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible, object.Put()))) {
      object->get_accName(self, &name);
      object->get_accDescription(self, &description);
      object->get_accRole(self, &role);
    }
    read = {name ? name : L"", description ? description : L"", role.vt == VT_I4 ? role.lVal : 0};
    SysFreeString(name);
    SysFreeString(description);
  }
  CoUninitialize();
  return read;
}

class MainWindow : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(app_.Started()) << "no window titled Tessafoldv1.1 appeared"; }

  // Waits until the program's focus is on that control.
  bool FocusIs(int controlId) {
    return e2e::WaitUntil([&] { return app_.FocusedWindow() == app_.Control(controlId); }, 5000);
  }

  std::vector<int> FocusAfterKeys(int presses, bool shift) {
    std::vector<int> visited;
    for (int i = 0; i < presses; ++i) {
      const HWND before = app_.FocusedWindow();
      app_.PressKey(VK_TAB, shift);
      e2e::WaitUntil([&] { return app_.FocusedWindow() != before; }, 5000);
      visited.push_back(GetDlgCtrlID(app_.FocusedWindow()));
    }
    return visited;
  }

  AppUnderTest app_;
};

TEST_F(MainWindow, IsAFixedDialogFrameOf357By440CentredOnTheScreen) {
  const HWND window = app_.Window();
  EXPECT_EQ(e2e::WindowText(window), L"Tessafoldv1.1");
  RECT outer;
  GetWindowRect(window, &outer);
  EXPECT_EQ(outer.right - outer.left, 357);
  EXPECT_EQ(outer.bottom - outer.top, 440);
  EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXSCREEN) - 357) / 2);
  EXPECT_EQ(outer.top, (GetSystemMetrics(SM_CYSCREEN) - 440) / 2);

  const LONG style = StyleOf(window);
  EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_TRUE(style & WS_CLIPCHILDREN);
  EXPECT_TRUE(style & WS_VISIBLE);
  EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_MINIMIZE | WS_MAXIMIZE | WS_CHILD));
  EXPECT_FALSE(ExStyleOf(window) & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE | WS_EX_DLGMODALFRAME | WS_EX_TOPMOST));
  EXPECT_EQ(GetParent(window), nullptr);
  EXPECT_EQ(GetWindow(window, GW_OWNER), nullptr);
}

TEST_F(MainWindow, ControlsHaveTheirLayoutRectanglesClassesTextsAndStates) {
  const HWND window = app_.Window();
  const std::vector<const ControlRecord*> expected = OnScreenControls();
  ASSERT_EQ(expected.size(), 10u);
  for (const ControlRecord* record : expected) {
    SCOPED_TRACE(std::string(record->name));
    const HWND control = app_.Control(record->id);
    ASSERT_NE(control, nullptr);
    const RECT rect = RectInClient(window, control);
    EXPECT_EQ(Describe(rect), Describe(LayoutRectOf(record->id)));
    EXPECT_EQ(e2e::ClassName(control), kClassAndRole.at(record->kind).first);
    EXPECT_EQ(e2e::WindowText(control), e2e::Widen(record->text));
    EXPECT_EQ(IsWindowEnabled(control) != FALSE, !record->disabled);
    EXPECT_EQ((StyleOf(control) & WS_TABSTOP) != 0, record->tabStop);
    EXPECT_TRUE(IsWindowVisible(control));
  }
  EXPECT_EQ(app_.Control(openFileDialog), nullptr);
  EXPECT_EQ(app_.Control(formTimer), nullptr);
}

TEST_F(MainWindow, EditBoxesAndButtonsHaveTheirStyles) {
  for (int id : {pathEdit, keyEdit, repeatEdit}) {
    SCOPED_TRACE("edit box " + std::to_string(id));
    const LONG style = StyleOf(app_.Control(id));
    EXPECT_TRUE(ExStyleOf(app_.Control(id)) & WS_EX_CLIENTEDGE);
    EXPECT_TRUE(style & ES_AUTOHSCROLL);
    EXPECT_FALSE(style & (ES_MULTILINE | ES_READONLY | ES_PASSWORD | ES_NOHIDESEL | ES_NUMBER | WS_HSCROLL | WS_VSCROLL));
  }
  const HWND notes = app_.Control(usageText);
  const LONG style = StyleOf(notes);
  EXPECT_EQ(style & (ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL), ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL);
  EXPECT_FALSE(style & (ES_AUTOHSCROLL | ES_NOHIDESEL | WS_HSCROLL | WS_VSCROLL | WS_BORDER));
  EXPECT_FALSE(ExStyleOf(notes) & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE));
  DWORD start = 1, end = 1;
  SendMessageW(notes, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, 0u);

  for (int id : {browseButton, encryptButton, decryptButton}) {
    const LONG button = StyleOf(app_.Control(id));
    EXPECT_EQ(button & BS_TYPEMASK, BS_PUSHBUTTON) << "no default button";
    EXPECT_EQ(button & (BS_MULTILINE | BS_CENTER | BS_VCENTER), BS_MULTILINE | BS_CENTER | BS_VCENTER);
  }
}

TEST_F(MainWindow, ControlsAreStackedInReverseCreationOrder) {
  std::vector<int> topToBottom;
  for (HWND child = GetWindow(app_.Window(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    topToBottom.push_back(GetDlgCtrlID(child));
  }
  EXPECT_EQ(topToBottom, (std::vector<int>{usageText, decryptButton, encryptButton, repeatEdit, repeatLabel, keyEdit,
                                           keyLabel, browseButton, pathEdit, pathLabel}));
}

TEST_F(MainWindow, TabAndShiftTabCycleOverEnabledTabStopsInCreationOrder) {
  ASSERT_TRUE(FocusIs(browseButton)) << "the first control of the cycle has the focus at start";
  EXPECT_EQ(FocusAfterKeys(6, false),
            (std::vector<int>{keyEdit, repeatEdit, encryptButton, decryptButton, usageText, browseButton}));
  EXPECT_EQ(FocusAfterKeys(6, true),
            (std::vector<int>{usageText, decryptButton, encryptButton, repeatEdit, keyEdit, browseButton}));
}

// As after a click, no focus cue; an arrow key or Tab shows it again.
TEST_F(MainWindow, TabAndArrowKeysShowTheFocusCueOnButtons) {
  const auto hidden = [&] { return (SendMessageW(app_.Control(browseButton), WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) != 0; };
  for (WORD key : {VK_RIGHT, VK_TAB}) {
    SendMessageW(app_.Window(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS), 0);
    if (!hidden() && UnderWine()) GTEST_SKIP() << "under Wine a button reports its focus cue shown even after it was hidden";
    ASSERT_TRUE(hidden());
    app_.PressKey(key);
    EXPECT_TRUE(e2e::WaitUntil([&] { return !hidden(); }, 5000)) << "after key " << key;
  }
}

// Each edit by its label's text, the usage box by its own name, the labels
// and buttons by their captions, what "..." does; the edits' role.
TEST_F(MainWindow, AScreenReaderNamesEveryControlAndTellsWhatBrowsingDoes) {
  for (const ControlRecord* expected : OnScreenControls()) {
    const auto named = kSpokenNames.find(expected->id);
    const Spoken read = ReadAccessible(app_.Control(expected->id));
    EXPECT_EQ(read.name, named != kSpokenNames.end() ? named->second : e2e::Widen(expected->text)) << expected->id;
    if (expected->kind == ControlKind::EditBox) EXPECT_EQ(read.role, ROLE_SYSTEM_TEXT) << expected->id;
  }
  EXPECT_EQ(ReadAccessible(app_.Control(browseButton)).description, L"选择要加密或解密的文件");
}

TEST_F(MainWindow, AScreenReaderHearsLabelsAsStaticTextAndButtonsAsPushButtons) {
  if (UnderWine()) GTEST_SKIP() << "Wine's accessibility gives labels and buttons the role client";
  for (const ControlRecord* expected : OnScreenControls()) {
    EXPECT_EQ(ReadAccessible(app_.Control(expected->id)).role, kClassAndRole.at(expected->kind).second) << expected->id;
  }
}

TEST_F(MainWindow, ReactivationGivesTheFocusBackToTheControlThatHadIt) {
  FocusAfterKeys(2, false);
  ASSERT_TRUE(FocusIs(repeatEdit));
  const HWND other = CreateWindowExW(0, L"STATIC", L"another program", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100,
                                     nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  SetForegroundWindow(other);
  ASSERT_TRUE(e2e::WaitUntil([&] { return GetForegroundWindow() == other; }, 5000));
  SetForegroundWindow(app_.Window());
  EXPECT_TRUE(FocusIs(repeatEdit));
  DestroyWindow(other);
}

TEST_F(MainWindow, EnterChangesNothingAndEscClosesWithExitCodeZero) {
  FocusAfterKeys(1, false);
  ASSERT_TRUE(FocusIs(keyEdit));
  app_.SetControlText(keyEdit, L"abc");
  app_.PressKey(VK_RETURN);
  app_.PressKey(VK_TAB);  // a later key proves the Enter was handled
  ASSERT_TRUE(FocusIs(repeatEdit));
  EXPECT_EQ(app_.ControlText(keyEdit), L"abc");
  EXPECT_TRUE(IsWindow(app_.Window()));

  app_.PressKey(VK_ESCAPE);
  EXPECT_EQ(app_.WaitForExit(), 0u);
}

TEST_F(MainWindow, EscClosesFromTheReadOnlyNotes) {
  FocusAfterKeys(5, false);
  ASSERT_TRUE(FocusIs(usageText));
  app_.PressKey(VK_ESCAPE);
  EXPECT_EQ(app_.WaitForExit(), 0u);
}

// Each start ends by the title bar's close button, with exit code 0.
TEST(MainWindowStart, OpensTheWebPageOncePerStartBeforeShowingFromTheProgramsFolder) {
  e2e::BrowserStandIn browser;
  ASSERT_TRUE(browser.Installed());
  const tessafold::testing::ScratchFolder elsewhere;
  std::wstring programFolder = e2e::ProgramPath();
  programFolder.resize(programFolder.find_last_of(L'\\'));

  for (int start = 1; start <= 2; ++start) {
    SCOPED_TRACE("start " + std::to_string(start));
    AppUnderTest app(elsewhere.Root().wstring());
    ASSERT_TRUE(app.Started());
    app.Close();
    EXPECT_EQ(app.WaitForExit(), 0u);
    const std::vector<e2e::BrowserVisit> visits = browser.Visits();
    ASSERT_EQ(visits.size(), static_cast<size_t>(start)) << "one request per start, none at the close";
    const e2e::BrowserVisit& visit = visits.back();
    EXPECT_TRUE(visit.address.ends_with("www.tessafold.com?radiv")) << visit.address;
    EXPECT_FALSE(visit.windowWasVisible) << "the page is asked for before the window is shown";
    EXPECT_EQ(CompareStringOrdinal(e2e::Widen(visit.currentDirectory).c_str(), -1, programFolder.c_str(), -1, TRUE),
              CSTR_EQUAL)
        << visit.currentDirectory;
  }
}

// Within a pixel or two of the layout's edge scaled by dpi / 96.
bool NearScaled(LONG actual, LONG layout, int dpi) { return std::abs(actual - layout * dpi / 96.0) <= 2.0; }
bool NearScaled(const RECT& actual, const RECT& layout, int dpi) {
  return NearScaled(actual.left, layout.left, dpi) && NearScaled(actual.top, layout.top, dpi) &&
         NearScaled(actual.right, layout.right, dpi) && NearScaled(actual.bottom, layout.bottom, dpi);
}

// As a user with 100 %, 150 % and 200 % scaling meets the window, and as it
// becomes when moved to a monitor of 150 % (by the probe): everything where
// the layout puts it, scaled, every caption whole, in the font and with the
// icons made for that scale (the default GUI font is 12 pixels at 96 DPI under Wine).
TEST(MainWindowAtScale, EveryControlSitsAtItsScaledRectangleAndShowsItsWholeCaption) {
  const struct {
    DWORD displayDpi;
    const wchar_t* moved;
    int dpi;
    DWORD fontHeight, largeIcon, smallIcon;
  } scales[] = {{96, L"", 96, 12, 32, 16}, {144, L"", 144, 18, 48, 24}, {192, L"", 192, 24, 64, 32},
                {96, L" moved", 144, 18, 48, 24}};
  const std::wstring probe = e2e::ProgramPath(L"frame_probe.exe");
  for (const auto& scale : scales) {
    SCOPED_TRACE("display " + std::to_string(scale.displayDpi) + (*scale.moved ? ", moved to 144" : ""));
    // The display's scale as the user sets it; under Wine its LogPixels.
    const ScopedUserSetting dpi(L"Control Panel\\Desktop", L"LogPixels", scale.displayDpi);
    {
      const AppUnderTest app({}, *scale.moved ? probe : e2e::ProgramPath(), *scale.moved ? L"window moved" : L"");
      ASSERT_TRUE(app.Started());
      // The probe moves the window once it is shown, the usage box last.
      e2e::WaitUntil(
          [&] { return NearScaled(RectInClient(app.Window(), app.Control(usageText)), LayoutRectOf(usageText), scale.dpi); },
          5000);
      RECT outer, client;
      GetWindowRect(app.Window(), &outer);
      GetClientRect(app.Window(), &client);
      EXPECT_TRUE(NearScaled({0, 0, outer.right - outer.left, outer.bottom - outer.top}, {0, 0, 357, 440}, scale.dpi));
      for (const ControlRecord* expected : OnScreenControls()) {
        const RECT rect = RectInClient(app.Window(), app.Control(expected->id));
        EXPECT_TRUE(NearScaled(rect, LayoutRectOf(expected->id), scale.dpi)) << expected->id << ": " << Describe(rect);
        EXPECT_TRUE(rect.right <= client.right && rect.bottom <= client.bottom) << expected->id << " in the window";
      }
      app.Close();
      EXPECT_EQ(app.WaitForExit(), 0u);
    }
    // Measured inside the program, where the controls' fonts live.
    const AppUnderTest captions({}, probe, L"captions" + std::wstring(scale.moved));
    EXPECT_EQ(captions.WaitForExit(), scale.fontHeight << 16) << "font height << 16 | the ids that do not fit";
    const AppUnderTest icons({}, probe, L"icons" + std::wstring(scale.moved));
    EXPECT_EQ(icons.WaitForExit(), scale.largeIcon << 8 | scale.smallIcon | 1u << 16 | 1u << 17);
  }
}

// What the user sees near the bottom right of the window, a label, the usage
// box and the empty edit fields (the path field is disabled), on the screen.
std::vector<COLORREF> Surfaces(const AppUnderTest& app) {
  std::vector<COLORREF> seen;
  for (int id : {0, int{pathLabel}, int{usageText}, int{keyEdit}, int{pathEdit}}) {
    const RECT rect = id ? RectInClient(app.Window(), app.Control(id)) : RECT{10, 10, 10, 10};
    POINT at{rect.right - 4, rect.bottom - 4};
    ClientToScreen(app.Window(), &at);
    seen.push_back(e2e::ScreenPixels(at, 1, 1)[0]);
  }
  return seen;
}

bool SurfacesAre(const AppUnderTest& app, const std::vector<COLORREF>& expected) {
  return e2e::WaitUntil([&] { return Surfaces(app) == expected; }, 5000);
}

// Light exactly as the layout says; dark when the system's setting for apps
// says so, at start or changed while the program runs.
TEST(MainWindowColours, FollowTheSystemsSettingForAppsAtStartAndWhileRunning) {
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  const std::vector<COLORREF> light{face, face, face, RGB(255, 255, 255), face};
  const std::vector<COLORREF> dark{kDarkSurface, kDarkSurface, kDarkSurface, kDarkField, kDarkField};
  const auto announce = [](const AppUnderTest& app) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(app.Window(), WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"ImmersiveColorSet"),
                        SMTO_ABORTIFHUNG, 5000, &ignored);
  };
  const ScopedUserSetting appsUseLight(kPersonalize, L"AppsUseLightTheme", 1);
  {
    const AppUnderTest app;
    ASSERT_TRUE(app.Started());
    EXPECT_TRUE(SurfacesAre(app, light));
    appsUseLight.Set(0);
    announce(app);
    EXPECT_TRUE(SurfacesAre(app, dark));
    appsUseLight.Set(1);
    announce(app);
    EXPECT_TRUE(SurfacesAre(app, light));
  }
  appsUseLight.Set(0);
  const AppUnderTest app;
  ASSERT_TRUE(app.Started());
  EXPECT_TRUE(SurfacesAre(app, dark));
}

// Windows 10 20H1 and later draw the title bar dark when the program asks.
TEST(MainWindowColours, TheTitleBarIsDarkWhereWindowsDrawsItSo) {
  if (UnderWine()) GTEST_SKIP() << "Wine draws no dark title bar and has no dark button theme";
  const ScopedUserSetting appsUseLight(kPersonalize, L"AppsUseLightTheme", 0);
  const AppUnderTest app;
  ASSERT_TRUE(app.Started());
  RECT outer;
  GetWindowRect(app.Window(), &outer);
  const COLORREF caption = e2e::ScreenPixels({(outer.left + outer.right) / 2, outer.top + 8}, 1, 1)[0];
  EXPECT_LT(GetRValue(caption) + GetGValue(caption) + GetBValue(caption), 3 * 0x60);
}

// A control on the screen: its background (its most frequent colour) and how
// many pixels differ from that by over a third of the brightness range.
std::pair<COLORREF, int> CaptionOnScreen(const AppUnderTest& app, int id) {
  const RECT rect = RectInClient(app.Window(), app.Control(id));
  POINT at{rect.left, rect.top};
  ClientToScreen(app.Window(), &at);
  std::map<COLORREF, int> counts;
  for (COLORREF pixel : e2e::ScreenPixels(at, rect.right - rect.left, rect.bottom - rect.top)) ++counts[pixel];
  const COLORREF background =
      std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) { return a.second < b.second; })->first;
  const auto brightness = [](COLORREF c) { return GetRValue(c) + GetGValue(c) + GetBValue(c); };
  int standingOut = 0;
  for (const auto& [color, count] : counts) standingOut += std::abs(brightness(color) - brightness(background)) > 255 ? count : 0;
  return {background, standingOut};
}

// Dark high-contrast system colours, black surfaces and white texts: every
// caption shows on its system surface (Wine's buttons keep their theme's face).
TEST(MainWindowColours, UnderDarkHighContrastColoursEveryCaptionStandsOut) {
  constexpr wchar_t kColors[] = L"Control Panel\\Colors";
  const ScopedUserSetting face(kColors, L"ButtonFace", L"0 0 0"), faceText(kColors, L"ButtonText", L"255 255 255"),
      field(kColors, L"Window", L"0 0 0"), fieldText(kColors, L"WindowText", L"255 255 255");
  const AppUnderTest app;
  ASSERT_TRUE(app.Started());
  const int ids[] = {pathLabel, keyLabel, repeatLabel, repeatEdit, usageText, browseButton, encryptButton, decryptButton};
  // Until every caption is painted, or the time is up.
  e2e::WaitUntil([&] {
    return std::all_of(std::begin(ids), std::end(ids), [&](int id) { return CaptionOnScreen(app, id).second > 10; });
  }, 5000);
  for (int id : ids) {
    const auto [background, standingOut] = CaptionOnScreen(app, id);
    EXPECT_GT(standingOut, 10) << id;
    if (id != browseButton && id != encryptButton && id != decryptButton) EXPECT_EQ(background, RGB(0, 0, 0)) << id;
  }
}

}  // namespace
