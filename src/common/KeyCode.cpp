#include "KeyCode.h"

namespace KeyCode {

char16_t typed(int key, Qt::KeyboardModifiers modifiers, const QString& text)
{
    if (key == Qt::Key_Tab || key == Qt::Key_Backtab || key == Qt::Key_Delete)
        return 0;
    const bool ctrl = modifiers & Qt::ControlModifier;
    if (key == Qt::Key_Backspace)
        return ctrl ? 127 : 8;
    // Ctrl+Space gives no text, or a NUL, on some platforms.
    if (key == Qt::Key_Space)
        return u' ';
    // Some platforms give no text for Ctrl with a letter; the key still types its control code.
    if (ctrl && !(modifiers & Qt::AltModifier) && key >= Qt::Key_A && key <= Qt::Key_Z)
        return static_cast<char16_t>(key - Qt::Key_A + 1);
    // Some platforms give the Delete key's text (127) under another key code.
    if (text.isEmpty() || text.front() == QChar(127))
        return 0;
    return text.front().unicode();
}

} // namespace KeyCode
