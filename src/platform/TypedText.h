#pragma once

#include <QString>

class QEvent;
class QKeyEvent;

// What the user typed, as the key filters of the windows see it.
namespace TypedText {

// The character code a key press would type: 0 for keys that type nothing (arrows, Shift, Delete, Tab)
// and for plain Alt combinations, which belong to menus and buttons. Ctrl with a letter gives its control
// code on every platform; Ctrl+Alt (AltGr on some systems) gives the character it types.
char16_t code(const QKeyEvent* key);

// The text an input method (a dead key, a compose sequence, an IME) commits with this event, or "" when
// the event is not such a commit.
QString committed(const QEvent* event);

} // namespace TypedText
