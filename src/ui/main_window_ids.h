#pragma once

namespace tessafold {

// The one window of the program and its controls, numbered in creation order.
inline constexpr int kMainWindow = 1;

enum MainWindowControl : int {
  pathLabel = 1,
  pathEdit,
  browseButton,
  keyLabel,
  keyEdit,
  repeatLabel,
  repeatEdit,
  openFileDialog,
  formTimer,
  encryptButton,
  decryptButton,
  usageText,
};

}  // namespace tessafold
