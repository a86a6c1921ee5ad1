#pragma once

#include <QByteArrayView>
#include <QString>

// The checks a name given to qzcompat passes before a reading: it must be strict UTF-8 (no overlong
// forms, no surrogates, nothing above U+10FFFF), and, as in the window, neither empty nor only spaces
// nor longer than a name box admits.
class NameCheck
{
public:
    // Both names of a reading, your name first, decoded, upper-cased and trimmed with
    // NameRules::normalize. Returns what is wrong with the first that fails, starting with whose ("your
    // name is empty or only spaces"), or an empty string.
    QString preparePair(QByteArrayView yours, QByteArrayView partners, QString& yourName,
                        QString& partnersName);

private:
    QString prepare(QByteArrayView bytes, const QString& whose, QString& name);

    QString decoded_; // kept between names so that its storage is reused
};
