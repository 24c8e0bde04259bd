#pragma once
#include <string>

#include "app_under_test.h"

namespace faults {

// Clicks an action button of the running program, reads the text of the
// outcome box that the job shows (empty when none came), closes the box and
// waits until the button is usable again.
std::wstring RunJobThroughTheWindow(const e2e::AppUnderTest& app, int button);

}  // namespace faults
