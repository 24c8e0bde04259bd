#include "app/window/open_file_dialog.h"

namespace tessafold {

// Without a desktop no file can be chosen: the same as a cancelled dialog.
std::optional<std::string> ShowPlatformFileDialog(const FileDialogRequest&) { return std::nullopt; }

}  // namespace tessafold
