// The real frame, window and services with one extra step, picked by the
// first argument, for what cannot be brought about from outside the program:
//   worker-fatal        a worker raises a fatal error while the window runs
//   access-during-box   a worker writes, reads and disables controls while a
//                       message box is open on the user interface thread
//   not-loaded          a worker reads a control of a window that is not loaded
//   no-window           a worker reads the text of the timer, which has no window
//   yes-no              the process ends with ShowMessage's result for a Yes/No box
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "app/fatal_error.h"
#include "app/frame.h"
#include "app/process_end.h"
#include "app/services.h"
#include "ui/main_window_ids.h"

using namespace tessafold;

namespace {

void RaiseFatal(void*) { FatalRuntimeError(0, "探针"); }

void TouchControlsUnderTheBox(void*) {
  while (!FindWindowW(L"#32770", L"信息：")) Sleep(10);
  SetControlProperty(kMainWindow, keyEdit, kPropertyEditText, std::string("甲乙"));
  const std::string read = GetControlText(kMainWindow, keyEdit);
  SetControlProperty(kMainWindow, repeatEdit, kPropertyEditText, read + "!");
  SetControlDisabled(kMainWindow, encryptButton, true);
}

void ReadUnloadedWindow(void*) { GetControlText(kMainWindow + 41, keyEdit); }

void ReadTimerText(void*) { GetControlText(kMainWindow, formTimer); }

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  int count = 0;
  wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
  const std::wstring scenario = count > 1 ? args[1] : L"";

  StartApplication();
  LoadWindow(kMainWindow);
  if (scenario == L"worker-fatal") StartWorker(RaiseFatal);
  if (scenario == L"not-loaded") StartWorker(ReadUnloadedWindow);
  if (scenario == L"no-window") StartWorker(ReadTimerText);
  if (scenario == L"access-during-box") {
    StartWorker(TouchControlsUnderTheBox);
    ShowMessage("探针");
  }
  if (scenario == L"yes-no") EndProcess(static_cast<uint32_t>(ShowMessage("继续？", MB_YESNO)));
  RunMessageLoop();
  EndProcess(0);
}
