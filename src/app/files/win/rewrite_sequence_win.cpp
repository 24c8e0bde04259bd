#include <windows.h>
#include <winioctl.h>
#include <winternl.h>

#include <vector>

#include "app/files/file_attributes.h"
#include "app/files/file_primitives.h"
#include "app/files/file_primitives_detail.h"
#include "app/files/rewrite_sequence.h"
#include "app/files/win/access_rights.h"
#include "app/files/win/file_calls.h"
#include "app/win/handle_owners.h"
#include "app/text/win/wide_text.h"

namespace tessafold {

namespace {

// The object's own name where it is a drive or share path ("\??\C:\..."),
// in the form that is not held to 260 characters; empty otherwise.
std::wstring ObjectPath(HANDLE file) {
  std::vector<uint8_t> buffer(sizeof(UNICODE_STRING) + 65536);
  ULONG length = 0;
  if (!NT_SUCCESS(NtQueryObject(file, static_cast<OBJECT_INFORMATION_CLASS>(1 /* ObjectNameInformation */),
                                buffer.data(), static_cast<ULONG>(buffer.size()), &length))) {
    return {};
  }
  const auto* name = reinterpret_cast<const UNICODE_STRING*>(buffer.data());
  const std::wstring_view path(name->Buffer, name->Length / sizeof(wchar_t));
  const bool drive = path.size() > 6 && path[5] == L':' && path[6] == L'\\';
  if (!path.starts_with(L"\\??\\") || !(drive || path.starts_with(L"\\??\\UNC\\"))) return {};
  return L"\\\\?\\" + std::wstring(path.substr(4));
}

// The path of the file behind an open handle, with every link resolved;
// empty when it cannot be told.
std::wstring FinalPath(HANDLE file) {
  std::vector<wchar_t> path(MAX_PATH);
  for (;;) {
    const DWORD length = GetFinalPathNameByHandleW(file, path.data(), static_cast<DWORD>(path.size()),
                                                   FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    // Wine 8 gives up past 260 characters; the object's name is the same path.
    if (length == 0) return GetLastError() == ERROR_MORE_DATA ? ObjectPath(file) : std::wstring();
    if (length < path.size()) return std::wstring(path.data(), length);
    path.resize(length + 1);
  }
}

bool SameWriteState(const BY_HANDLE_FILE_INFORMATION& a, const BY_HANDLE_FILE_INFORMATION& b) {
  return a.nFileSizeHigh == b.nFileSizeHigh && a.nFileSizeLow == b.nFileSizeLow &&
         CompareFileTime(&a.ftLastWriteTime, &b.ftLastWriteTime) == 0;
}

// A step failed with `error`: kept as this thread's last error, where the
// sequence asks for it, whatever the clean-up calls after it leave there.
bool Failed(DWORD error) {
  SetLastError(error);
  return false;
}

// The reparse tag of an open file that is a reparse point, 0 for one that is not.
bool ReparseTagOf(HANDLE file, DWORD attributes, DWORD& tag) {
  tag = 0;
  if (!HasAttribute(attributes, FILE_ATTRIBUTE_REPARSE_POINT)) return true;
  FILE_ATTRIBUTE_TAG_INFO info{};
  if (!GetFileInformationByHandleEx(file, FileAttributeTagInfo, &info, sizeof info)) return false;
  tag = info.ReparseTag;
  return true;
}

// Compression is set on the open replacement, before any content is in it.
bool SetCompression(HANDLE file, bool compressed) {
  USHORT state = compressed ? COMPRESSION_FORMAT_DEFAULT : COMPRESSION_FORMAT_NONE;
  DWORD returned = 0;
  return DeviceIoControl(file, FSCTL_SET_COMPRESSION, &state, sizeof state, nullptr, 0, &returned, nullptr) != 0;
}

// File systems that keep no named streams say so in one of these ways.
bool NoStreamsKept(DWORD error) {
  return error == ERROR_HANDLE_EOF || error == ERROR_INVALID_PARAMETER || error == ERROR_NOT_SUPPORTED ||
         error == ERROR_INVALID_FUNCTION || error == ERROR_CALL_NOT_IMPLEMENTED;
}

// The system's error when the copy failed, else ERROR_SUCCESS: the handles'
// closing comes after the failing call.
DWORD CopyStream(const std::wstring& from, const std::wstring& to) {
  const FileHandle source(CreateFileW(from.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!source.Valid()) return GetLastError();
  FileHandle target(CreateFileW(to.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  if (!target.Valid()) return GetLastError();
  std::vector<uint8_t> piece(64 << 10);
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(source.Get(), piece.data(), static_cast<DWORD>(piece.size()), &got, nullptr)) return GetLastError();
    if (got == 0) break;
    DWORD put = 0;
    if (!WriteFile(target.Get(), piece.data(), got, &put, nullptr)) return GetLastError();
    if (put != got) return ERROR_WRITE_FAULT;
  }
  if (!FlushFileBuffers(target.Get()) || !target.Release()) return GetLastError();
  return ERROR_SUCCESS;
}

// Named streams, such as the mark Windows puts on a downloaded file, go with
// the content: without it a downloaded program would run without warning.
bool CopyNamedStreams(const std::wstring& from, const std::wstring& to) {
  WIN32_FIND_STREAM_DATA stream;
  const FindHandle search(FindFirstStreamW(from.c_str(), FindStreamInfoStandard, &stream, 0));
  if (!search.Valid()) return NoStreamsKept(GetLastError());
  do {
    const std::wstring name = stream.cStreamName;  // ":name:$DATA", "::$DATA" for the content
    if (name == L"::$DATA") continue;
    if (const DWORD error = CopyStream(from + name, to + name); error != ERROR_SUCCESS) return Failed(error);
  } while (FindNextStreamW(search.Get(), &stream));
  const DWORD error = GetLastError();
  return error == ERROR_HANDLE_EOF || Failed(error);
}

Attempt RenameOnce(const std::wstring& from, const std::wstring& to) {
  if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return Attempt::Done;
  const DWORD error = GetLastError();
  return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED ? Attempt::TryAgain : Attempt::Failed;
}

class WindowsRewriteSteps final : public RewriteSteps {
 public:
  std::string IdentityOf(const std::string& path) override { return FileIdentity(path); }

  bool OpenOriginal(const std::string& path, OriginalFile& original) override {
    const std::wstring wide = ApiPath(path);
    if (wide.empty()) return Failed(ERROR_INVALID_NAME);
    // Looked at before the original is held, which would refuse this open.
    const bool writable = MayWriteTo(wide);
    // The right to delete is what replacing needs: a folder that forbids it
    // fails here, before anything is written. A scanner that holds the file
    // for a moment is waited for.
    const bool opened = RetryBriefly([&] {
      original_.Reset(CreateFileW(wide.c_str(), GENERIC_READ | DELETE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
      if (original_.Valid()) return Attempt::Done;
      return GetLastError() == ERROR_SHARING_VIOLATION ? Attempt::TryAgain : Attempt::Failed;
    });
    if (!opened) return false;
    if (GetFileType(original_.Get()) != FILE_TYPE_DISK) return Failed(ERROR_BAD_FILE_TYPE);
    DWORD tag = 0;
    if (!GetFileInformationByHandle(original_.Get(), &info_) ||
        !ReparseTagOf(original_.Get(), info_.dwFileAttributes, tag)) {
      return false;
    }
    if (const DWORD error = rights_.TakeFrom(original_.Get()); error != ERROR_SUCCESS) return Failed(error);

    // The replacement must take the place of the file itself, not of a
    // symbolic link or another name that led to it.
    realPath_ = FinalPath(original_.Get());
    const size_t slash = realPath_.find_last_of(L'\\');
    if (slash == std::wstring::npos || slash + 1 == realPath_.size()) return Failed(ERROR_PATH_NOT_FOUND);
    original.folder = Narrow(realPath_.substr(0, slash + 1));
    original.name = Narrow(realPath_.substr(slash + 1));
    original.identity = IdentityText(info_);
    if (FileIdentity(Narrow(realPath_)) != original.identity) return Failed(ERROR_PATH_NOT_FOUND);
    original.size = (static_cast<int64_t>(info_.nFileSizeHigh) << 32) | info_.nFileSizeLow;
    original.links = static_cast<int>(info_.nNumberOfLinks);
    original.plainFile = IsOrdinaryFile(info_.dwFileAttributes, tag);
    original.readOnly = HasAttribute(info_.dwFileAttributes, FILE_ATTRIBUTE_READONLY) || !writable;
    return true;
  }

  bool OriginalUnchanged() override {
    BY_HANDLE_FILE_INFORMATION now;
    return GetFileInformationByHandle(original_.Get(), &now) && SameWriteState(info_, now);
  }
  void CloseOriginal() override { original_.Reset(); }
  bool OriginalStillAtPath(const std::string& path) override {
    WIN32_FILE_ATTRIBUTE_DATA now;
    if (!GetFileAttributesExW(Widen(path).c_str(), GetFileExInfoStandard, &now)) return false;
    return now.nFileSizeHigh == info_.nFileSizeHigh && now.nFileSizeLow == info_.nFileSizeLow &&
           CompareFileTime(&now.ftLastWriteTime, &info_.ftLastWriteTime) == 0 &&
           FileIdentity(path) == IdentityText(info_);
  }

  Creation CreateReplacement(const std::string& path) override {
    replacementPath_ = Widen(path);
    // The pushes to the disk while the content is written go through a
    // second handle: the system serialises the I/O of a handle opened for
    // synchronous access, so a flush on the handle being written would hold
    // up its writes. Each handle must share writing for the other to open;
    // that lets in another writer that itself shares writing, never a
    // reader or a deleter. It is opened right away. Setting the compression
    // needs the right to read.
    replacement_.Reset(CreateFileW(replacementPath_.c_str(),
                                   GENERIC_WRITE | FILE_READ_DATA | FILE_READ_ATTRIBUTES | WRITE_OWNER,
                                   FILE_SHARE_WRITE, rights_.ForNewFile(), CREATE_NEW,
                                   AttributesToCreate(info_.dwFileAttributes) | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!replacement_.Valid()) {
      const DWORD error = GetLastError();
      return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS ? Creation::NameTaken : Creation::Failed;
    }
    if (const DWORD error = MatchAttributes(); error != ERROR_SUCCESS) {
      RemoveReplacement(path);
      Failed(error);
      return Creation::Failed;
    }
    // Refused when the original's DACL denies this user writing: then the
    // final flush does all the work. It shares the first handle's reading;
    // that one still keeps every other reader out.
    pusher_.Reset(CreateFileW(replacementPath_.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr));
    rights_.GiveOwnershipTo(replacement_.Get());
    return Creation::Created;
  }

  PieceStreams Streams() override {
    const HANDLE in = original_.Get(), out = replacement_.Get(), pusher = pusher_.Get();
    return {Whole(ReadRequestOn(in)), Whole(WriteRequestOn(out), kWriteRequestBytes),
            [pusher] { return pusher == INVALID_HANDLE_VALUE || FlushFileBuffers(pusher) != 0; },
            [] { return static_cast<uint32_t>(GetLastError()); }};
  }

  bool TakeOverTheRest() override {
    return SetFileTime(replacement_.Get(), &info_.ftCreationTime, nullptr, nullptr) &&
           CopyNamedStreams(realPath_, replacementPath_);
  }
  // The writing is over: nothing is left for this flush to hold up.
  bool FlushReplacement() override { return FlushFileBuffers(replacement_.Get()) != 0; }
  bool CloseReplacement() override {
    pusher_.Reset();
    return replacement_.Release();
  }
  void RemoveReplacement(const std::string& path) override {
    pusher_.Reset();
    replacement_.Reset();
    DeleteFileW(Widen(path).c_str());
  }
  Attempt Replace(const std::string& replacement, const std::string& original) override {
    return RenameOnce(Widen(replacement), Widen(original));
  }
  // MOVEFILE_WRITE_THROUGH has made the rename durable already.
  void SyncFolder(const std::string&) override {}

  std::vector<std::string> TemporaryNamesIn(const std::string& folder) override {
    std::vector<std::string> names;
    WIN32_FIND_DATAW found{};
    const FindHandle search(FindFirstFileW((Widen(folder) + L".tessafold-*.tmp").c_str(), &found));
    if (!search.Valid()) return names;
    do names.push_back(Narrow(found.cFileName));
    while (FindNextFileW(search.Get(), &found));
    return names;
  }
  bool ProcessRuns(uint32_t processId) override {
    const KernelHandle process(OpenProcess(SYNCHRONIZE, FALSE, processId));
    if (!process.Valid()) return GetLastError() == ERROR_ACCESS_DENIED;  // someone else's, and alive
    return WaitForSingleObject(process.Get(), 0) == WAIT_TIMEOUT;
  }
  void RemoveFile(const std::string& path) override { DeleteFileW(Widen(path).c_str()); }
  uint32_t LastError() override { return GetLastError(); }
  uint32_t ProcessId() override { return GetCurrentProcessId(); }
  std::string HostName() override {
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1];
    DWORD length = MAX_COMPUTERNAME_LENGTH + 1;
    return GetComputerNameW(name, &length) ? Narrow(std::wstring_view(name, length)) : std::string();
  }

 private:
  // Encryption is asked for at creation and may not be had (no key, a file
  // system without it): the content must then never reach the disk.
  // Compression can only be set once the file exists.
  DWORD MatchAttributes() {
    BY_HANDLE_FILE_INFORMATION created;
    if (!GetFileInformationByHandle(replacement_.Get(), &created)) return GetLastError();
    switch (FixFor(info_.dwFileAttributes, created.dwFileAttributes)) {
      case ReplacementFix::None: return ERROR_SUCCESS;
      case ReplacementFix::Refuse: return ERROR_ENCRYPTION_FAILED;
      case ReplacementFix::Compress: return SetCompression(replacement_.Get(), true) ? ERROR_SUCCESS : GetLastError();
      case ReplacementFix::Decompress: return SetCompression(replacement_.Get(), false) ? ERROR_SUCCESS : GetLastError();
    }
    return ERROR_SUCCESS;
  }

  FileHandle original_;
  BY_HANDLE_FILE_INFORMATION info_{};
  AccessRights rights_;
  std::wstring realPath_;
  FileHandle replacement_;
  FileHandle pusher_;  // the replacement again, for the flushes during the writing
  std::wstring replacementPath_;
};

}  // namespace

std::unique_ptr<RewriteSteps> PlatformRewriteSteps() { return std::make_unique<WindowsRewriteSteps>(); }

}  // namespace tessafold
