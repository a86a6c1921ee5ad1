#pragma once

#include <QDate>
#include <QLocale>
#include <QString>

// When to remind the user that an update may exist: at most once every fifteen days.
namespace ReminderRule {

enum class Decision
{
    FirstStart, // nothing stored: store today, ask nothing
    Quiet,      // the stored date is within 14 days of today, either way
    Due,        // 15 or more days away, either way: ask, then store today
    NotADate,   // the stored text does not read as a date: leave everything as it is
};

Decision decide(const QString& stored, const QDate& today, const QLocale& locale);

// The user's short date format with a four-digit year, so that the text reads back as the same date.
QString dateFormat(const QLocale& locale);

// A date pattern with every run of exactly two 'y' (a two-digit year) made four; other runs stay.
QString widenTwoDigitYear(const QString& pattern);

QString dateToText(const QDate& date, const QLocale& locale);

// An invalid date when the text is not a date in the user's format.
QDate textToDate(const QString& text, const QLocale& locale);

// The question, with a single carriage return between its two lines.
inline QString question()
{
    return QStringLiteral(
        "There maybe an update to this software available\rDo you want to check for an update?");
}

} // namespace ReminderRule
