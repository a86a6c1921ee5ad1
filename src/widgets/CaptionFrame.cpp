#include "CaptionFrame.h"

#include <QPainter>

CaptionFrame::CaptionFrame(const QString& caption, const QColor& background, const QColor& captionColour,
                           const QFont& captionFont, QWidget* parent)
    : QGroupBox(caption, parent), background_(background), captionColour_(captionColour),
      captionFont_(captionFont)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CaptionFrame::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), background_);
    painter.setPen(background_.darker(150));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.setFont(captionFont_);
    painter.setPen(captionColour_);
    const QFontMetrics metrics(captionFont_);
    painter.drawText(QRect(8, 2, width() - 16, metrics.height()),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, title());
}
