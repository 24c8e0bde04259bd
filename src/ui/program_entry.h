#pragma once

namespace tessafold {

// The program's own start routine, run once on the user interface thread:
// starts the frame, loads the main window and runs the loop until it closes.
int ProgramEntry();

}  // namespace tessafold
