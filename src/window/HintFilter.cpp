#include "HintFilter.h"

#include <QFocusEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextDocument>

namespace {

class FieldHintFilter : public QObject
{
public:
    FieldHintFilter(QWidget* field, HintFilter::Handler gotFocus, HintFilter::Handler lostFocus)
        : QObject(field), field_(field), gotFocus_(std::move(gotFocus)), lostFocus_(std::move(lostFocus))
    {
    }

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
                        gotFocus_();
                },
                Qt::QueuedConnection);
        } else {
            lostFocus_();
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

    QWidget* field_;
    HintFilter::Handler gotFocus_;
    HintFilter::Handler lostFocus_;
};

} // namespace

namespace HintFilter {

void install(QWidget* field, Handler gotFocus, Handler lostFocus)
{
    field->installEventFilter(new FieldHintFilter(field, std::move(gotFocus), std::move(lostFocus)));
}

void apply(QLineEdit* field, Rule rule, const QString& hint)
{
    const QString next = rule(field->text(), hint);
    if (next != field->text())
        field->setText(next);
}

void apply(QPlainTextEdit* field, Rule rule, const QString& hint)
{
    // The raw text: toPlainText() would turn a no-break space into a space.
    const QString text = field->document()->toRawText();
    const QString next = rule(text, hint);
    if (next != text)
        field->setPlainText(next);
}

} // namespace HintFilter
