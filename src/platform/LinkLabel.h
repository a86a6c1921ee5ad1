#pragma once

#include <QLabel>

// A label that acts as a link: a pointing-hand cursor, and a click signal on a left-button release inside it.
class LinkLabel : public QLabel
{
    Q_OBJECT
public:
    explicit LinkLabel(const QString& text, QWidget* parent = nullptr);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

// A caption as a label with access keys shows it: "&&" becomes "&", a single "&" disappears.
QString captionText(const QString& caption);
