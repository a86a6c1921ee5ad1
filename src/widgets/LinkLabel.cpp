#include "LinkLabel.h"
#include "window/AppIcon.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QStyleOptionFocusRect>

#include <utility>

LinkLabel::LinkLabel(const QString& text, QWidget* parent) : QLabel(text, parent)
{
    setCursor(linkCursor());
    setFocusPolicy(Qt::TabFocus);
}

void LinkLabel::describeLink(const QString& destination)
{
    setAccessibleDescription(QStringLiteral("Opens %1 in your web browser.").arg(destination));
}

void LinkLabel::mouseDoubleClickEvent(QMouseEvent* event)
{
    secondClick_ = true;
    QLabel::mouseDoubleClickEvent(event);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event)
{
    const bool secondClick = std::exchange(secondClick_, false);
    if (event->button() == Qt::LeftButton && !secondClick && rect().contains(event->position().toPoint()))
        emit clicked();
    QLabel::mouseReleaseEvent(event);
}

void LinkLabel::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) &&
        (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        event->accept();
        emit clicked();
        return;
    }
    QLabel::keyPressEvent(event);
}

void LinkLabel::paintEvent(QPaintEvent* event)
{
    QLabel::paintEvent(event);
    if (!hasFocus())
        return;
    // Labels draw no focus of their own; without this frame a keyboard user cannot see where Tab went.
    QPainter painter(this);
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.rect = rect().adjusted(1, 1, -1, -1);
    option.backgroundColor = palette().color(backgroundRole());
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
}

QCursor linkCursor()
{
    const QPixmap hand = ownPng(QStringLiteral(":/icons/hand.png"));
    if (hand.isNull())
        return QCursor(Qt::PointingHandCursor);
    return QCursor(hand, 12, 1);
}
