#include <windows.h>
#include <commdlg.h>

#include <vector>

#include "app/window/open_file_dialog.h"
#include "app/window/win/app_frame.h"
#include "app/text/win/wide_text.h"

namespace tessafold {

namespace {

// Room for the longest path the platform allows, with its terminating zero.
constexpr DWORD kPathCapacity = 32768;

// "description\0pattern\0...\0\0": the list form the common dialog reads.
std::wstring FilterList(const std::vector<FileFilterEntry>& filters) {
  std::wstring list;
  for (const FileFilterEntry& entry : filters) {
    list += Widen(entry.description);
    list += L'\0';
    list += Widen(entry.pattern);
    list += L'\0';
  }
  list += L'\0';
  return list;
}

DWORD DialogFlags(const FileDialogRequest& request) {
  DWORD flags = OFN_EXPLORER | OFN_ENABLESIZING;
  if (request.hideReadOnly) flags |= OFN_HIDEREADONLY;
  if (request.promptCreate) flags |= OFN_CREATEPROMPT;
  if (request.fileMustExist) flags |= OFN_FILEMUSTEXIST;
  if (request.promptOverwrite) flags |= OFN_OVERWRITEPROMPT;
  if (request.pathMustExist) flags |= OFN_PATHMUSTEXIST;
  if (request.keepCurrentDirectory) flags |= OFN_NOCHANGEDIR;
  if (request.multipleSelection) flags |= OFN_ALLOWMULTISELECT;
  return flags;
}

// The dialog is modal to its owner: the platform disables it while the dialog is open.
HWND OwnerWindow(int windowId) {
  const LoadedWindow* window = FindLoadedWindow(windowId);
  return window ? window->hwnd : nullptr;
}

const wchar_t* TextOrNull(const std::wstring& text) { return text.empty() ? nullptr : text.c_str(); }

}  // namespace

std::optional<std::string> ShowPlatformFileDialog(const FileDialogRequest& request) {
  const std::wstring filter = request.filters.empty() ? std::wstring{} : FilterList(request.filters);
  const std::wstring title = Widen(request.title);
  const std::wstring initialDirectory = Widen(request.initialDirectory);
  const std::wstring defaultExtension = Widen(request.defaultExtension);

  std::vector<wchar_t> file(kPathCapacity, L'\0');
  const std::wstring initialName = Widen(request.initialFileName);
  if (initialName.size() < kPathCapacity) initialName.copy(file.data(), initialName.size());

  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = OwnerWindow(request.ownerWindowId);
  dialog.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
  dialog.nFilterIndex = request.initialFilterIndex;
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = kPathCapacity;
  dialog.lpstrTitle = TextOrNull(title);
  dialog.lpstrInitialDir = TextOrNull(initialDirectory);
  dialog.lpstrDefExt = TextOrNull(defaultExtension);
  dialog.Flags = DialogFlags(request);

  const BOOL chosen = request.save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
  if (!chosen) return std::nullopt;
  return Narrow(file.data());
}

}  // namespace tessafold
