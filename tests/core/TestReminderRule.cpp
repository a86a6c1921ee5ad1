// The update reminder's rule: the fifteen-day decision and the stored date, written and read in the user's
// locale.

#include "reading/ShiftCodec.h"
#include "shell/ReminderRule.h"

#include <QTest>

using ReminderRule::Decision;
Q_DECLARE_METATYPE(Decision)

namespace {

bool keepsAll(const QString&)
{
    return true;
}

// The settings store keeps what comes back through its scrambling.
bool keepsScrambled(const QString& text)
{
    return ShiftDecode(ShiftEncode(text)) == text;
}

} // namespace

class TestReminderRule : public QObject
{
    Q_OBJECT
private slots:
    void reminder_data();
    void reminder();
    void storedDate_data();
    void storedDate();
    void reminderDateEveryLocale();
};

void TestReminderRule::reminder_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<int>("storedOffset"); // days from today; 9999 = nothing stored
    QTest::addColumn<Decision>("decision");
    for (const char* locale : {"en_US", "de_DE"}) {
        auto row = [locale](const char* what, int offset, Decision d) {
            QTest::addRow("%s %s", locale, what) << QString::fromLatin1(locale) << offset << d;
        };
        row("first start", 9999, Decision::FirstStart);
        row("today", 0, Decision::Quiet);
        row("14 days ago", -14, Decision::Quiet);
        row("15 days ago", -15, Decision::Due);
        row("14 days ahead", 14, Decision::Quiet);
        row("15 days ahead", 15, Decision::Due);
        row("years ago", -3000, Decision::Due);
    }
}

void TestReminderRule::reminder()
{
    QFETCH(QString, locale);
    QFETCH(int, storedOffset);
    const QLocale loc(locale);
    const QDate today(2026, 12, 7);
    const QString stored = storedOffset == 9999
                               ? QString()
                               : ReminderRule::dateToText(today.addDays(storedOffset), loc, keepsAll);
    QTEST(ReminderRule::decide(stored, today, loc), "decision");
}

// Stored texts, some written under another locale than the one that reads them.
void TestReminderRule::storedDate_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("writtenIn"); // a locale whose own writing this is; empty: written elsewhere
    QTest::addColumn<QString>("readIn");
    QTest::addColumn<QDate>("date"); // invalid: not a date
    const QDate notADate;
    auto row = [](const char* name, const char* text, const char* writtenIn, const char* readIn, QDate date) {
        QTest::newRow(name) << QString::fromUtf8(text) << QString::fromLatin1(writtenIn)
                            << QString::fromLatin1(readIn) << date;
    };
    row("en_US", "12/7/2026", "en_US", "en_US", QDate(2026, 12, 7));
    row("de_DE", "07.12.2026", "de_DE", "de_DE", QDate(2026, 12, 7));
    row("fr_FR", "07/12/2026", "fr_FR", "fr_FR", QDate(2026, 12, 7));
    row("ja_JP", "2026/12/07", "ja_JP", "ja_JP", QDate(2026, 12, 7));
    row("C names the month: ISO", "2026-12-07", "C", "C", QDate(2026, 12, 7));
    row("en_US one-digit parts in en_GB", "3/4/2026", "en_US", "en_GB", QDate(2026, 4, 3));
    row("one-digit parts in de_DE", "3.4.2026", "", "de_DE", QDate(2026, 4, 3));
    row("en_GB in en_US", "07/12/2026", "en_GB", "en_US", QDate(2026, 7, 12));
    row("de_DE in fr_FR", "07.12.2026", "de_DE", "fr_FR", QDate(2026, 12, 7));
    row("ja_JP in en_US", "2026/12/07", "ja_JP", "en_US", QDate(2026, 12, 7));
    row("en_GB in en_US, no month 20", "20/11/2024", "en_GB", "en_US", QDate(2024, 11, 20));
    row("en_US in ja_JP, two readings", "12/7/2026", "en_US", "ja_JP", notADate);
    row("two-digit year", "12/8/26", "", "en_US", QDate(2026, 12, 8));
    row("two-digit year 29", "1/2/29", "", "en_US", QDate(2029, 1, 2));
    row("two-digit year 30", "1/2/30", "", "en_US", QDate(1930, 1, 2));
    row("two-digit year first in ja_JP", "26/12/7", "", "ja_JP", QDate(2026, 12, 7));
    row("spaces around", " 12/7/2026 ", "", "en_US", QDate(2026, 12, 7));
    row("out of range", "13/45/2024", "", "en_US", notADate);
    row("no such day", "29/2/2027", "", "en_GB", notADate);
    row("three-digit year", "1/2/345", "", "en_US", notADate);
    row("two numbers", "1/2", "", "en_US", notADate);
    row("four numbers", "1/2/3/2026", "", "en_US", notADate);
    row("month name", "Dec 7 2026", "", "en_US", notADate);
    row("with a time", "12/7/2026 10:00", "", "en_US", notADate);
    row("other separator", "12_7_2026", "", "en_US", notADate);
}

void TestReminderRule::storedDate()
{
    QFETCH(QString, text);
    QFETCH(QString, writtenIn);
    QFETCH(QString, readIn);
    QFETCH(QDate, date);
    if (!writtenIn.isEmpty()) {
        const QLocale writer(writtenIn);
        QCOMPARE(ReminderRule::dateToText(ReminderRule::textToDate(text, writer), writer, keepsAll), text);
    }
    QCOMPARE(ReminderRule::textToDate(text, QLocale(readIn)), date);
    QCOMPARE(ReminderRule::decide(text, date.isValid() ? date : QDate(2026, 12, 7), QLocale(readIn)),
             date.isValid() ? Decision::Quiet : Decision::NotADate);
}

void TestReminderRule::reminderDateEveryLocale()
{
    // A text the store cannot keep is written in the ISO form.
    QCOMPARE(ReminderRule::dateToText(QDate(2026, 12, 7), QLocale(QStringLiteral("en_US")),
                                      [](const QString&) { return false; }),
             QStringLiteral("2026-12-07"));

    // Every locale Qt knows: dates from each side of 2000 read back as themselves through the store, and
    // what is stored, scrambled, does not read as a date.
    const auto locales =
        QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory);
    QVERIFY2(locales.size() > 100, qPrintable(QString::number(locales.size())));
    for (const QLocale& loc : locales) {
        for (const QDate date : {QDate(2026, 12, 7), QDate(1999, 1, 31), QDate(2099, 2, 28)}) {
            const QString stored = ShiftEncode(ReminderRule::dateToText(date, loc, keepsScrambled));
            const QString text = ShiftDecode(stored);
            QVERIFY2(ReminderRule::textToDate(text, loc) == date &&
                         !ReminderRule::textToDate(stored, loc).isValid(),
                     qPrintable(loc.name() + QLatin1String(": ") + text));
        }
    }
}

QTEST_APPLESS_MAIN(TestReminderRule)
#include "TestReminderRule.moc"
