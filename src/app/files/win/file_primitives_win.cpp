#include <windows.h>

#include "app/files/file_primitives.h"
#include "app/files/file_primitives_detail.h"
#include "app/files/win/file_calls.h"
#include "app/win/handle_owners.h"

namespace tessafold {

namespace {

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
  const bool closed = file.Release();
  return written && closed;
}

std::string FileIdentity(const std::string& path) {
  const std::wstring wide = ApiPath(path);
  if (wide.empty()) return {};
  // Reading attributes is shared with every other opener, whatever they allow.
  const FileHandle file(CreateFileW(wide.c_str(), FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
  BY_HANDLE_FILE_INFORMATION info;
  if (!file.Valid() || !GetFileInformationByHandle(file.Get(), &info)) return {};
  return IdentityText(info);
}

}  // namespace tessafold
