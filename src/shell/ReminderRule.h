#pragma once

#include <QDate>
#include <QLocale>
#include <QString>

#include <functional>

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

// The date in the user's short format with a four-digit year, so that it reads back as the same date; in
// ISO form where that text would not read back or is one the store cannot keep (as keeps says).
QString dateToText(const QDate& date, const QLocale& locale,
                   const std::function<bool(const QString&)>& keeps);

// Reads a date leniently, as the platform's own conversion does: three numbers in the order of day, month and
// year of the user's short format, separated by that format's separators or by any of " /.-"; one or two
// digits for day and month, two or four for the year, a two-digit year in 1930 to 2029. Numbers that do not
// fit that order are read in the one of day-month-year, month-day-year and year-month-day (the ISO form)
// that they fit, or in which the orders they fit agree. An invalid date for anything else.
QDate textToDate(const QString& text, const QLocale& locale);

// The question, with a single carriage return between its two lines.
inline QString question()
{
    return QStringLiteral(
        "There maybe an update to this software available\rDo you want to check for an update?");
}

} // namespace ReminderRule
