#include "ReminderRule.h"

#include "reading/ShiftCodec.h"

namespace ReminderRule {

QString widenTwoDigitYear(const QString& pattern)
{
    // A plain scan rather than a regular expression: this runs at every start, and the expression engine
    // would be loaded and compiled for it alone.
    QString format;
    format.reserve(pattern.size() + 4);
    for (qsizetype i = 0; i < pattern.size();) {
        qsizetype run = 0;
        while (i + run < pattern.size() && pattern[i + run] == u'y')
            ++run;
        if (run == 0) {
            format += pattern[i++];
            continue;
        }
        format += QString(run == 2 ? 4 : run, u'y');
        i += run;
    }
    return format;
}

QString dateFormat(const QLocale& locale)
{
    // Qt's short formats often use a two-digit year, which reads back in the 1900s.
    return widenTwoDigitYear(locale.dateFormat(QLocale::ShortFormat));
}

namespace {

// The date is stored scrambled, which keeps only characters of codes up to 170 in the single-byte code
// page: a text with other characters (digits of other scripts, direction marks) would come back damaged.
bool survivesStore(const QString& text)
{
    return ShiftDecode(ShiftEncode(text)) == text;
}

constexpr QLatin1String IsoFormat("yyyy-MM-dd");

} // namespace

QString dateToText(const QDate& date, const QLocale& locale)
{
    const QString format = dateFormat(locale);
    QString text = locale.toString(date, format);
    // The user's pattern with Latin digits, and failing that the ISO form, for locales whose dates do not
    // survive the store as they are written.
    if (!survivesStore(text))
        text = QLocale::c().toString(date, format);
    if (!survivesStore(text))
        text = QLocale::c().toString(date, IsoFormat);
    return text;
}

QDate textToDate(const QString& text, const QLocale& locale)
{
    const QString trimmed = text.trimmed();
    const QString format = dateFormat(locale);
    QDate date = locale.toDate(trimmed, format);
    if (!date.isValid())
        date = locale.toDate(trimmed, QLocale::ShortFormat);
    if (!date.isValid())
        date = QLocale::c().toDate(trimmed, format);
    if (!date.isValid())
        date = QLocale::c().toDate(trimmed, IsoFormat);
    return date;
}

Decision decide(const QString& stored, const QDate& today, const QLocale& locale)
{
    if (stored.isEmpty())
        return Decision::FirstStart;
    const QDate date = textToDate(stored, locale);
    if (!date.isValid())
        return Decision::NotADate;
    const qint64 days = today.daysTo(date);
    return (days < -14 || days > 14) ? Decision::Due : Decision::Quiet;
}

} // namespace ReminderRule
