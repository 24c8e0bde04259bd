#pragma once

namespace tessafold {

// Runs the message loop until the last window of the program is gone.
void RunMessageLoop();

}  // namespace tessafold
