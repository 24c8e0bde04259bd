#pragma once
// Symbolic links made by the tests: a second way to a file or a folder.
#include <string>

namespace e2e {

// Makes `link` a symbolic link to `target` (as written into the link,
// relative to the link's folder) for as long as the object lives, then
// removes the link itself, never what it leads to.
//
// Windows makes one with CreateSymbolicLinkW where the user may (developer
// mode, or the privilege). Wine 8's CreateSymbolicLinkW reports success and
// makes nothing, but Wine follows Unix links, so there the Unix `ln` makes
// one, started through Z:, the Unix root. Wine also removes what a link leads
// to when asked to delete the link, so there the Unix `rm` removes it.
class SymbolicLink {
 public:
  SymbolicLink(std::wstring link, const std::wstring& target, bool folder = false);
  ~SymbolicLink();
  SymbolicLink(const SymbolicLink&) = delete;
  SymbolicLink& operator=(const SymbolicLink&) = delete;

  // Why no link could be made; empty when it was.
  const std::wstring& Problem() const { return problem_; }

 private:
  std::wstring link_;
  std::wstring problem_;
  bool unix_ = false;
};

// True when opening `path` leads to the file or folder `other` is (the same
// final path), so a link that was made still leads where it did.
bool LeadsTo(const std::wstring& path, const std::wstring& other);

}  // namespace e2e
