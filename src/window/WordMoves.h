#pragma once

class QWidget;

// Ctrl+Right (and Shift+Ctrl+Right, which selects) moves to the end of the word the caret is in, or of the
// next word when the caret is at a word's end or between words, as in GTK's fields; at the end of the text
// the caret stays. Screen readers on Linux present a move by word as the text passed over, which then is
// the word landed at. Windows keeps Qt's move to the start of the next word, the convention there, and
// right-to-left text keeps Qt's own move everywhere.
namespace WordMoves {

// For a QLineEdit or a QPlainTextEdit; the filter belongs to the field and ends with it.
void install(QWidget* field);

} // namespace WordMoves
