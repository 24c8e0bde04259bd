// Transforms one file in a process of its own, so that the fault tests can
// kill it hard at any moment:
//   transform_probe PATH KEY       TransformFile(PATH, KEY, 1, Add)
// Exit code 0 when the transform reports success, 1 when it reports failure.
#include "app/text/text_to_int.h"
#include "app/text/win/wide_text.h"
#include "cipher/transform_file.h"

int wmain(int argc, wchar_t** argv) {
  using namespace tessafold;
  if (argc != 3) return 2;
  return TransformFile(Narrow(argv[1]), TextToInt(Narrow(argv[2])), 1, ShiftDirection::Add) ? 0 : 1;
}
