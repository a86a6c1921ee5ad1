#include "WordMoves.h"

#include <QWidget>

#ifndef Q_OS_WIN
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextBoundaryFinder>

namespace {

// Where the move ends: the first word end after the offset, else the end of the text.
int nextWordEnd(const QString& text, int offset)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Word, text);
    finder.setPosition(offset);
    for (auto at = finder.toNextBoundary(); at > 0; at = finder.toNextBoundary()) {
        if (finder.boundaryReasons() & QTextBoundaryFinder::EndOfItem)
            return int(at);
    }
    return int(text.size());
}

// True when the move was made here.
bool moveToWordEnd(QLineEdit* field, bool select)
{
    const QString text = field->text();
    if (field->isRightToLeft() || text.isRightToLeft())
        return false;
    const int to = nextWordEnd(text, field->cursorPosition());
    if (!select) {
        field->setCursorPosition(to);
        return true;
    }
    // The selection grows or shrinks from its anchor, the end the caret is not at.
    int anchor = field->cursorPosition();
    if (field->hasSelectedText())
        anchor = anchor == field->selectionStart() ? field->selectionEnd() : field->selectionStart();
    field->setSelection(anchor, to - anchor);
    return true;
}

bool moveToWordEnd(QPlainTextEdit* field, bool select)
{
    QTextCursor cursor = field->textCursor();
    if (field->isRightToLeft() || cursor.block().textDirection() == Qt::RightToLeft)
        return false;
    // The plain text has one character per position, a line break included.
    cursor.setPosition(nextWordEnd(field->document()->toPlainText(), cursor.position()),
                       select ? QTextCursor::KeepAnchor : QTextCursor::MoveAnchor);
    field->setTextCursor(cursor);
    return true;
}

class WordEndFilter : public QObject
{
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<const QKeyEvent*>(event);
        const bool select = key->matches(QKeySequence::SelectNextWord);
        if (!select && !key->matches(QKeySequence::MoveToNextWord))
            return false;
        if (auto* line = qobject_cast<QLineEdit*>(watched))
            return moveToWordEnd(line, select);
        if (auto* plain = qobject_cast<QPlainTextEdit*>(watched))
            return moveToWordEnd(plain, select);
        return false;
    }
};

} // namespace
#endif

namespace WordMoves {

void install(QWidget* field)
{
#ifdef Q_OS_WIN
    Q_UNUSED(field);
#else
    field->installEventFilter(new WordEndFilter(field));
#endif
}

} // namespace WordMoves
