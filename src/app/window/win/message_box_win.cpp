#include <windows.h>

#include "app/window/message_box.h"
#include "app/text/win/wide_text.h"

namespace tessafold {

namespace {

int ResultCode(int pressed) {
  switch (pressed) {
    case IDCANCEL: return kMessageCancel;
    case IDABORT: return kMessageAbort;
    case IDRETRY: return kMessageRetry;
    case IDIGNORE: return kMessageIgnore;
    case IDYES: return kMessageYes;
    case IDNO: return kMessageNo;
    default: return kMessageOk;
  }
}

}  // namespace

int ShowMessage(std::string_view text, uint32_t buttons, std::string_view title) {
  const std::wstring wideText = Widen(text);
  const std::wstring wideTitle = Widen(title.empty() ? kDefaultMessageTitle : title);
  // No owner and task-modal: a box shown by a worker disables none of the program's windows.
  const UINT style = buttons | ((buttons & MB_SYSTEMMODAL) ? 0 : MB_TASKMODAL);
  return ResultCode(MessageBoxW(nullptr, wideText.c_str(), wideTitle.c_str(), style));
}

}  // namespace tessafold
