#include "KeyCode.h"

namespace KeyCode {

char16_t typed(int key, Qt::KeyboardModifiers modifiers, const QString& text)
{
    if (key == Qt::Key_Tab || key == Qt::Key_Backtab || key == Qt::Key_Delete)
        return 0;
    const bool ctrl = modifiers & Qt::ControlModifier;
    const bool alt = modifiers & Qt::AltModifier;
    if (alt && !ctrl)
        return 0;
    if (key == Qt::Key_Backspace)
        return ctrl ? 127 : 8;
    // Some platforms give no text for Ctrl with a letter; the key still types its control code.
    if (ctrl && !alt && key >= Qt::Key_A && key <= Qt::Key_Z)
        return static_cast<char16_t>(key - Qt::Key_A + 1);
    if (text.isEmpty())
        return 0;
    char16_t c = text.at(0).unicode();
    // Some platforms give the Delete key this text under another key code.
    if (c == 127)
        return 0;
    if (ctrl && c < 128 && QChar(c).isLetter())
        c = static_cast<char16_t>(QChar(c).toUpper().unicode() & 0x1F);
    return c;
}

} // namespace KeyCode
