#pragma once

#include <QCursor>
#include <QLabel>

// A label that acts as a link: the program's hand pointer, and a click signal on a left-button release
// inside it. It takes the focus by Tab only (a mouse click leaves the focus where it was), shows a focus
// frame, and Enter or Space activates it, so every link can be used without a mouse. A double click is
// one click: its first half opens the page, its second does not open it again.
class LinkLabel : public QLabel
{
    Q_OBJECT
public:
    explicit LinkLabel(const QString& text, QWidget* parent = nullptr);

    // Tells a screen reader where the link leads ("the home page").
    void describeLink(const QString& destination);

signals:
    void clicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool secondClick_ = false;
};

// The hand pointer shown over every link of the program, with its hot spot at the fingertip.
QCursor linkCursor();
