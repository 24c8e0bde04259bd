#pragma once
#include <string_view>

namespace tessafold {

// The program's web page, opened once at every start.
inline constexpr std::string_view kWebAddress = "www.tessafold.com?radiv";

// Bound to events of the main window by its layout; run on the user interface thread.
void OnLinkEvent();       // the window was created
void OnBrowseClicked();   // browseButton
void OnEncryptClicked();  // encryptButton
void OnDecryptClicked();  // decryptButton

}  // namespace tessafold
