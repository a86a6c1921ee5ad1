// Fitted to its rectangle, every label and check box stays readable, whichever face stands in for Verdana
// and MS Sans Serif where they are missing (Debian and Wine have neither).

#include "ProgramFixture.h"
#include "TestSupport.h"

#include "web/PromoTexts.h"
#include "web/frmAbout.h"
#include "web/modHelp.h"

#include <QLabel>
#include <QTest>

class TestLabelsFit : public QObject
{
    Q_OBJECT

private slots:
    void readableOnceFitted_data();
    void readableOnceFitted();

private:
    TemporarySettingsFolder settingsFolder;
};

namespace {

// Fitting may take text below the windows' smallest font, 8.25 pt, but not below this.
constexpr qreal SmallestPoints = 7.5;

QStringList tooSmall(const QWidget* window)
{
    QStringList out;
    for (const QWidget* control : window->findChildren<QWidget*>()) {
        if (control->font().pointSizeF() < SmallestPoints)
            out << QStringLiteral("%1 at %2 pt").arg(control->objectName()).arg(control->font().pointSizeF());
    }
    return out;
}

} // namespace

void TestLabelsFit::readableOnceFitted_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<int>("caption"); // the exit screen's drawn caption
    QTest::newRow("main window") << QStringLiteral("main") << 0;
    QTest::newRow("About window") << QStringLiteral("about") << 0;
    for (int n = 0; n < 4; ++n)
        QTest::addRow("exit screen, caption %d", n) << QStringLiteral("exit") << n;
}

void TestLabelsFit::readableOnceFitted()
{
    QFETCH(QString, window);
    QFETCH(int, caption);
    ProgramFixture program;
    program.start();
    QStringList small;
    if (window == QLatin1String("main")) {
        small = tooSmall(ProgramFixture::topLevel("frmMain"));
    } else if (window == QLatin1String("about")) {
        modHelp pages(program.fake.browser);
        frmAbout about(pages);
        small = tooSmall(&about);
    } else {
        program.fake.random.values = {(float(caption) + 0.5f) / 4}; // draws this caption
        QVERIFY(ProgramFixture::topLevel("frmMain")->close());
        QWidget* screen = ProgramFixture::topLevel("frmExitScreen");
        QCOMPARE(ProgramFixture::child<QLabel>(screen, "Label2")->text(),
                 PromoTexts::exitCaptions()[std::size_t(caption)]);
        small = tooSmall(screen);
    }
    QVERIFY2(small.isEmpty(), qPrintable(small.join(QStringLiteral("; "))));
}

QTEST_MAIN(TestLabelsFit)
#include "TestLabelsFit.moc"
