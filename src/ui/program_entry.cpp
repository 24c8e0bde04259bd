#include "ui/program_entry.h"

#include "app/window/message_loop.h"
#include "app/window/start_application.h"
#include "app/window/window_loader.h"
#include "ui/main_window_ids.h"

namespace tessafold {

int ProgramEntry() {
  StartApplication();
  LoadWindow(kMainWindow);
  RunMessageLoop();
  return 0;
}

}  // namespace tessafold
