#pragma once

#include <QGroupBox>

// A frame with a caption at its top left, painted by hand rather than by a style sheet, which keeps the
// style-sheet machinery out of the program's start-up.
class CaptionFrame : public QGroupBox
{
    Q_OBJECT
public:
    CaptionFrame(const QString& caption, const QColor& background, const QColor& captionColour,
                 const QFont& captionFont, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor background_;
    QColor captionColour_;
    QFont captionFont_;
};
