#pragma once

namespace tessafold {

// The program's own start routine, run once on the user interface thread.
int ProgramEntry();

// Starts OLE, makes the program's folder the current directory, creates the
// relay window for requests from other threads and reads the built-in layouts.
void StartApplication();

// Creates the window of that id with its controls from its layout, raises its
// start-up events and shows it. Returns without waiting for it to close.
void LoadWindow(int windowId);

// Runs the message loop until the last window of the program is gone.
void RunMessageLoop();

}  // namespace tessafold
