#include "app/process/program_directory.h"

namespace tessafold {

std::string DirectoryOfProgram(std::string_view programPath) {
  const size_t slash = programPath.rfind('\\');
  if (slash == std::string_view::npos) return {};
  std::string folder(programPath.substr(0, slash));
  if (folder.size() == 2 && folder[1] == ':') folder += '\\';
  return folder;
}

}  // namespace tessafold
