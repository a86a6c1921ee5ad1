#include "ReminderRule.h"

#include <QRegularExpression>

namespace ReminderRule {

QString dateFormat(const QLocale& locale)
{
    QString format = locale.dateFormat(QLocale::ShortFormat);
    // Qt's short formats often use a two-digit year, which reads back in the 1900s.
    static const QRegularExpression twoDigitYear(QStringLiteral("(?<!y)yy(?!y)"));
    format.replace(twoDigitYear, QStringLiteral("yyyy"));
    return format;
}

QString dateToText(const QDate& date, const QLocale& locale) { return locale.toString(date, dateFormat(locale)); }

QDate textToDate(const QString& text, const QLocale& locale)
{
    const QString trimmed = text.trimmed();
    QDate date = locale.toDate(trimmed, dateFormat(locale));
    if (!date.isValid())
        date = locale.toDate(trimmed, QLocale::ShortFormat);
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
