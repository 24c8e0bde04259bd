#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <memory>

#include "app/file_primitives.h"
#include "app/file_primitives_detail.h"
#include "app/piece_pump.h"
#include "app/shutdown_hold.h"

namespace tessafold {

namespace {

// Owns an open file descriptor.
class Descriptor {
 public:
  explicit Descriptor(int fd = -1) : fd_(fd) {}
  ~Descriptor() { Close(); }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;

  int Get() const { return fd_; }
  bool Valid() const { return fd_ >= 0; }
  // False when the close reports an error: written data may be lost.
  bool Close() {
    if (fd_ < 0) return true;
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

auto ReadRequestOn(int fd) {
  return [fd](uint8_t* data, size_t count) -> int64_t {
    ssize_t got;
    do got = ::read(fd, data, count); while (got < 0 && errno == EINTR);
    return got;
  };
}

auto WriteRequestOn(int fd) {
  return [fd](const uint8_t* data, size_t count) -> int64_t {
    ssize_t put;
    do put = ::write(fd, data, count); while (put < 0 && errno == EINTR);
    return put;
  };
}

// A file without any write permission bit counts as read-only even for a
// caller (root) whom the system would let write, as the read-only attribute
// does on Windows.
bool IsReadOnly(const std::string& path, const struct stat& info) {
  return (info.st_mode & 0222) == 0 || ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0;
}

ReadOutcome WhyUnopened(const std::string& path) {
  struct stat info;
  if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return ReadOutcome::NoFile;
  return ReadOutcome::Unreadable;
}

// The path with every link and relative part resolved, so the replacement
// lands beside the real file and a link stays a link; empty on failure.
std::string ResolvedPath(const std::string& path) {
  const std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path.c_str(), nullptr), &std::free);
  return resolved ? std::string(resolved.get()) : std::string();
}

std::string FolderOf(const std::string& path) { return path.substr(0, path.find_last_of('/') + 1); }

// A new file beside the target that is removed again unless Keep() is called.
class TemporaryFile {
 public:
  explicit TemporaryFile(const std::string& folder)
      : path_(folder + ".tessafold-XXXXXX"), file_(::mkostemp(path_.data(), O_CLOEXEC)) {
    if (!file_.Valid()) path_.clear();
  }
  ~TemporaryFile() {
    file_.Close();
    if (!path_.empty()) ::unlink(path_.c_str());
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  bool Valid() const { return !path_.empty(); }
  Descriptor& File() { return file_; }
  const std::string& Path() const { return path_; }
  void Keep() { path_.clear(); }

 private:
  std::string path_;
  Descriptor file_;
};

// Makes the rename itself durable; a failure here cannot be undone and the
// content is already in place, so it is not reported.
void SyncFolder(const std::string& folder) {
  Descriptor handle(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (handle.Valid()) ::fsync(handle.Get());
}

// The temporary file takes over the original's permission bits and, where
// the caller may, its owner.
bool TakeOverAccess(int fd, const struct stat& original) {
  // A caller who may not give files away stays their owner.
  [[maybe_unused]] const int owned = ::fchown(fd, original.st_uid, original.st_gid);
  return ::fchmod(fd, original.st_mode & 07777) == 0;
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
  const bool closed = file.Close();
  return written && closed;
}

bool RewriteFile(const std::string& path, const PieceChange& change) {
  if (!IsUsablePath(path)) return false;
  const std::string target = ResolvedPath(path);
  if (target.empty()) return false;
  // Taken before the hold: a failed allocation is fatal, and the clean-up
  // would wait for this hold for ever.
  ByteBuffer buffer = ByteBuffer::Allocate(static_cast<int32_t>(2 * kRewritePieceBytes));
  const ShutdownHold hold;
  if (!hold.Held()) return false;

  Descriptor original(::open(target.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  struct stat info;
  if (!original.Valid() || ::fstat(original.Get(), &info) != 0) return false;
  // Another name of the file would keep the old content after the rename.
  if (!S_ISREG(info.st_mode) || info.st_nlink != 1 || IsReadOnly(target, info)) return false;

  const std::string folder = FolderOf(target);
  TemporaryFile temp(folder);
  if (!temp.Valid() || !TakeOverAccess(temp.File().Get(), info)) return false;
  const int out = temp.File().Get();
  const PieceStreams streams{Whole(ReadRequestOn(original.Get())), Whole(WriteRequestOn(out), kWriteRequestBytes),
                             [out] { return ::fdatasync(out) == 0; }};
  if (!PumpPieces(info.st_size, {buffer.Data(), 2 * kRewritePieceBytes}, streams, change)) return false;
  if (::fsync(out) != 0 || !temp.File().Close()) return false;
  if (::rename(temp.Path().c_str(), target.c_str()) != 0) return false;
  temp.Keep();
  SyncFolder(folder);
  return true;
}

}  // namespace tessafold
