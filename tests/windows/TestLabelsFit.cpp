// Every label's text fits its rectangle with the font in use, whichever face stands in for Verdana and
// MS Sans Serif where they are missing (Debian and Wine have neither).

#include "ProgramFixture.h"
#include "TestSupport.h"

#include "exitscreen/frmExitScreen.h"
#include "reading/frmMain.h"
#include "web/PromoTexts.h"
#include "web/frmAbout.h"

#include <QLabel>
#include <QTest>

class TestLabelsFit : public QObject
{
    Q_OBJECT

private slots:
    void textFits_data();
    void textFits();

private:
    TemporarySettingsFolder settingsFolder;
};

namespace {

// The labels of a window whose text is cut: too wide for its line, or too many lines for the height.
QStringList clipped(const QWidget* window)
{
    QStringList out;
    for (const QLabel* label : window->findChildren<QLabel*>()) {
        if (label->text().isEmpty())
            continue;
        const QSize needed =
            label->wordWrap() ? QSize(label->minimumSizeHint().width(), label->heightForWidth(label->width()))
                              : label->sizeHint();
        if (needed.width() > label->width() || needed.height() > label->height())
            out << QStringLiteral("%1 needs %2x%3 in %4x%5 (%6)")
                       .arg(label->objectName())
                       .arg(needed.width())
                       .arg(needed.height())
                       .arg(label->width())
                       .arg(label->height())
                       .arg(label->fontInfo().family());
    }
    return out;
}

} // namespace

void TestLabelsFit::textFits_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<int>("caption"); // the exit screen's drawn caption
    QTest::newRow("main window") << QStringLiteral("main") << 0;
    QTest::newRow("About window") << QStringLiteral("about") << 0;
    for (int n = 0; n < 4; ++n)
        QTest::addRow("exit screen, caption %d", n) << QStringLiteral("exit") << n;
}

void TestLabelsFit::textFits()
{
    QFETCH(QString, window);
    QFETCH(int, caption);
    ProgramFixture program;
    program.start();
    QStringList cut;
    if (window == QLatin1String("main")) {
        cut = clipped(&program.forms->main());
    } else if (window == QLatin1String("about")) {
        frmAbout about(program.forms->pages());
        cut = clipped(&about);
    } else {
        program.fake.random.values = {(float(caption) + 0.5f) / 4}; // draws this caption
        frmExitScreen& screen = program.forms->exitScreen();
        QCOMPARE(ProgramFixture::child<QLabel>(&screen, "Label2")->text(),
                 PromoTexts::exitCaptions()[std::size_t(caption)]);
        cut = clipped(&screen);
    }
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QStringLiteral("; "))));
}

QTEST_MAIN(TestLabelsFit)
#include "TestLabelsFit.moc"
