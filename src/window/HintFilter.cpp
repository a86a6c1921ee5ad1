#include "HintFilter.h"

#include "common/Text.h"

#include <QFocusEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextDocument>

namespace {

QString textOf(const QLineEdit* field)
{
    return field->text();
}

// The raw text: toPlainText() would turn a no-break space into a space.
QString textOf(const QPlainTextEdit* field)
{
    return field->document()->toRawText();
}

void setTextOf(QLineEdit* field, const QString& text)
{
    field->setText(text);
}

void setTextOf(QPlainTextEdit* field, const QString& text)
{
    field->setPlainText(text);
}

template <typename Field> class FieldHintFilter : public QObject
{
public:
    FieldHintFilter(Field* field, const QString& hint) : QObject(field), field_(field), hint_(hint) {}

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const QEvent::Type type = event->type();
        if ((type != QEvent::FocusIn && type != QEvent::FocusOut) || !isFieldFocusChange(event))
            return QObject::eventFilter(watched, event);
        if (type == QEvent::FocusIn) {
            // Qt tells a screen reader of the focus only after this event; a hint cleared now would reach it
            // first, and the field would then be taken as already presented and never announced.
            QMetaObject::invokeMethod(
                this,
                [this] {
                    if (field_->hasFocus())
                        update(Text::textOnFocusIn);
                },
                Qt::QueuedConnection);
        } else {
            update(Text::textOnFocusOut);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    // The focus moving between windows (a message box, another program) is not the user leaving a field.
    static bool isFieldFocusChange(const QEvent* event)
    {
        const auto reason = static_cast<const QFocusEvent*>(event)->reason();
        return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
    }

    void update(QString (*rule)(const QString& text, const QString& hint))
    {
        const QString text = textOf(field_);
        const QString next = rule(text, hint_);
        // Written only when it changes, so that the cursor stays where it was otherwise.
        if (next != text)
            setTextOf(field_, next);
    }

    Field* field_;
    QString hint_;
};

template <typename Field> void installOn(Field* field, const QString& hint)
{
    field->installEventFilter(new FieldHintFilter<Field>(field, hint));
}

} // namespace

namespace HintFilter {

void install(QLineEdit* field, const QString& hint)
{
    installOn(field, hint);
}

void install(QPlainTextEdit* field, const QString& hint)
{
    installOn(field, hint);
}

} // namespace HintFilter
