#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace tessafold {

// Why a file step failed, for whoever looks into a job that reported its
// failure text: the step, the file and the system's error. The user sees only
// the job's text; the reason goes to the debugger's output on Windows
// (DebugView; under Wine WINEDEBUG=+debugstr) and to stderr elsewhere.
void ReportFailure(std::string_view step, std::string_view path, uint32_t systemError);

// Receives each reason as one line instead of the platform's output (null:
// the platform's output again); for tests.
using FailureSink = void (*)(std::string_view line);
void SetFailureSink(FailureSink sink);

// The platform's part: the system's text for an error code, and the output.
std::string SystemErrorText(uint32_t systemError);
void WriteDiagnostic(std::string_view line);

}  // namespace tessafold
