#include "window_job.h"

#include "ui/main_window_ids.h"

namespace faults {

void EnterJobInputs(const e2e::AppUnderTest& app, std::wstring_view key, std::wstring_view repeat,
                    std::wstring_view path) {
  app.SetControlText(tessafold::keyEdit, key);
  app.SetControlText(tessafold::repeatEdit, repeat);
  app.SetControlText(tessafold::pathEdit, path);
}

std::wstring RunJobThroughTheWindow(const e2e::AppUnderTest& app, int button, bool click) {
  if (click) app.Click(button);
  // A large file on a slow disk may take a while.
  HWND box = app.WaitForDialog(kOutcomeTitle, 120000);
  if (!box) return {};
  const std::wstring text = app.ControlEnabled(button) ? std::wstring() : e2e::AppUnderTest::MessageBoxText(box);
  e2e::AppUnderTest::AnswerMessageBox(box);
  e2e::WaitUntil([&] { return app.ControlEnabled(button); });
  return text;
}

}  // namespace faults
