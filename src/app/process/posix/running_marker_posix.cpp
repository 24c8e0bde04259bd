#include "app/process/running_marker.h"

namespace tessafold {

// No installer outside Windows looks for a running copy.
void MarkProcessRunning() {}

}  // namespace tessafold
