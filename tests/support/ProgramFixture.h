#pragma once

// One run of the program on fake services: the window registry, started the way main() starts it.

#include "FakeServices.h"

#include "shell/Forms.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QTest>
#include <QWidget>

#include <memory>

class ProgramFixture
{
public:
    ProgramFixture() : forms(std::make_unique<Forms>(fake.services())) {}
    ~ProgramFixture()
    {
        forms.reset();
        flushDeletes();
    }
    ProgramFixture(const ProgramFixture&) = delete;
    ProgramFixture& operator=(const ProgramFixture&) = delete;

    // Runs the start-up sequence; the main window is then shown unless the guard refused.
    void start() { forms->start(); }

    // Windows unloaded by the registry are deleted on the next turn of the event loop.
    static void flushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    template <typename T = QWidget> static T* child(QObject* root, const char* name)
    {
        T* found = root->findChild<T*>(QLatin1String(name));
        if (!found)
            qWarning("no child named %s", name);
        return found;
    }

    // A top-level window of the program by object name, or null when none exists (or it is deleted).
    static QWidget* topLevel(const char* name)
    {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->objectName() == QLatin1String(name))
                return w;
        }
        return nullptr;
    }
    static bool shown(const char* name)
    {
        const QWidget* window = topLevel(name);
        return window && window->isVisible();
    }

    FakeServices fake;
    std::unique_ptr<Forms> forms;
};

// The main window's names and result pages, as the window tests drive and read them.

// Types the two names into the name boxes, key by key.
inline void typeNames(QWidget* main, const QString& yours, const QString& partners)
{
    QTest::keyClicks(ProgramFixture::child(main, "txtNameM"), yours);
    QTest::keyClicks(ProgramFixture::child(main, "txtNameF"), partners);
}

// The text of line 0, 1 or 2 of the result page.
inline QString resultCaption(QWidget* main, int line)
{
    const QByteArray name = "lblResult(" + QByteArray::number(line) + ')';
    return ProgramFixture::child<QLabel>(main, name.constData())->text();
}

// True when the result page is the one the user sees: what lies at the centre of the page rectangle
// belongs to it. The test fails where that is not the page stacked in front.
inline bool resultPageInFront(QWidget* main)
{
    QWidget* frame1 = ProgramFixture::child(main, "Frame1");
    QWidget* frame2 = ProgramFixture::child(main, "Frame2");
    QWidget* seen = frame1->parentWidget()->childAt(frame1->geometry().center());
    const bool frame2Seen = seen && (seen == frame2 || frame2->isAncestorOf(seen));
    // Later siblings in the parent's list of children are painted in front.
    const QObjectList& pages = frame1->parentWidget()->children();
    if (frame2Seen != (pages.indexOf(frame2) > pages.indexOf(frame1)))
        QTest::qFail("the page at the centre is not the one stacked in front", __FILE__, __LINE__);
    return frame2Seen;
}

// Counts the show events of top-level windows by object name, from the moment it is created.
class ShowRecorder : public QObject
{
public:
    ShowRecorder() { qApp->installEventFilter(this); }
    int shows(const QString& name) const { return shown.count(name); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->isWindow())
            shown.append(watched->objectName());
        return false;
    }

private:
    QStringList shown;
};
