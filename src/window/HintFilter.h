#pragma once

#include <QString>

class QLineEdit;
class QPlainTextEdit;

// A field that shows a hint while it holds nothing but spaces: the hint goes when the field takes the
// focus and comes back when the field is left blank. The focus moving to another window (a message box,
// another program) is not the user leaving the field and changes nothing.
namespace HintFilter {

// The filter belongs to the field and ends with it.
void install(QLineEdit* field, const QString& hint);
void install(QPlainTextEdit* field, const QString& hint);

} // namespace HintFilter
