#pragma once
#include <string>

namespace tessafold {

// A text that is the same for two paths exactly when the platform takes them
// for the same file name: the full path (relative paths resolved against the
// current directory), compared as the platform's file system compares names
// (without regard to case on Windows). Files need not exist.
std::string PathKey(const std::string& path);

}  // namespace tessafold
