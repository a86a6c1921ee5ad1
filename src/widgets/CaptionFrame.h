#pragma once

#include <QGroupBox>

// A frame with a caption, painted in the window's own colours: a solid background, a thin border and
// the caption in its own colour and font at the top left. It paints itself rather than going through a
// style sheet, which keeps the style-sheet machinery out of the program's start-up.
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
