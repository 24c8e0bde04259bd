#pragma once
#include <string_view>

#include "app/window/window_layout.h"

namespace tessafold {

// The usage notes shown at the top of the main window: six lines, CR LF
// between them and none after the last.
extern const std::string_view kUsageText;

// MainWindow as data: the window record and its twelve controls in creation order.
const WindowRecord& MainWindowLayout();

// Every window layout built into the program.
std::span<const WindowRecord> BuiltInWindowLayouts();

}  // namespace tessafold
