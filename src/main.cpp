// The program itself: the frame runs the user interface's entry routine and
// window layouts. Only the executable joins the two, so each library depends
// one way only.
#include <windows.h>

#include "app/window/start_application.h"
#include "ui/main_window_layout.h"
#include "ui/program_entry.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  tessafold::RunProgram(tessafold::ProgramEntry, tessafold::BuiltInWindowLayouts());
}
