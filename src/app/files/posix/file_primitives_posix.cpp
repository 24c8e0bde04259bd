#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "app/files/file_primitives.h"
#include "app/files/file_primitives_detail.h"
#include "app/files/posix/file_calls_posix.h"

namespace tessafold {

namespace {

ReadOutcome WhyUnopened(const std::string& path) {
  struct stat info;
  if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return ReadOutcome::NoFile;
  return ReadOutcome::Unreadable;
}

}  // namespace

ByteBuffer ReadWholeFile(const std::string& path, ReadOutcome* outcome) {
  Report(outcome, ReadOutcome::NoFile);
  if (!IsUsablePath(path)) return {};
  // Non-blocking so that a named pipe at the path cannot hang the caller.
  Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (!file.Valid()) {
    Report(outcome, WhyUnopened(path));
    return {};
  }
  struct stat info;
  if (::fstat(file.Get(), &info) != 0) {
    Report(outcome, ReadOutcome::Unreadable);
    return {};
  }
  if (!S_ISREG(info.st_mode)) return {};
  return ReadSizedContent(info.st_size, ReadRequestOn(file.Get()), outcome);
}

bool DeleteFileAt(const std::string& path) {
  struct stat info;
  if (!IsUsablePath(path) || ::lstat(path.c_str(), &info) != 0 || S_ISDIR(info.st_mode)) return false;
  if (S_ISREG(info.st_mode) && IsReadOnly(path, info)) return false;
  return ::unlink(path.c_str()) == 0;
}

bool WriteWholeFile(const std::string& path, const ByteBuffer& buffer) {
  if (!IsUsablePath(path)) return false;
  struct stat info;
  if (::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && IsReadOnly(path, info)) return false;
  Descriptor file(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
  if (!file.Valid()) return false;
  const bool written = WriteAllInPieces(buffer, WriteRequestOn(file.Get()));
  const bool closed = file.Release();
  return written && closed;
}

std::string FileIdentity(const std::string& path) {
  struct stat info;
  if (!IsUsablePath(path) || ::stat(path.c_str(), &info) != 0) return {};
  return std::to_string(info.st_dev) + ":" + std::to_string(info.st_ino);
}

}  // namespace tessafold
