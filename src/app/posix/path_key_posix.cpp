#include <climits>
#include <cstdlib>
#include <memory>

#include "app/path_key.h"

namespace tessafold {

namespace {

std::string CurrentDirectory() {
  std::unique_ptr<char, decltype(&std::free)> cwd(realpath(".", nullptr), &std::free);
  return cwd ? std::string(cwd.get()) : std::string{};
}

}  // namespace

std::string PathKey(const std::string& path) {
  if (path.empty()) return {};
  std::unique_ptr<char, decltype(&std::free)> resolved(realpath(path.c_str(), nullptr), &std::free);
  if (resolved) return resolved.get();
  return path.front() == '/' ? path : CurrentDirectory() + "/" + path;
}

}  // namespace tessafold
