#include <windows.h>
#include <aclapi.h>

#include <atomic>
#include <cwchar>
#include <string_view>

#include "app/file_primitives.h"
#include "app/brief_retry.h"
#include "app/extended_path.h"
#include "app/file_primitives_detail.h"
#include "app/piece_pump.h"
#include "app/shutdown_hold.h"
#include "app/win/wide_text.h"

namespace tessafold {

namespace {

// Owns a file handle.
class FileHandle {
 public:
  explicit FileHandle(HANDLE handle = INVALID_HANDLE_VALUE) : handle_(handle) {}
  ~FileHandle() { Close(); }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;

  HANDLE Get() const { return handle_; }
  bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  void Reset(HANDLE handle) {
    Close();
    handle_ = handle;
  }
  // False when the close reports an error: written data may be lost.
  bool Close() {
    if (!Valid()) return true;
    const HANDLE handle = handle_;
    handle_ = INVALID_HANDLE_VALUE;
    return CloseHandle(handle) != 0;
  }

 private:
  HANDLE handle_;
};

auto ReadRequestOn(HANDLE file) {
  return [file](uint8_t* data, size_t count) -> int64_t {
    DWORD got = 0;
    if (!ReadFile(file, data, static_cast<DWORD>(count), &got, nullptr)) return -1;
    return got;
  };
}

auto WriteRequestOn(HANDLE file) {
  return [file](const uint8_t* data, size_t count) -> int64_t {
    DWORD put = 0;
    if (!WriteFile(file, data, static_cast<DWORD>(count), &put, nullptr)) return -1;
    return put;
  };
}

bool HasAttribute(DWORD attributes, DWORD wanted) {
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & wanted) != 0;
}

ReadOutcome WhyUnopened(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || HasAttribute(attributes, FILE_ATTRIBUTE_DIRECTORY)) {
    return ReadOutcome::NoFile;
  }
  return ReadOutcome::Unreadable;
}

// Some file systems (and Wine) let a read-only file be overwritten or
// replaced; the attribute is honoured here before anything is written.
bool IsReadOnly(const std::wstring& path) {
  return HasAttribute(GetFileAttributesW(path.c_str()), FILE_ATTRIBUTE_READONLY);
}

// The full path in the form that is not held to 260 characters; empty on
// failure. The replacement must not depend on the current directory.
std::wstring FullPath(const std::wstring& path) {
  const DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (size == 0) return {};
  std::wstring full(size, L'\0');
  const DWORD length = GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
  if (length == 0 || length >= size) return {};
  full.resize(length);
  return ExtendedLengthPath(full);
}

// The form of a caller's path that every file call here takes; empty for a
// path that is not usable.
std::wstring ApiPath(const std::string& path) { return IsUsablePath(path) ? FullPath(Widen(path)) : std::wstring(); }

// The folder of a full path, with its trailing separator.
std::wstring FolderOf(const std::wstring& path) { return path.substr(0, path.find_last_of(L"\\/") + 1); }

// Temporary files are named ".tessafold-<pid>-<n>.tmp".
constexpr wchar_t kTemporaryStem[] = L".tessafold-";

// The attributes a replaced file keeps.
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;

// A new, uniquely named file in the folder that is deleted again unless
// Keep() is called.
class TemporaryFile {
 public:
  TemporaryFile(const std::wstring& folder, DWORD attributes, SECURITY_ATTRIBUTES* security) {
    static std::atomic<unsigned> serial{0};
    const std::wstring stem = folder + kTemporaryStem + std::to_wstring(GetCurrentProcessId()) + L"-";
    for (int attempt = 0; attempt < 100 && !file_.Valid(); ++attempt) {
      path_ = stem + std::to_wstring(serial.fetch_add(1)) + L".tmp";
      file_.Reset(CreateFileW(path_.c_str(), GENERIC_WRITE | WRITE_OWNER, 0, security, CREATE_NEW,
                              (attributes ? attributes : FILE_ATTRIBUTE_NORMAL) | FILE_FLAG_SEQUENTIAL_SCAN,
                              nullptr));
      const DWORD error = GetLastError();
      if (!file_.Valid() && error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) break;
    }
    if (!file_.Valid()) path_.clear();
  }
  ~TemporaryFile() {
    file_.Close();
    if (!path_.empty()) DeleteFileW(path_.c_str());
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  bool Valid() const { return !path_.empty(); }
  FileHandle& File() { return file_; }
  const std::wstring& Path() const { return path_; }
  void Keep() { path_.clear(); }

 private:
  std::wstring path_;
  FileHandle file_;
};

// The process id in a temporary file's name ".tessafold-<pid>-<n>.tmp", or 0
// for any other name.
DWORD TemporaryFileOwner(std::wstring_view name) {
  constexpr std::wstring_view stem = kTemporaryStem, suffix = L".tmp";
  if (!name.starts_with(stem) || !name.ends_with(suffix)) return 0;
  name = name.substr(stem.size(), name.size() - stem.size() - suffix.size());
  const size_t dash = name.find(L'-');
  const auto allDigits = [](std::wstring_view digits) {
    return !digits.empty() && digits.size() <= 10 && digits.find_first_not_of(L"0123456789") == std::wstring_view::npos;
  };
  if (dash == std::wstring_view::npos || !allDigits(name.substr(0, dash)) || !allDigits(name.substr(dash + 1))) return 0;
  return static_cast<DWORD>(std::wcstoul(std::wstring(name.substr(0, dash)).c_str(), nullptr, 10));
}

bool ProcessRuns(DWORD processId) {
  const HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
  if (!process) return GetLastError() == ERROR_ACCESS_DENIED;  // someone else's, and alive
  const bool runs = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
  CloseHandle(process);
  return runs;
}

// A process killed before its rename leaves its temporary file beside the
// (whole) original. Such files of processes that no longer run are removed;
// one that is still being written is held open without sharing and stays.
void RemoveOrphanedTemporaryFiles(const std::wstring& folder) {
  WIN32_FIND_DATAW found{};
  const HANDLE search = FindFirstFileW((folder + kTemporaryStem + L"*.tmp").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const DWORD owner = TemporaryFileOwner(found.cFileName);
    if (owner != 0 && owner != GetCurrentProcessId() && !ProcessRuns(owner)) {
      DeleteFileW((folder + found.cFileName).c_str());
    }
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

// The original's access rights, for its replacement: the new file must never
// be readable by anyone the original kept out.
class AccessRights {
 public:
  explicit AccessRights(HANDLE original) {
    readable_ = GetSecurityInfo(original, SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, nullptr,
                                nullptr, &dacl_) == ERROR_SUCCESS;
    GetSecurityInfo(original, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION, &owner_,
                    &group_, nullptr, nullptr, &ownership_);
  }
  ~AccessRights() {
    LocalFree(dacl_);
    LocalFree(ownership_);
  }
  AccessRights(const AccessRights&) = delete;
  AccessRights& operator=(const AccessRights&) = delete;

  bool Readable() const { return readable_; }
  // The DACL with its protection and inheritance flags, for CreateFileW.
  SECURITY_ATTRIBUTES* ForNewFile() {
    attributes_ = SECURITY_ATTRIBUTES{sizeof attributes_, dacl_, FALSE};
    return &attributes_;
  }
  // Only a privileged process may give a file away, so a refusal here just
  // leaves the caller as the owner.
  void GiveOwnershipTo(HANDLE file) const {
    if (ownership_) {
      SetSecurityInfo(file, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION, owner_, group_,
                      nullptr, nullptr);
    }
  }

 private:
  bool readable_ = false;
  PSECURITY_DESCRIPTOR dacl_ = nullptr;
  PSECURITY_DESCRIPTOR ownership_ = nullptr;
  PSID owner_ = nullptr;
  PSID group_ = nullptr;
  SECURITY_ATTRIBUTES attributes_{};
};

// What a rewrite needs to know of the original, taken from its open handle.
struct OriginalFile {
  FileHandle handle;
  BY_HANDLE_FILE_INFORMATION info{};

  int64_t Size() const { return (static_cast<int64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow; }
};

// Opens the original so that nobody can write to it or remove it while it is
// read; false for anything that is not one plain, writable file.
bool OpenOriginal(const std::wstring& path, OriginalFile& original) {
  original.handle.Reset(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!original.handle.Valid() || GetFileType(original.handle.Get()) != FILE_TYPE_DISK) return false;
  if (!GetFileInformationByHandle(original.handle.Get(), &original.info)) return false;
  // Another name of the file would keep the old content after the rename.
  return original.info.nNumberOfLinks == 1 &&
         !HasAttribute(original.info.dwFileAttributes, FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY);
}

Attempt RenameOnce(const std::wstring& from, const std::wstring& to) {
  if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return Attempt::Done;
  const DWORD error = GetLastError();
  return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED ? Attempt::TryAgain : Attempt::Failed;
}

}  // namespace

ByteBuffer ReadWholeFile(const std::string& path, ReadOutcome* outcome) {
  Report(outcome, ReadOutcome::NoFile);
  const std::wstring wide = ApiPath(path);
  if (wide.empty()) return {};
  FileHandle file(CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) {
    Report(outcome, WhyUnopened(wide));
    return {};
  }
  if (GetFileType(file.Get()) != FILE_TYPE_DISK) return {};
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file.Get(), &size)) {
    Report(outcome, ReadOutcome::Unreadable);
    return {};
  }
  return ReadSizedContent(size.QuadPart, ReadRequestOn(file.Get()), outcome);
}

bool DeleteFileAt(const std::string& path) {
  const std::wstring wide = ApiPath(path);
  return !wide.empty() && DeleteFileW(wide.c_str()) != 0;
}

bool WriteWholeFile(const std::string& path, const ByteBuffer& buffer) {
  const std::wstring wide = ApiPath(path);
  if (wide.empty() || IsReadOnly(wide)) return false;
  FileHandle file(CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) return false;
  const bool written = WriteAllInPieces(buffer, WriteRequestOn(file.Get()));
  const bool closed = file.Close();
  return written && closed;
}

bool RewriteFile(const std::string& path, const PieceChange& change) {
  const std::wstring target = ApiPath(path);
  if (target.empty()) return false;
  // Taken before the hold: a failed allocation is fatal, and the clean-up
  // would wait for this hold for ever.
  ByteBuffer buffer = ByteBuffer::Allocate(static_cast<int32_t>(2 * kRewritePieceBytes));
  const ShutdownHold hold;
  if (!hold.Held()) return false;

  OriginalFile original;
  if (!OpenOriginal(target, original)) return false;
  AccessRights rights(original.handle.Get());
  if (!rights.Readable()) return false;

  const std::wstring folder = FolderOf(target);
  RemoveOrphanedTemporaryFiles(folder);
  TemporaryFile temp(folder, original.info.dwFileAttributes & kKeptAttributes, rights.ForNewFile());
  if (!temp.Valid()) return false;
  rights.GiveOwnershipTo(temp.File().Get());
  const HANDLE out = temp.File().Get();
  const PieceStreams streams{Whole(ReadRequestOn(original.handle.Get())), Whole(WriteRequestOn(out), kWriteRequestBytes),
                             [out] { return FlushFileBuffers(out) != 0; }};
  if (!PumpPieces(original.Size(), {buffer.Data(), 2 * kRewritePieceBytes}, streams, change)) return false;
  if (!SetFileTime(out, &original.info.ftCreationTime, nullptr, nullptr)) return false;
  if (!FlushFileBuffers(out) || !temp.File().Close()) return false;
  original.handle.Close();
  if (!RetryBriefly([&] { return RenameOnce(temp.Path(), target); })) return false;
  temp.Keep();
  return true;
}

}  // namespace tessafold
