#include "ui/handlers.h"

#include "app/process/worker.h"
#include "app/window/control_access.h"
#include "app/window/web_page.h"
#include "cipher/jobs.h"
#include "ui/file_dialog.h"
#include "ui/main_window_ids.h"

namespace tessafold {

namespace {

// The button is disabled before the worker exists, so the job always finds it
// disabled; a worker that never started would leave it disabled for good.
void StartJob(int button, WorkerRoutine job) {
  SetControlDisabled(kMainWindow, button, true);
  if (!StartWorker(job)) SetControlDisabled(kMainWindow, button, false);
}

}  // namespace

void OnLinkEvent() { OpenWebPage(kWebAddress); }

void OnBrowseClicked() {
  if (!ShowFileDialog(kOpenFileDialog)) return;
  const std::string chosen = GetControlText(kMainWindow, openFileDialog, kPropertyDialogFileName);
  SetControlProperty(kMainWindow, pathEdit, kPropertyEditText, chosen);
}

void OnEncryptClicked() {
  StartJob(encryptButton, [](void*) { RunEncryptJob(); });
}

void OnDecryptClicked() {
  StartJob(decryptButton, [](void*) { RunDecryptJob(); });
}

}  // namespace tessafold
