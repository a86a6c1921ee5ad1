#pragma once

#include <functional>

class QLineEdit;

// A per-key filter on a text field, as the windows' key handlers expect it: the handler receives the
// character code of each key typed (and of each character an input method commits) by reference, and
// setting it to 0 discards that key. Keys that type nothing (arrows, Shift, Delete) never reach it.
// Ctrl+H, code 8, acts as backspace and Ctrl+Space types a space when the handler lets them pass. Alt or
// the Windows key with a letter types nothing and never reaches the handler.
namespace KeyFilter {

using Handler = std::function<void(char16_t& keyAscii)>;

// The filter belongs to the field and ends with it.
void install(QLineEdit* field, Handler handler);

} // namespace KeyFilter
