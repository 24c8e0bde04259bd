#pragma once

namespace tessafold {

// The window class of the self-drawn labels: the background and text colour
// their parent gives for WM_CTLCOLORSTATIC (button face and black when it
// gives none), text drawn transparently in the label's font, wrapped at word
// boundaries from the top left, '&' shown as it is.
const wchar_t* LabelWindowClass();

}  // namespace tessafold
