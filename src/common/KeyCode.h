#pragma once

#include <QString>

// The character code a key press types, as a key handler that may discard it receives it.
namespace KeyCode {

// 0 for keys that type nothing (arrows, Shift, Delete, Tab). Otherwise the character the key puts into a
// text box, whatever modifiers are held: Alt+7 is '7' and AltGr+Q (Ctrl+Alt on Windows) '@'; menu access
// keys never get here. Backspace is 8 and Ctrl+Backspace 127 on every platform, Space is 32 even with
// Ctrl, and Ctrl with a letter gives its control code (Ctrl+H is 8, a backspace).
char16_t typed(int key, Qt::KeyboardModifiers modifiers, const QString& text);

} // namespace KeyCode
