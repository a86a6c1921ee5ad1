#include "Accessibility.h"

#include "widgets/CaptionFrame.h"
#include "widgets/LinkCheckBox.h"
#include "widgets/LinkLabel.h"

#include <QAbstractButton>
#include <QAccessibleWidget>
#include <QApplication>
#include <QBasicTimer>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QShortcut>
#include <QTextBoundaryFinder>

#include <algorithm>

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
            return QString(button->text())
                .replace(QRegularExpression(QStringLiteral("&(.)")), QStringLiteral("\\1"));
        if (const auto* frame = qobject_cast<const QGroupBox*>(w))
            return frame->title();
        return QAccessibleWidget::text(kind);
    }
};

// Marks a label that is read on its own, as text of its frame.
constexpr char standaloneMark[] = "qzStandaloneLabel";

// A label that is text in its own right. Qt gives every widget inside a titled frame a "labelled by" relation
// to the frame; a screen reader takes a label so related for part of the frame's name and does not read it
// with the frame. This one reports no label of its own.
class StandaloneLabelAccessible : public ProgramAccessible
{
public:
    explicit StandaloneLabelAccessible(QLabel* label) : ProgramAccessible(label, QAccessible::StaticText) {}

    QList<std::pair<QAccessibleInterface*, QAccessible::Relation>>
    relations(QAccessible::Relation match) const override
    {
        return ProgramAccessible::relations(QAccessible::Relation(match & ~QAccessible::Label));
    }
};

// A push button. Qt's own interface gives a default button's focus action the key binding "Enter", which
// Orca 48 takes for an access key and reads by its last letter ("r"); here only the button's own access
// key is bound, to its press.
class PushButtonAccessible : public ProgramAccessible
{
public:
    explicit PushButtonAccessible(QPushButton* button) : ProgramAccessible(button, QAccessible::Button) {}

    QAccessible::State state() const override
    {
        QAccessible::State state = ProgramAccessible::state();
        state.pressed = button()->isDown();
        state.checkable = button()->isCheckable();
        state.checked = button()->isChecked();
        state.defaultButton = button()->isDefault();
        return state;
    }

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Accelerator)
            return button()->shortcut().toString(QKeySequence::NativeText);
        return ProgramAccessible::text(kind);
    }

    QStringList actionNames() const override
    {
        return QStringList{pressAction()} + ProgramAccessible::actionNames();
    }
    void doAction(const QString& action) override
    {
        if (action != pressAction())
            ProgramAccessible::doAction(action);
        else if (button()->isEnabled())
            button()->animateClick();
    }
    QStringList keyBindingsForAction(const QString& action) const override
    {
        if (action == pressAction())
            return {text(QAccessible::Accelerator)};
        return ProgramAccessible::keyBindingsForAction(action);
    }

private:
    QPushButton* button() const { return static_cast<QPushButton*>(widget()); }
};

// Where the items of a screen reader's unit (character, word, sentence, line) start and end in a text:
// 0, the end, and every place between where an item starts or ends, in order. A word runs to the start
// of the next one, the spaces after it included, as AT-SPI's words from their starts do.
QList<int> itemBoundaries(const QString& text, QAccessible::TextBoundaryType unit)
{
    QList<int> cuts{0};
    if (unit == QAccessible::LineBoundary || unit == QAccessible::ParagraphBoundary) {
        for (int i = 0; i < text.size(); ++i) {
            if (text.at(i) == u'\n')
                cuts.append(i + 1);
        }
    } else if (unit != QAccessible::NoBoundary) {
        const auto type = unit == QAccessible::WordBoundary       ? QTextBoundaryFinder::Word
                          : unit == QAccessible::SentenceBoundary ? QTextBoundaryFinder::Sentence
                                                                  : QTextBoundaryFinder::Grapheme;
        QTextBoundaryFinder finder(type, text);
        const auto reasons = unit == QAccessible::WordBoundary
                                 ? QTextBoundaryFinder::BoundaryReasons(QTextBoundaryFinder::StartOfItem)
                                 : QTextBoundaryFinder::StartOfItem | QTextBoundaryFinder::EndOfItem;
        // Past the last boundary the finder answers -1, where Qt 6.4's own search asks again for ever.
        for (auto at = finder.toNextBoundary(); at > 0; at = finder.toNextBoundary()) {
            if (finder.boundaryReasons() & reasons)
                cuts.append(int(at));
        }
    }
    if (cuts.last() != text.size())
        cuts.append(int(text.size()));
    return cuts;
}

// The item of the unit at the offset, or the one before or after it; an empty range at the start or the
// end of the text when there is none. Always a range inside the text.
QString textItem(const QString& text, int offset, QAccessible::TextBoundaryType unit, int step, int* start,
                 int* end)
{
    const QList<int> cuts = itemBoundaries(text, unit);
    auto itemAt = [&cuts](int at) {
        const auto next = std::upper_bound(cuts.begin(), cuts.end(), at);
        return std::pair(*(next - 1), next == cuts.end() ? *(next - 1) : *next);
    };
    auto item = itemAt(std::clamp(offset, 0, int(text.size())));
    if (step < 0)
        item = item.first == 0 ? std::pair(0, 0) : itemAt(item.first - 1);
    else if (step > 0)
        item = itemAt(item.second);
    *start = item.first;
    *end = item.second;
    return text.mid(item.first, item.second - item.first);
}

// A one-line text field. Qt's own interface for it, in Qt 6.4.2 and 6.8.2 alike, asks a word and sentence
// search that never returns at the end of the text, and reports text attributes in runs of no length,
// which Orca reads as the text less its last character; this one answers from the whole text.
class LineEditAccessible : public QAccessibleWidget,
                           public QAccessibleTextInterface,
                           public QAccessibleEditableTextInterface
{
public:
    explicit LineEditAccessible(QLineEdit* edit) : QAccessibleWidget(edit, QAccessible::EditableText) {}

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        if (type == QAccessible::EditableTextInterface)
            return static_cast<QAccessibleEditableTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Value)
            return edit()->text();
        const QString text = QAccessibleWidget::text(kind);
        return text.isEmpty() && kind == QAccessible::Description ? edit()->placeholderText() : text;
    }

    void setText(QAccessible::Text kind, const QString& text) override
    {
        if (kind == QAccessible::Value)
            edit()->setText(text);
        else
            QAccessibleWidget::setText(kind, text);
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.editable = true;
        state.readOnly = edit()->isReadOnly();
        state.selectableText = true;
        return state;
    }

    QString text(int startOffset, int endOffset) const override
    {
        return startOffset > endOffset ? QString() : edit()->text().mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return int(edit()->text().size()); }

    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType unit, int* start,
                             int* end) const override
    {
        return textItem(edit()->text(), at(offset), unit, -1, start, end);
    }
    QString textAtOffset(int offset, QAccessible::TextBoundaryType unit, int* start, int* end) const override
    {
        return textItem(edit()->text(), at(offset), unit, 0, start, end);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType unit, int* start,
                            int* end) const override
    {
        return textItem(edit()->text(), at(offset), unit, 1, start, end);
    }

    // The text has one format: one run over all of it.
    QString attributes(int, int* startOffset, int* endOffset) const override
    {
        *startOffset = 0;
        *endOffset = characterCount();
        return QString();
    }

    int cursorPosition() const override { return edit()->cursorPosition(); }
    void setCursorPosition(int position) override { edit()->setCursorPosition(position); }

    int selectionCount() const override { return edit()->hasSelectedText() ? 1 : 0; }
    void selection(int index, int* startOffset, int* endOffset) const override
    {
        *startOffset = *endOffset = 0;
        if (index == 0 && edit()->hasSelectedText()) {
            *startOffset = edit()->selectionStart();
            *endOffset = edit()->selectionEnd();
        }
    }
    void addSelection(int startOffset, int endOffset) override { setSelection(0, startOffset, endOffset); }
    void setSelection(int index, int startOffset, int endOffset) override
    {
        if (index == 0)
            edit()->setSelection(startOffset, endOffset - startOffset);
    }
    void removeSelection(int index) override
    {
        if (index == 0)
            edit()->deselect();
    }

    QRect characterRect(int offset) const override
    {
        const QString text = edit()->text();
        if (offset < 0 || offset >= text.size())
            return QRect();
        // The cursor is drawn where the scrolled text puts it; a character lies as far from it as the text
        // between them is wide.
        const QFontMetrics metrics(edit()->font());
        const QRect cursor = edit()->inputMethodQuery(Qt::ImCursorRectangle).toRect();
        const int x = cursor.x() + metrics.horizontalAdvance(text.left(offset)) -
                      metrics.horizontalAdvance(text.left(edit()->cursorPosition()));
        const QRect rect(x, cursor.y(), metrics.horizontalAdvance(text.mid(offset, 1)), metrics.height());
        return rect.translated(edit()->mapToGlobal(QPoint(0, 0)));
    }
    int offsetAtPoint(const QPoint& point) const override
    {
        return edit()->cursorPositionAt(edit()->mapFromGlobal(point));
    }
    void scrollToSubstring(int startIndex, int endIndex) override
    {
        edit()->setCursorPosition(endIndex);
        edit()->setCursorPosition(startIndex);
    }

    void deleteText(int startOffset, int endOffset) override
    {
        replaceText(startOffset, endOffset, QString());
    }
    void insertText(int offset, const QString& text) override { replaceText(offset, offset, text); }
    // As a paste at that place: the box's rules (a one-line box keeps the first line) apply to the new text.
    void replaceText(int startOffset, int endOffset, const QString& text) override
    {
        const int start = std::clamp(startOffset, 0, characterCount());
        edit()->setSelection(start, std::clamp(endOffset, start, characterCount()) - start);
        edit()->insert(text);
    }

private:
    QLineEdit* edit() const { return static_cast<QLineEdit*>(widget()); }
    // -1 stands for the end of the text, -2 for the cursor.
    int at(int offset) const
    {
        return offset == -1 ? characterCount() : offset == -2 ? cursorPosition() : offset;
    }
};

QAccessibleInterface* programAccessible(const QString&, QObject* object)
{
    // Qt asks once for each class of the object, the most derived first: the answer is given on the first.
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget)
        return nullptr;
    if (qobject_cast<LinkLabel*>(widget) || qobject_cast<LinkCheckBox*>(widget))
        return new ProgramAccessible(widget, QAccessible::Link);
    if (qobject_cast<CaptionFrame*>(widget))
        return new ProgramAccessible(widget, QAccessible::Grouping);
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        return new LineEditAccessible(edit);
    if (auto* label = qobject_cast<QLabel*>(widget); label && label->property(standaloneMark).toBool())
        return new StandaloneLabelAccessible(label);
    // A button with a menu keeps Qt's own interface, which offers the menu.
    if (auto* button = qobject_cast<QPushButton*>(widget); button && !button->menu())
        return new PushButtonAccessible(button);
    // A window made of a plain widget would be a client area ("filler") with no title to a screen reader.
    if (widget->isWindow() && widget->windowType() == Qt::Window &&
        widget->metaObject()->superClass() == &QWidget::staticMetaObject)
        return new ProgramAccessible(widget, QAccessible::Window);
    return nullptr;
}

// A widget brought to the front covers its siblings, or uncovers them: a screen reader that keeps what it
// was told hears of it, and reads no covered page as part of the window.
class CoverWatcher : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::ZOrderChange && QAccessible::isActive() && watched->isWidgetType() &&
            watched->parent()) {
            for (QObject* sibling : watched->parent()->children()) {
                auto* widget = qobject_cast<QWidget*>(sibling);
                if (!widget || widget->isWindow() || !widget->isVisible())
                    continue;
                QAccessibleEvent change(widget, isCovered(widget) ? QAccessible::ObjectHide
                                                                  : QAccessible::ObjectShow);
                QAccessible::updateAccessibility(&change);
            }
        }
        return QObject::eventFilter(watched, event);
    }
};

// Qt's events for the whole application pass this filter, whichever window has the focus. A real key
// reaches its window first, as a spontaneous override; the bridge's replay of it comes to the window later
// as a posted, not spontaneous, event.
class ReplayedAltFilter : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const QEvent::Type type = event->type();
        if (type != QEvent::ShortcutOverride && type != QEvent::KeyPress && type != QEvent::KeyRelease)
            return false;
        const auto* key = static_cast<const QKeyEvent*>(event);
        const bool alt = key->key() == Qt::Key_Alt || key->key() == Qt::Key_Meta;
        if (!watched->isWindowType()) {
            // The override Qt makes for a replayed Alt would have the menu bar take it for a new lone Alt.
            return replaying_ && alt && type == QEvent::ShortcutOverride;
        }
        if (event->spontaneous()) {
            if (type == QEvent::ShortcutOverride)
                altCombined_ =
                    !alt && (altCombined_ || (key->modifiers() & (Qt::AltModifier | Qt::MetaModifier)));
            return false;
        }
        if (!alt || replaying_)
            return false;
        // An Alt held for an access key has done its work: its replay would close the menu just opened.
        if (altCombined_)
            return true;
        replaying_ = true;
        QCoreApplication::sendEvent(watched, event);
        replaying_ = false;
        return true;
    }

private:
    bool altCombined_ = false; // a real key was pressed with Alt held since the last real Alt press
    bool replaying_ = false;
};

// Drops the window's description when the window first loses the activation.
class ArrivalDescription : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::WindowDeactivate) {
            static_cast<QWidget*>(watched)->setAccessibleDescription(QString());
            deleteLater();
        }
        return QObject::eventFilter(watched, event);
    }
};

// A lone Alt, pressed and released where the key would go: Qt makes its shortcut override for a key
// press sent by the program as for a real one, and the menu bar acts on the release.
void pressLoneAlt(QMenuBar* menuBar)
{
    QWidget* target = menuBar->window()->focusWidget();
    if (!target)
        target = menuBar->window();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Alt, Qt::AltModifier);
    QCoreApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Alt, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &release);
}

// A command of the bar itself leaves the focus where it was, and Qt tells a screen reader nothing when
// the bar lets the entry go (a moment after the command): the focus is announced then, within 2 s.
class BarRelease : public QObject
{
public:
    explicit BarRelease(QMenuBar* bar) : QObject(bar), bar_(bar)
    {
        connect(bar, &QMenuBar::triggered, this, &BarRelease::commandDone);
    }

protected:
    void timerEvent(QTimerEvent*) override
    {
        if (bar_->activeAction() && ++ticks_ < 40)
            return;
        timer_.stop();
        QWidget* focus = QApplication::focusWidget();
        if (focus && focus->window() == bar_->window() && QAccessible::isActive()) {
            QAccessibleEvent event(focus, QAccessible::Focus);
            QAccessible::updateAccessibility(&event);
        }
    }

private:
    void commandDone(QAction* action)
    {
        if (action->menu() || !bar_->actions().contains(action))
            return;
        ticks_ = 0;
        timer_.start(50, this);
    }

    QMenuBar* bar_;
    QBasicTimer timer_;
    int ticks_ = 0;
};

} // namespace

namespace Accessibility {

void install()
{
    QAccessible::installFactory(programAccessible);
    qApp->installEventFilter(new CoverWatcher(qApp));
}

void menuBarKeys(QMenuBar* menuBar)
{
    qApp->installEventFilter(new ReplayedAltFilter(menuBar));
    auto* f10 = new QShortcut(QKeySequence(Qt::Key_F10), menuBar->window());
    QObject::connect(f10, &QShortcut::activated, menuBar, [menuBar] { pressLoneAlt(menuBar); });
    new BarRelease(menuBar);
}

void readOnItsOwn(QLabel* label)
{
    label->setProperty(standaloneMark, true);
    // Qt makes a widget's interface as the widget is created, while a screen reader listens: made again.
    if (QAccessibleInterface* made = QAccessible::queryAccessibleInterface(label))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
}

void describeArrival(QWidget* window, const QString& description)
{
    window->setAccessibleDescription(description);
    window->installEventFilter(new ArrivalDescription(window));
}

} // namespace Accessibility
