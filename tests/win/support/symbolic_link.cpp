#include "symbolic_link.h"

#include <windows.h>

#include <utility>
#include <vector>

#include "child_process.h"
#include "common/deadline.h"

namespace e2e {

namespace {

constexpr wchar_t kUnixBin[] = L"Z:\\bin\\";

std::wstring FolderOf(const std::wstring& path) { return path.substr(0, path.find_last_of(L'\\')); }
std::wstring NameOf(const std::wstring& path) { return path.substr(path.find_last_of(L'\\') + 1); }

// The final path of what opening `path` reaches; empty when it cannot be opened.
std::wstring FinalPath(const std::wstring& path) {
  constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
  const HANDLE handle = CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return {};
  std::vector<wchar_t> buffer(32768);
  const DWORD length = GetFinalPathNameByHandleW(handle, buffer.data(), static_cast<DWORD>(buffer.size()), 0);
  CloseHandle(handle);
  return length > 0 && length < buffer.size() ? std::wstring(buffer.data(), length) : std::wstring();
}

// True when the folder lists the name itself, whatever it leads to.
bool NameExists(const std::wstring& path) {
  WIN32_FIND_DATAW found{};
  const HANDLE search = FindFirstFileW(path.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  FindClose(search);
  return true;
}

// Starts a Unix program of /bin in `folder`. Wine hands back no process to
// wait for, so the caller waits for what the program does.
bool StartUnixProgram(const std::wstring& name, const std::wstring& arguments, const std::wstring& folder) {
  const std::wstring program = kUnixBin + name;
  std::wstring commandLine = Quoted(program) + L" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                      &startup, &info)) {
    return false;
  }
  if (info.hThread) CloseHandle(info.hThread);
  if (info.hProcess) CloseHandle(info.hProcess);
  return true;
}

}  // namespace

SymbolicLink::SymbolicLink(std::wstring link, const std::wstring& target, bool folder) : link_(std::move(link)) {
  const std::wstring targetPath = FolderOf(link_) + L"\\" + target;
  const auto made = [&] { return NameExists(link_) && LeadsTo(link_, targetPath); };
  const DWORD flags = SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE | (folder ? SYMBOLIC_LINK_FLAG_DIRECTORY : 0);
  const bool created = CreateSymbolicLinkW(link_.c_str(), target.c_str(), flags);
  if (made()) return;
  const DWORD error = created ? ERROR_SUCCESS : GetLastError();
  if (NameExists(link_)) {
    problem_ = L"CreateSymbolicLinkW made something that does not lead to " + target;
    return;
  }
  if (GetFileAttributesW((std::wstring(kUnixBin) + L"ln").c_str()) == INVALID_FILE_ATTRIBUTES) {
    problem_ = created ? L"CreateSymbolicLinkW reported success but made no link, and there is no Unix ln"
                       : L"CreateSymbolicLinkW failed with error " + std::to_wstring(error) +
                             L" (developer mode or the symbolic link privilege is needed)";
    return;
  }
  unix_ = true;
  if (!StartUnixProgram(L"ln", L"-s " + Quoted(target) + L" " + Quoted(NameOf(link_)), FolderOf(link_))) {
    problem_ = L"the Unix ln could not be started: error " + std::to_wstring(GetLastError());
  } else if (!tessafold::testing::WaitUntil(made)) {
    problem_ = L"the Unix ln made no link that leads to " + target;
  }
}

SymbolicLink::~SymbolicLink() {
  if (!NameExists(link_)) return;
  if (!unix_) {
    // The link itself: a folder link goes as a folder, a file link as a file.
    if (!RemoveDirectoryW(link_.c_str())) DeleteFileW(link_.c_str());
    return;
  }
  if (StartUnixProgram(L"rm", L"-f " + Quoted(NameOf(link_)), FolderOf(link_))) {
    tessafold::testing::WaitUntil([&] { return !NameExists(link_); });
  }
}

bool LeadsTo(const std::wstring& path, const std::wstring& other) {
  const std::wstring reached = FinalPath(path);
  return !reached.empty() &&
         CompareStringOrdinal(reached.c_str(), -1, FinalPath(other).c_str(), -1, TRUE) == CSTR_EQUAL;
}

}  // namespace e2e
