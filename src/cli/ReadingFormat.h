#pragma once

#include "reading/Compatibility.h"

#include <QByteArray>
#include <QString>

// The working of a reading written out for people (--explain) and for programs (--json).
namespace ReadingFormat {

// One labelled line per step, ending in a line break.
QString explain(const QString& yourName, const QString& partnersName, const CompatibilitySteps& steps);

// One compact JSON object with the same steps, ending in a line break.
QByteArray json(const QString& yourName, const QString& partnersName, const CompatibilitySteps& steps);

} // namespace ReadingFormat
