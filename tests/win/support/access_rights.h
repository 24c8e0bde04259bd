#pragma once
// Who may open a file: its DACL as text, and a DACL that keeps everyone but
// the system and this user out.
#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

#include <string>

namespace tessafold::testing {

// The DACL of the file as SDDL, with its protection and inheritance flags.
inline std::wstring DaclOf(const std::wstring& path) {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (GetNamedSecurityInfoW(path.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, nullptr,
                            nullptr, &descriptor) != ERROR_SUCCESS) {
    return L"(unreadable)";
  }
  wchar_t* text = nullptr;
  ConvertSecurityDescriptorToStringSecurityDescriptorW(descriptor, SDDL_REVISION_1, DACL_SECURITY_INFORMATION, &text,
                                                       nullptr);
  std::wstring dacl = text ? text : L"(none)";
  LocalFree(text);
  LocalFree(descriptor);
  return dacl;
}

// Full access for the system, `rights` (SDDL: "FA", or a mask such as
// "0x1e01ff") for this user, and none for anyone else, shielded from the
// folder's rights.
inline bool GiveOnlyThisUser(const std::wstring& path, const std::wstring& rights) {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
  alignas(TOKEN_USER) BYTE buffer[256];
  DWORD size = 0;
  const bool known = GetTokenInformation(token, TokenUser, buffer, sizeof buffer, &size);
  CloseHandle(token);
  wchar_t* user = nullptr;
  if (!known || !ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid, &user)) return false;
  const std::wstring sddl = L"D:P(A;;FA;;;SY)(A;;" + rights + L";;;" + user + L")";
  LocalFree(user);
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1, &descriptor, nullptr)) {
    return false;
  }
  const bool set = SetFileSecurityW(path.c_str(), DACL_SECURITY_INFORMATION, descriptor);
  LocalFree(descriptor);
  return set;
}

}  // namespace tessafold::testing
