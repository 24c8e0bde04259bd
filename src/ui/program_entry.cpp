#include "ui/program_entry.h"

#include "app/frame.h"
#include "ui/main_window_ids.h"

namespace tessafold {

int ProgramEntry() {
  StartApplication();
  LoadWindow(kMainWindow);
  RunMessageLoop();
  return 0;
}

}  // namespace tessafold
