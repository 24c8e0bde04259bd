#pragma once
// Running the encrypt and decrypt jobs through the real program's window.
#include <string>
#include <string_view>

#include "app/window/message_box.h"
#include "app_under_test.h"
#include "cipher/jobs.h"

namespace faults {

// The title and the texts of the jobs' outcome boxes.
inline const std::wstring kOutcomeTitle = e2e::Widen(tessafold::kDefaultMessageTitle);
inline const std::wstring kEncryptSuccess = e2e::Widen(tessafold::kEncryptSuccessText);
inline const std::wstring kEncryptFailure = e2e::Widen(tessafold::kEncryptFailureText);
inline const std::wstring kDecryptSuccess = e2e::Widen(tessafold::kDecryptSuccessText);
inline const std::wstring kDecryptFailure = e2e::Widen(tessafold::kDecryptFailureText);

// Types the job's inputs into the window's boxes; the path box takes the path
// as the browse dialog would leave it.
void EnterJobInputs(const e2e::AppUnderTest& app, std::wstring_view key, std::wstring_view repeat,
                    std::wstring_view path);

// Clicks an action button of the running program (unless `click` is false:
// the job was started already), reads the text of the outcome box that the
// job shows, closes the box and waits until the button is usable again. Empty
// when no box came, or when the button was usable while its box was open.
std::wstring RunJobThroughTheWindow(const e2e::AppUnderTest& app, int button, bool click = true);

}  // namespace faults
