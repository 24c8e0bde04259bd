#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tessafold {

// One entry of a file dialog's type list.
struct FileFilterEntry {
  std::string description;
  std::string pattern;
  bool operator==(const FileFilterEntry&) const = default;
};

// Everything the platform's common file dialog is asked for. Empty texts are
// not handed to the platform, which then uses its own defaults.
struct FileDialogRequest {
  bool save = false;
  int ownerWindowId = 0;                   // the loaded window the dialog is modal to
  std::vector<FileFilterEntry> filters{};  // in display order
  uint32_t initialFilterIndex = 0;         // counted from 1; 0 selects none
  std::string title{};
  std::string initialDirectory{};
  std::string defaultExtension{};
  std::string initialFileName{};
  bool hideReadOnly = false;
  bool promptCreate = false;
  bool fileMustExist = false;
  bool promptOverwrite = false;
  bool pathMustExist = false;
  bool keepCurrentDirectory = false;
  bool multipleSelection = false;
  bool operator==(const FileDialogRequest&) const = default;
};

// Shows the dialog on the calling (user interface) thread and waits until it
// is closed. The full path of the chosen file on OK; nothing on cancel, on a
// closed dialog or when the dialog fails. Defined for Windows only; the
// native tests link their recording fake in its place.
std::optional<std::string> ShowPlatformFileDialog(const FileDialogRequest& request);

}  // namespace tessafold
