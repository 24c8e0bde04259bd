#include <cstdio>
#include <cstring>

#include "app/process/failure_report.h"

namespace tessafold {

std::string SystemErrorText(uint32_t systemError) { return std::strerror(static_cast<int>(systemError)); }

void WriteDiagnostic(std::string_view line) {
  std::fwrite(line.data(), 1, line.size(), stderr);
}

}  // namespace tessafold
