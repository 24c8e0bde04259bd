#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "app/window/open_file_dialog.h"
#include "ui/main_window_ids.h"

namespace tessafold {

// The stored settings of a file dialog component.
struct FileDialogSettings {
  bool save;
  std::string_view filter;  // "description|pattern|description|pattern..."
  int32_t initialFilter;    // counted from 0
  std::string_view title;
  std::string_view initialDirectory;
  std::string_view defaultExtension;
  bool fileMustExist;
  bool pathMustExist;
  bool promptOverwrite;
  bool promptCreate;
  bool keepCurrentDirectory;
};

// A file dialog component of a window: where its file name is kept, and how it shows.
struct FileDialogComponent {
  int windowId;
  int controlId;
  FileDialogSettings settings;
};

inline constexpr FileDialogComponent kOpenFileDialog{
    kMainWindow,
    openFileDialog,
    {
        .save = false,
        .filter = "所有文件(*.*)|*.*",
        .initialFilter = 0,
        .title = "",
        .initialDirectory = "",
        .defaultExtension = "",
        .fileMustExist = true,
        .pathMustExist = true,
        .promptOverwrite = true,
        .promptCreate = false,
        .keepCurrentDirectory = false,
    },
};

// What the platform dialog is asked for, given the settings and the file name
// the component holds now (the dialog opens on it).
FileDialogRequest MakeFileDialogRequest(const FileDialogSettings& settings, int ownerWindowId,
                                        std::string currentFileName);

// Shows the component's dialog, modal to its window. On OK the chosen full
// path becomes the component's file name and the result is true; otherwise
// the file name stays as it was.
bool ShowFileDialog(const FileDialogComponent& dialog);

}  // namespace tessafold
