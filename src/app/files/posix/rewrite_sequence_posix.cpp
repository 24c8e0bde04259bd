#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <memory>

#include "app/files/file_primitives.h"
#include "app/files/file_primitives_detail.h"
#include "app/files/posix/file_calls_posix.h"
#include "app/files/rewrite_sequence.h"

namespace tessafold {

namespace {

// The path with every link and relative part resolved; empty on failure.
std::string ResolvedPath(const std::string& path) {
  const std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path.c_str(), nullptr), &std::free);
  return resolved ? std::string(resolved.get()) : std::string();
}

bool SameTime(const timespec& a, const timespec& b) { return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec; }

// Replacing a file needs write and search rights on its folder and, in a
// folder with the sticky bit, that the file or the folder is the caller's.
bool MayReplaceIn(const std::string& folder, const struct stat& file) {
  struct stat info;
  if (::stat(folder.c_str(), &info) != 0 || ::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) != 0) {
    return false;
  }
  const uid_t caller = ::geteuid();
  return !(info.st_mode & S_ISVTX) || caller == 0 || caller == file.st_uid || caller == info.st_uid;
}

class PosixRewriteSteps final : public RewriteSteps {
 public:
  std::string IdentityOf(const std::string& path) override { return FileIdentity(path); }

  bool OpenOriginal(const std::string& path, OriginalFile& original) override {
    // Non-blocking so that a named pipe at the path cannot hang the job.
    original_.Reset(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!original_.Valid() || ::fstat(original_.Get(), &info_) != 0) return false;
    // The replacement goes beside the real file, so that a link stays a link;
    // the resolved path must still name the file that was opened.
    const std::string real = ResolvedPath(path);
    struct stat there;
    if (real.empty() || ::stat(real.c_str(), &there) != 0 || there.st_dev != info_.st_dev ||
        there.st_ino != info_.st_ino) {
      return false;
    }
    const size_t slash = real.find_last_of('/');
    original.folder = real.substr(0, slash + 1);
    original.name = real.substr(slash + 1);
    original.identity = std::to_string(info_.st_dev) + ":" + std::to_string(info_.st_ino);
    original.size = info_.st_size;
    original.links = static_cast<int>(info_.st_nlink);
    original.plainFile = S_ISREG(info_.st_mode);
    original.readOnly = IsReadOnly(real, info_) || !MayReplaceIn(original.folder, info_);
    return true;
  }

  // Nothing keeps others from writing to the file here; a write meanwhile
  // shows in its change time, and the rewrite then gives up.
  bool OriginalUnchanged() override {
    struct stat now;
    return ::fstat(original_.Get(), &now) == 0 && now.st_size == info_.st_size &&
           SameTime(now.st_mtim, info_.st_mtim) && SameTime(now.st_ctim, info_.st_ctim);
  }
  void CloseOriginal() override { original_.Reset(); }
  bool OriginalStillAtPath(const std::string& path) override {
    struct stat now;
    return ::stat(path.c_str(), &now) == 0 && now.st_dev == info_.st_dev && now.st_ino == info_.st_ino &&
           now.st_size == info_.st_size && SameTime(now.st_mtim, info_.st_mtim);
  }

  Creation CreateReplacement(const std::string& path) override {
    // Readable by nobody else until it has the original's permissions.
    replacement_.Reset(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
    if (!replacement_.Valid()) return errno == EEXIST ? Creation::NameTaken : Creation::Failed;
    // The pushes to the disk while the content is written go through a
    // descriptor of their own, as on Windows, where a flush would otherwise
    // hold up the writes. Opened through the descriptor, so that a rename
    // meanwhile cannot give another file, and while the file is still ours
    // and writable; without /proc the final flush does all the work.
    pusher_.Reset(::open(("/proc/self/fd/" + std::to_string(replacement_.Get())).c_str(), O_WRONLY | O_CLOEXEC));
    // Only root may give a file away, while any member of a group may give
    // it that group: each is tried on its own, and a refusal leaves the
    // caller's own. The mode comes last, as a change of owner clears set-id bits.
    [[maybe_unused]] const int owner = ::fchown(replacement_.Get(), info_.st_uid, static_cast<gid_t>(-1));
    [[maybe_unused]] const int group = ::fchown(replacement_.Get(), static_cast<uid_t>(-1), info_.st_gid);
    if (::fchmod(replacement_.Get(), info_.st_mode & 07777) != 0) {
      RemoveReplacement(path);
      return Creation::Failed;
    }
    return Creation::Created;
  }

  PieceStreams Streams() override {
    const int in = original_.Get(), out = replacement_.Get(), pusher = pusher_.Get();
    return {Whole(ReadRequestOn(in)), Whole(WriteRequestOn(out), kWriteRequestBytes),
            [pusher] { return pusher < 0 || ::fdatasync(pusher) == 0; }, [] { return static_cast<uint32_t>(errno); }};
  }

  bool TakeOverTheRest() override { return true; }
  bool FlushReplacement() override { return ::fsync(replacement_.Get()) == 0; }
  bool CloseReplacement() override {
    pusher_.Reset();
    return replacement_.Release();
  }
  void RemoveReplacement(const std::string& path) override {
    pusher_.Reset();
    replacement_.Reset();
    ::unlink(path.c_str());
  }
  Attempt Replace(const std::string& replacement, const std::string& original) override {
    return ::rename(replacement.c_str(), original.c_str()) == 0 ? Attempt::Done : Attempt::Failed;
  }
  // A failure here cannot be undone and the content is in place already, so
  // it is not reported.
  void SyncFolder(const std::string& folder) override {
    Descriptor handle(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (handle.Valid()) ::fsync(handle.Get());
  }

  std::vector<std::string> TemporaryNamesIn(const std::string& folder) override {
    std::vector<std::string> names;
    const std::unique_ptr<DIR, decltype(&::closedir)> listing(::opendir(folder.c_str()), &::closedir);
    if (!listing) return names;
    while (const dirent* entry = ::readdir(listing.get())) {
      const std::string name = entry->d_name;
      if (name.starts_with(".tessafold-")) names.push_back(name);
    }
    return names;
  }
  bool ProcessRuns(uint32_t processId) override {
    return processId <= INT_MAX && (::kill(static_cast<pid_t>(processId), 0) == 0 || errno == EPERM);
  }
  void RemoveFile(const std::string& path) override { ::unlink(path.c_str()); }
  uint32_t LastError() override { return static_cast<uint32_t>(errno); }
  uint32_t ProcessId() override { return static_cast<uint32_t>(::getpid()); }
  std::string HostName() override {
    char name[256] = {};
    return ::gethostname(name, sizeof name - 1) == 0 ? std::string(name) : std::string();
  }

 private:
  Descriptor original_;
  struct stat info_ {};
  Descriptor replacement_;
  Descriptor pusher_;  // the replacement again, for the flushes during the writing
};

}  // namespace

std::unique_ptr<RewriteSteps> PlatformRewriteSteps() { return std::make_unique<PosixRewriteSteps>(); }

}  // namespace tessafold
