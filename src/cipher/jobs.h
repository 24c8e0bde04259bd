#pragma once

namespace tessafold {

// Worker bodies started by the encrypt and decrypt buttons: read key, repeat
// count and path from the main window, transform the file, report the outcome
// in a message box, then enable the job's button again.
void RunEncryptJob();
void RunDecryptJob();

}  // namespace tessafold
