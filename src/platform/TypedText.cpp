#include "TypedText.h"

#include <QInputMethodEvent>
#include <QKeyEvent>

namespace TypedText {

char16_t code(const QKeyEvent* key)
{
    if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab || key->key() == Qt::Key_Delete)
        return 0;
    const Qt::KeyboardModifiers modifiers = key->modifiers();
    if ((modifiers & Qt::AltModifier) && !(modifiers & Qt::ControlModifier))
        return 0;
    const QString text = key->text();
    if (text.isEmpty())
        return 0;
    char16_t c = text.at(0).unicode();
    if (c == 127)
        return 0;
    if ((modifiers & Qt::ControlModifier) && c < 128 && QChar(c).isLetter())
        c = static_cast<char16_t>(QChar(c).toUpper().unicode() & 0x1F);
    return c;
}

QString committed(const QEvent* event)
{
    if (event->type() != QEvent::InputMethod)
        return {};
    return static_cast<const QInputMethodEvent*>(event)->commitString();
}

} // namespace TypedText
