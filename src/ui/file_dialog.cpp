#include "ui/file_dialog.h"

#include <algorithm>

#include "app/window/control_access.h"

namespace tessafold {

namespace {

std::string_view TrimTrailingSpace(std::string_view text) {
  const size_t end = text.find_last_not_of(" \t\r\n\v\f");
  return end == std::string_view::npos ? std::string_view{} : text.substr(0, end + 1);
}

// "a|b|c|d||" read as pairs until the first pair with an empty description,
// the way the platform reads its double-zero-terminated list.
std::vector<FileFilterEntry> ReadFilterPairs(std::string_view filter) {
  std::string text(TrimTrailingSpace(filter));
  if (text.empty()) return {};
  if (!text.ends_with("||")) text += "||";

  std::vector<std::string> fields;
  size_t start = 0;
  for (size_t bar = text.find('|'); bar != std::string::npos; bar = text.find('|', start)) {
    fields.push_back(text.substr(start, bar - start));
    start = bar + 1;
  }
  fields.push_back(text.substr(start));

  std::vector<FileFilterEntry> entries;
  for (size_t i = 0; i + 1 < fields.size() && !fields[i].empty(); i += 2) {
    entries.push_back({fields[i], fields[i + 1]});
  }
  return entries;
}

}  // namespace

FileDialogRequest MakeFileDialogRequest(const FileDialogSettings& settings, int ownerWindowId,
                                        std::string currentFileName) {
  FileDialogRequest request;
  request.save = settings.save;
  request.ownerWindowId = ownerWindowId;
  request.filters = ReadFilterPairs(settings.filter);
  if (!TrimTrailingSpace(settings.filter).empty()) {
    request.initialFilterIndex = static_cast<uint32_t>(std::max<int32_t>(settings.initialFilter, 0)) + 1;
  }
  request.title = settings.title;
  request.initialDirectory = settings.initialDirectory;
  request.defaultExtension = settings.defaultExtension;
  request.initialFileName = std::move(currentFileName);
  request.hideReadOnly = true;
  request.promptCreate = settings.promptCreate;
  request.fileMustExist = settings.fileMustExist;
  request.promptOverwrite = settings.promptOverwrite;
  request.pathMustExist = settings.pathMustExist;
  request.keepCurrentDirectory = settings.keepCurrentDirectory;
  request.multipleSelection = false;
  return request;
}

bool ShowFileDialog(const FileDialogComponent& dialog) {
  const std::string current = GetControlText(dialog.windowId, dialog.controlId, kPropertyDialogFileName);
  const FileDialogRequest request = MakeFileDialogRequest(dialog.settings, dialog.windowId, current);
  const std::optional<std::string> chosen = ShowPlatformFileDialog(request);
  if (!chosen) return false;
  SetControlProperty(dialog.windowId, dialog.controlId, kPropertyDialogFileName, *chosen);
  return true;
}

}  // namespace tessafold
