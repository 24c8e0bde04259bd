#pragma once
#include <string>
#include <string_view>

namespace tessafold {

// The form of a full Windows path that the file API takes beyond 260
// characters on every Windows, long-path aware or not: "C:\a" becomes
// "\\?\C:\a" and "\\server\share\a" becomes "\\?\UNC\server\share\a", with
// every "/" turned into "\".
// A path already in that form, a device path, or one that is not full is
// returned unchanged.
std::wstring ExtendedLengthPath(std::wstring_view fullPath);

}  // namespace tessafold
