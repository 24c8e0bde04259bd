#pragma once
// Running the encrypt and decrypt jobs through the real program's window.
#include <string>
#include <string_view>

#include "app_under_test.h"

namespace faults {

// The failure texts of the two jobs.
inline constexpr wchar_t kEncryptFailure[] = L"加密失败，请查看文件是否被打开了";
inline constexpr wchar_t kDecryptFailure[] = L"解密失败!";

// Types the job's inputs into the window's boxes; the path box takes the path
// as the browse dialog would leave it.
void EnterJobInputs(const e2e::AppUnderTest& app, std::wstring_view key, std::wstring_view repeat,
                    std::wstring_view path);

// Clicks an action button of the running program, reads the text of the
// outcome box that the job shows (empty when none came), closes the box and
// waits until the button is usable again.
std::wstring RunJobThroughTheWindow(const e2e::AppUnderTest& app, int button);

}  // namespace faults
