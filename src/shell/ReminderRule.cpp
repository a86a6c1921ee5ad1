#include "ReminderRule.h"

#include <array>

namespace ReminderRule {

namespace {

// The user's short date format with a four-digit year: Qt's short formats often use a two-digit one,
// which reads back in the 1900s.
QString dateFormat(const QLocale& locale)
{
    QString format = locale.dateFormat(QLocale::ShortFormat);
    if (!format.contains(QLatin1String("yyyy")))
        format.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    return format;
}

// The order of day, month and year in a date pattern, as the pattern letters 'd', 'M' and 'y' (year,
// month, day for a pattern that lacks one of them).
QString fieldOrder(const QString& pattern)
{
    QString order;
    bool quoted = false;
    for (const QChar c : pattern) {
        if (c == u'\'')
            quoted = !quoted;
        else if (!quoted && (c == u'd' || c == u'M' || c == u'y') && !order.contains(c))
            order += c;
    }
    return order.size() == 3 ? order : QStringLiteral("yMd");
}

// Between the numbers of a date: what the user's pattern puts there, or one of the usual separators.
bool isSeparator(QChar c, const QString& pattern)
{
    return QStringView(u" /.-").contains(c) || (!c.isLetterOrNumber() && c != u'\'' && pattern.contains(c));
}

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// A two-digit year falls in 1930 to 2029.
int widenYear(int twoDigits)
{
    return twoDigits < 30 ? 2000 + twoDigits : 1900 + twoDigits;
}

struct Number
{
    int value = 0;
    int digits = 0;
};
using Numbers = std::array<Number, 3>;

// The date the three numbers give in an order of 'd', 'M' and 'y'; invalid when they do not fit it.
QDate inOrder(const Numbers& numbers, const QString& order)
{
    int day = 0;
    int month = 0;
    int year = 0;
    for (std::size_t k = 0; k < numbers.size(); ++k) {
        const Number& n = numbers[k];
        const QChar field = order[qsizetype(k)];
        if (field == u'y' && (n.digits == 2 || n.digits == 4))
            year = n.digits == 2 ? widenYear(n.value) : n.value;
        else if (field != u'y' && n.digits <= 2)
            (field == u'd' ? day : month) = n.value;
        else
            return {};
    }
    return QDate(year, month, day);
}

} // namespace

QString dateToText(const QDate& date, const QLocale& locale, const std::function<bool(const QString&)>& keeps)
{
    const QString text = locale.toString(date, dateFormat(locale));
    // Locales whose short dates name the month, use other digits or characters that the store cannot keep
    // store the ISO form, which reads back in every locale.
    if (keeps(text) && textToDate(text, locale) == date)
        return text;
    return QLocale::c().toString(date, QStringLiteral("yyyy-MM-dd"));
}

QDate textToDate(const QString& stored, const QLocale& locale)
{
    const QString text = stored.trimmed();
    const QString pattern = locale.dateFormat(QLocale::ShortFormat);
    Numbers numbers;
    std::size_t count = 0;
    for (qsizetype i = 0; i < text.size();) {
        if (isSeparator(text[i], pattern)) {
            ++i;
            continue;
        }
        if (!isAsciiDigit(text[i]) || count == numbers.size())
            return {};
        Number& number = numbers[count++];
        for (; i < text.size() && isAsciiDigit(text[i]); ++i) {
            if (++number.digits > 4)
                return {};
            number.value = number.value * 10 + (text[i].unicode() - u'0');
        }
    }
    if (count != numbers.size())
        return {};
    const QString own = fieldOrder(pattern);
    if (const QDate date = inOrder(numbers, own); date.isValid())
        return date;
    // Written under another locale: taken when the other orders agree on one date.
    QDate other;
    for (const QString& order : {QStringLiteral("dMy"), QStringLiteral("Mdy"), QStringLiteral("yMd")}) {
        const QDate date = order == own ? QDate() : inOrder(numbers, order);
        if (date.isValid() && other.isValid() && date != other)
            return {};
        if (date.isValid())
            other = date;
    }
    return other;
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
