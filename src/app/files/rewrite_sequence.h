#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/files/brief_retry.h"
#include "app/files/piece_pump.h"

namespace tessafold {

// What a rewrite knows of the original once it is open.
struct OriginalFile {
  // Where the file really is, with every link resolved: the replacement goes
  // there. The folder is full and ends in its separator.
  std::string folder;
  std::string name;
  std::string identity;  // the same for every path to this file (FileIdentity)
  int64_t size = 0;
  int links = 0;  // names the file has; another name would keep the old content
  bool plainFile = false;
  bool readOnly = false;  // or this user may not replace it
};

enum class Creation { Created, NameTaken, Failed };

// The small steps of a rewrite that differ between platforms. RunRewrite puts
// them in order; one object serves one rewrite and owns the handles it opens.
class RewriteSteps {
 public:
  virtual ~RewriteSteps() = default;

  // The file's identity (volume and file index, device and inode), read
  // without opening it for its content; empty when there is no such file.
  virtual std::string IdentityOf(const std::string& path) = 0;

  // Opens the file that `path` names, through any links, for reading, with
  // the right to replace it, so that nobody may write to it meanwhile. False
  // when it cannot be opened, or its real path cannot be told for certain.
  virtual bool OpenOriginal(const std::string& path, OriginalFile& original) = 0;
  // False when the open original was changed since it was opened.
  virtual bool OriginalUnchanged() = 0;
  virtual void CloseOriginal() = 0;
  // False when the file at `path`, looked at without being held open, is no
  // longer the original as it was opened: another identity, size or last
  // write time. Asked once it is closed, before every attempt to replace it.
  virtual bool OriginalStillAtPath(const std::string& path) = 0;

  // Creates the replacement at `path` with the original's access rights,
  // owner and group and attributes, open for writing.
  virtual Creation CreateReplacement(const std::string& path) = 0;
  // Reads the original and writes and flushes the replacement, and tells
  // the error of a failed call on the thread that made it.
  virtual PieceStreams Streams() = 0;
  // What else the replacement takes over from the original once its content
  // is written: creation time, named streams.
  virtual bool TakeOverTheRest() = 0;
  virtual bool FlushReplacement() = 0;
  virtual bool CloseReplacement() = 0;
  // Closes the replacement if open and removes it.
  virtual void RemoveReplacement(const std::string& path) = 0;
  // Puts the replacement in the original's place in one step.
  virtual Attempt Replace(const std::string& replacement, const std::string& original) = 0;
  // Makes the replacement's new name durable.
  virtual void SyncFolder(const std::string& folder) = 0;

  // For the temporary files that killed processes left behind.
  virtual std::vector<std::string> TemporaryNamesIn(const std::string& folder) = 0;
  virtual bool ProcessRuns(uint32_t processId) = 0;
  virtual void RemoveFile(const std::string& path) = 0;
  virtual uint32_t ProcessId() = 0;
  virtual std::string HostName() = 0;

  // The system's error of the step that failed last on the calling thread;
  // asked right after the failure, on the thread that made the call.
  virtual uint32_t LastError() = 0;
};

// Replaces the file at `path` by its bytes run through `change`, with the
// platform's steps; see RewriteFile for what it promises. `pieceBytes` is
// the size of each of the two pieces the file goes through.
bool RunRewrite(RewriteSteps& steps, const std::string& path, const PieceChange& change,
                size_t pieceBytes = kRewritePieceBytes);

// The steps of this platform, for RewriteFile.
std::unique_ptr<RewriteSteps> PlatformRewriteSteps();

}  // namespace tessafold
