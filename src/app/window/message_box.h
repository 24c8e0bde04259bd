#pragma once
#include <cstdint>
#include <string_view>

namespace tessafold {

inline constexpr std::string_view kDefaultMessageTitle = "信息：";

// Result codes of ShowMessage: the button the user pressed.
enum MessageResult : int {
  kMessageOk = 0, kMessageCancel = 1, kMessageAbort = 2, kMessageRetry = 3,
  kMessageIgnore = 4, kMessageYes = 5, kMessageNo = 6,
};

// A modal box owned by no window, task-modal for the calling thread. `buttons`
// are the platform's message-box style bits (0: one OK button, no icon); an
// empty title means "信息：". Texts are UTF-8. Any thread may call it.
int ShowMessage(std::string_view text, uint32_t buttons = 0, std::string_view title = {});

}  // namespace tessafold
