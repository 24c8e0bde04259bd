#pragma once
#include <windows.h>

#include <string>

#include "app/win/handle_owners.h"

namespace tessafold {

// The original's access rights, for its replacement: the new file must never
// be readable by anyone the original kept out.
class AccessRights {
 public:
  // The system's error when the DACL cannot be read (the replacement could
  // then not be given it), else ERROR_SUCCESS.
  DWORD TakeFrom(HANDLE original);

  // The DACL with its protection and inheritance flags, for CreateFileW.
  SECURITY_ATTRIBUTES* ForNewFile();
  // Only a privileged process may give a file away, while any member of a
  // group may give it that group: each is tried on its own, and a refusal
  // leaves the caller's own.
  void GiveOwnershipTo(HANDLE file) const;

 private:
  LocalMemory dacl_, ownerDescriptor_, groupDescriptor_;
  PSID owner_ = nullptr;  // inside ownerDescriptor_
  PSID group_ = nullptr;  // inside groupDescriptor_
  SECURITY_ATTRIBUTES attributes_{};
};

// False when the file system refuses this user writing to the file at
// `path` (its access list denies it), as the read-only attribute would. The
// file is opened for writing for a moment, sharing everything; an opener
// that does not share writing, as a scanner's read, is taken for consent,
// since the access was checked before the sharing.
bool MayWriteTo(const std::wstring& path);

}  // namespace tessafold
