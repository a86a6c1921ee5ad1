#include "Accessibility.h"

#include <QAbstractButton>
#include <QAccessibleWidget>
#include <QApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>

namespace {

// Hidden behind a later sibling (the stacking order) that is opaque and covers it whole, or entirely
// outside its parent, where nothing of it can be seen.
bool isCovered(const QWidget* widget)
{
    const QWidget* parent = widget->parentWidget();
    if (!parent || widget->isWindow())
        return false;
    if (!parent->rect().intersects(widget->geometry()))
        return true;
    bool above = false;
    for (const QObject* sibling : parent->children()) {
        const auto* other = qobject_cast<const QWidget*>(sibling);
        if (other == widget)
            above = true;
        else if (above && other && !other->isWindow() && other->isVisible() &&
                 (other->autoFillBackground() || other->testAttribute(Qt::WA_OpaquePaintEvent)) &&
                 other->geometry().contains(widget->geometry()))
            return true;
    }
    return false;
}

// A frame or link of the program: named by the text it shows, and off screen while covered.
class ProgramAccessible : public QAccessibleWidget
{
public:
    using QAccessibleWidget::QAccessibleWidget;

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.offscreen = isCovered(widget());
        return state;
    }

    QString text(QAccessible::Text kind) const override
    {
        const QWidget* w = widget();
        if (kind != QAccessible::Name || !w->accessibleName().isEmpty())
            return QAccessibleWidget::text(kind);
        if (const auto* label = qobject_cast<const QLabel*>(w))
            return label->text();
        if (const auto* button = qobject_cast<const QAbstractButton*>(w))
            return button->text();
        if (const auto* frame = qobject_cast<const QGroupBox*>(w))
            return frame->title();
        return QString();
    }
};

QAccessibleInterface* programAccessible(const QString& className, QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget)
        return nullptr;
    if (className == QLatin1String("LinkLabel") || className == QLatin1String("LinkCheckBox"))
        return new ProgramAccessible(widget, QAccessible::Link);
    if (className == QLatin1String("CaptionFrame"))
        return new ProgramAccessible(widget, QAccessible::Grouping);
    return nullptr;
}

void installFactory()
{
    QAccessible::installFactory(programAccessible);
}

class ReplayedAltFilter : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // A real key's override event comes from the window system; a replayed key's does not.
        if (event->type() == QEvent::ShortcutOverride && !event->spontaneous()) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Alt || key == Qt::Key_Meta)
                return true;
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

Q_CONSTRUCTOR_FUNCTION(installFactory)

namespace Accessibility {

void ignoreReplayedAlt(QMenuBar* menuBar)
{
    qApp->installEventFilter(new ReplayedAltFilter(menuBar));
}

} // namespace Accessibility
