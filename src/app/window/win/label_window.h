#pragma once

namespace tessafold {

// The window class of the self-drawn labels: button-face background, black
// text drawn transparently in the label's font, wrapped at word boundaries
// from the top left, '&' shown as it is.
const wchar_t* LabelWindowClass();

}  // namespace tessafold
