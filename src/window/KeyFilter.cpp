#include "KeyFilter.h"

#include "common/KeyCode.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>

namespace {

class FieldKeyFilter : public QObject
{
public:
    FieldKeyFilter(QLineEdit* field, KeyFilter::Handler handler)
        : QObject(field), field_(field), handler_(std::move(handler))
    {
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress)
            return keyPress(static_cast<const QKeyEvent*>(event));
        // Characters made with dead keys or an input method pass the same handler; one refused character
        // refuses the whole commit.
        if (event->type() == QEvent::InputMethod) {
            for (const QChar c : static_cast<const QInputMethodEvent*>(event)->commitString()) {
                char16_t code = c.unicode();
                handler_(code);
                if (code == 0)
                    return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    // True when the key is consumed here.
    bool keyPress(const QKeyEvent* key)
    {
        char16_t code = KeyCode::typed(key->key(), key->modifiers(), key->text());
        if (code == 0)
            return false;
        // Alt or the Windows key with a letter that is no access key types nothing, as in a Windows box;
        // with Ctrl, Alt is AltGr on Windows and types its character.
        const Qt::KeyboardModifiers held = key->modifiers();
        if ((held & (Qt::AltModifier | Qt::MetaModifier)) && !(held & Qt::ControlModifier) && code < 128 &&
            QChar::isLetter(code))
            return true;
        handler_(code);
        if (code == 0)
            return true;
        // Qt's field knows only the Backspace key itself as a backspace, and types no space with Ctrl held.
        if (code == 8 && key->key() != Qt::Key_Backspace) {
            field_->backspace();
            return true;
        }
        if (code == u' ') {
            field_->insert(QStringLiteral(" "));
            return true;
        }
        return false;
    }

    QLineEdit* field_;
    KeyFilter::Handler handler_;
};

} // namespace

namespace KeyFilter {

void install(QLineEdit* field, Handler handler)
{
    field->installEventFilter(new FieldKeyFilter(field, std::move(handler)));
}

} // namespace KeyFilter
