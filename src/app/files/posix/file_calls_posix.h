#pragma once
// What every POSIX file call of the program shares.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <string>

namespace tessafold {

// Owns an open file descriptor.
class Descriptor {
 public:
  explicit Descriptor(int fd = -1) : fd_(fd) {}
  ~Descriptor() { Release(); }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;

  int Get() const { return fd_; }
  void Reset(int fd = -1) {
    Release();
    fd_ = fd;
  }
  bool Valid() const { return fd_ >= 0; }
  // False when the close reports an error: written data may be lost.
  bool Release() {
    if (fd_ < 0) return true;
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

inline auto ReadRequestOn(int fd) {
  return [fd](uint8_t* data, size_t count) -> int64_t {
    ssize_t got;
    do got = ::read(fd, data, count); while (got < 0 && errno == EINTR);
    return got;
  };
}

inline auto WriteRequestOn(int fd) {
  return [fd](const uint8_t* data, size_t count) -> int64_t {
    ssize_t put;
    do put = ::write(fd, data, count); while (put < 0 && errno == EINTR);
    return put;
  };
}

// A file without any write permission bit counts as read-only even for a
// caller (root) whom the system would let write, as the read-only attribute
// does on Windows.
inline bool IsReadOnly(const std::string& path, const struct stat& info) {
  return (info.st_mode & 0222) == 0 || ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0;
}

}  // namespace tessafold
