#pragma once

#include <QString>

// The character code a key press types, as a key handler that may discard it receives it.
namespace KeyCode {

// 0 for keys that type nothing (arrows, Shift, Delete, Tab) and for plain Alt combinations, which belong
// to menus and buttons. Backspace is 8 and Ctrl+Backspace 127 on every platform, whatever text the
// platform gives them; Ctrl with a letter gives its control code (Ctrl+H is 8, a backspace); Ctrl+Alt
// (AltGr on some systems) gives the character it types.
char16_t typed(int key, Qt::KeyboardModifiers modifiers, const QString& text);

} // namespace KeyCode
