// Raises a fatal error so that the unit tests can check the error box from
// outside the process:
//   fatal_probe error CODE [MESSAGE]      FatalRuntimeError(CODE, MESSAGE)
//   fatal_probe worker CODE [MESSAGE]     the same, raised on a second thread
//   fatal_probe index INDEX               byte INDEX of a one-byte buffer
#include <string>
#include <thread>

#include "app/files/byte_buffer.h"
#include "app/process/fatal_error.h"
#include "app/text/text_to_int.h"
#include "app/text/win/wide_text.h"

int wmain(int argc, wchar_t** argv) {
  using namespace tessafold;
  if (argc < 3) return 2;
  const std::wstring mode = argv[1];
  const int32_t number = TextToInt(Narrow(argv[2]));
  const std::string message = argc > 3 ? Narrow(argv[3]) : std::string();
  if (mode == L"error") FatalRuntimeError(number, message);
  if (mode == L"worker") {
    std::thread([&] { FatalRuntimeError(number, message); }).join();
  }
  if (mode == L"index") return ByteBuffer::Allocate(1).At(number);
  return 2;
}
