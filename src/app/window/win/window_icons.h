#pragma once
#include "app/win/handle_owners.h"

namespace tessafold {

// The window icon of that width (32 and 16 at 96 DPI: large and small, scaled
// with the display), made from the image of the program's icon resource that
// the icon picker rule chooses, shrunk to that width where it is wider. Null
// when the resource cannot be read.
IconHandle LoadWindowIcon(int width);

}  // namespace tessafold
