#pragma once

#include <QCheckBox>
#include <QKeyEvent>

// A check box that acts as a link: each click opens a page and the box never stays checked. A screen
// reader is told it is a link, so Enter follows it as well as Space.
class LinkCheckBox : public QCheckBox
{
    Q_OBJECT
public:
    using QCheckBox::QCheckBox;

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        const int key = event->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) &&
            (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            click();
            return;
        }
        QCheckBox::keyPressEvent(event);
    }
};
