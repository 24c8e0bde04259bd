#pragma once

namespace tessafold {

// Marks this process as a running Tessafold for the installer and the
// uninstaller, which refuse to change files that are in use. Nothing else
// looks at the marks: several copies may run at once.
//   Local\Tessafold.Running   in this session
//   Global\Tessafold.Running  for every session (a per-machine install)
// Held until the process ends.
void MarkProcessRunning();

}  // namespace tessafold
