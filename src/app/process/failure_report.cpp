#include "app/process/failure_report.h"

#include <atomic>

namespace tessafold {

namespace {
std::atomic<FailureSink> installedSink{nullptr};
}  // namespace

void SetFailureSink(FailureSink sink) { installedSink = sink; }

void ReportFailure(std::string_view step, std::string_view path, uint32_t systemError) {
  std::string line = "tessafold: ";
  line += step;
  line += ": ";
  line += path;
  if (systemError != 0) line += ": error " + std::to_string(systemError) + " (" + SystemErrorText(systemError) + ")";
  line += "\n";
  if (const FailureSink sink = installedSink.load()) sink(line);
  else WriteDiagnostic(line);
}

}  // namespace tessafold
