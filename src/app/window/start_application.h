#pragma once
#include <span>

#include "app/window/window_layout.h"

namespace tessafold {

// The platform's start-up, then `entry` once on this thread, which becomes the
// user interface thread, with `layouts` as the program's built-in windows.
// The process ends when `entry` returns.
using ProgramEntryRoutine = int (*)();
[[noreturn]] void RunProgram(ProgramEntryRoutine entry, std::span<const WindowRecord> layouts);

// Starts OLE, makes the program's folder the current directory, creates the
// relay window for requests from other threads and reads the layouts that
// RunProgram was given.
void StartApplication();

}  // namespace tessafold
