#pragma once
// A window described as data: one record for the window, one per control.
// The frame turns a record into the live window; no code places or sizes a
// control by hand.
#include <cstdint>
#include <span>
#include <string_view>
#include <variant>

namespace tessafold {

// Events a window or a control can raise. Only bound ones do anything.
enum class LayoutEvent { Created, Moved, Resized, Click, Tick };

using EventHandler = void (*)();

struct EventBinding {
  LayoutEvent event;
  EventHandler handler;
};

struct LayoutRect {
  int32_t left;
  int32_t top;
  int32_t width;
  int32_t height;
  bool operator==(const LayoutRect&) const = default;
};

// A plain RGB value, or the platform's current button-face colour.
struct LayoutColor {
  bool buttonFace;
  uint32_t rgb;  // 0x00BBGGRR, used when buttonFace is false
  bool operator==(const LayoutColor&) const = default;
};
inline constexpr LayoutColor kButtonFace{true, 0};
inline constexpr LayoutColor kBlack{false, 0x000000};
inline constexpr LayoutColor kWhite{false, 0xFFFFFF};

enum class ControlKind { EditBox, Label, Button, FileDialog, Timer };

struct EditBoxProperties {
  bool clientEdge;       // sunken border
  bool multiLine;        // wraps at the box width
  bool autoHScroll;      // a single line scrolls as the user types past the edge
  bool autoVScroll;      // several lines scroll to follow the caret
  bool readOnly;
  bool hideSelection;    // no selection shown while the box has no focus
  int32_t maxLength;     // 0: the platform's own maximum
  LayoutColor textColor;
  LayoutColor backColor;
  bool operator==(const EditBoxProperties&) const = default;
};

struct LabelProperties {
  bool wordWrap;
  bool literalAmpersand;  // '&' is shown, not taken as a mnemonic
  LayoutColor textColor;
  LayoutColor backColor;
  bool operator==(const LabelProperties&) const = default;
};

struct ButtonProperties {
  bool isDefault;
  bool multiLine;
};

struct FileDialogProperties {};  // its settings live with the dialog component

struct TimerProperties {
  uint32_t periodMs;
};

using KindProperties =
    std::variant<EditBoxProperties, LabelProperties, ButtonProperties, FileDialogProperties, TimerProperties>;

struct ControlRecord {
  int id;                 // unique within its window
  std::string_view name;  // the control's form name
  ControlKind kind;
  LayoutRect rect;        // relative to the window's client area
  bool visible;
  bool disabled;
  bool tabStop;
  int32_t focusOrder;     // orders Tab navigation; ties keep creation order
  std::string_view text;
  KindProperties properties;
  std::span<const EventBinding> bindings;
  // What a screen reader says beyond what the platform derives: a name where
  // no label names the control, a description of what it does. Empty: none.
  std::string_view accessibleName = {};
  std::string_view accessibleDescription = {};
};

enum class StartPosition { Stored, CenterScreen };

struct WindowRecord {
  int id;
  std::string_view title;
  LayoutRect outer;       // frame and title bar included
  bool visible;
  StartPosition startPosition;
  bool fixedDialogFrame;  // caption, system menu, no sizing frame
  bool controlBox;
  bool minimizeBox;
  bool maximizeBox;
  bool movable;
  LayoutColor backColor;
  bool escCloses;
  bool enterMovesFocus;
  bool showInTaskbar;
  bool alwaysOnTop;
  bool clipChildren;
  std::span<const ControlRecord> controls;  // in creation order
  std::span<const EventBinding> bindings;
};

// The handler bound to the event, or null.
EventHandler FindBinding(std::span<const EventBinding> bindings, LayoutEvent event);

const WindowRecord* FindWindowRecord(std::span<const WindowRecord> layouts, int windowId);
const ControlRecord* FindControlRecord(const WindowRecord& window, int controlId);

}  // namespace tessafold
