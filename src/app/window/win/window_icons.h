#pragma once
#include "app/win/handle_owners.h"

namespace tessafold {

// The window icon of that width (32: large, 16: small), made from the image of
// the program's icon resource that the icon picker rule chooses, at the size
// the image has. Null when the resource cannot be read.
IconHandle LoadWindowIcon(int width);

}  // namespace tessafold
