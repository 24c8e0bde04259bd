#include "app/files/win/access_rights.h"

#include <aclapi.h>

namespace tessafold {

DWORD AccessRights::TakeFrom(HANDLE original) {
  PSECURITY_DESCRIPTOR dacl = nullptr, owner = nullptr, group = nullptr;
  const DWORD error = GetSecurityInfo(original, SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, nullptr,
                                      nullptr, &dacl);
  dacl_.reset(dacl);
  if (GetSecurityInfo(original, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner_, nullptr, nullptr, nullptr,
                      &owner) != ERROR_SUCCESS) {
    owner_ = nullptr;
  }
  ownerDescriptor_.reset(owner);
  if (GetSecurityInfo(original, SE_FILE_OBJECT, GROUP_SECURITY_INFORMATION, nullptr, &group_, nullptr, nullptr,
                      &group) != ERROR_SUCCESS) {
    group_ = nullptr;
  }
  groupDescriptor_.reset(group);
  return error;
}

SECURITY_ATTRIBUTES* AccessRights::ForNewFile() {
  attributes_ = SECURITY_ATTRIBUTES{sizeof attributes_, dacl_.get(), FALSE};
  return &attributes_;
}

void AccessRights::GiveOwnershipTo(HANDLE file) const {
  if (owner_) SetSecurityInfo(file, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, owner_, nullptr, nullptr, nullptr);
  if (group_) SetSecurityInfo(file, SE_FILE_OBJECT, GROUP_SECURITY_INFORMATION, nullptr, group_, nullptr, nullptr);
}

bool MayWriteTo(const std::wstring& path) {
  const FileHandle probe(CreateFileW(path.c_str(), FILE_WRITE_DATA,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                     0, nullptr));
  return probe.Valid() || GetLastError() != ERROR_ACCESS_DENIED;
}

}  // namespace tessafold
