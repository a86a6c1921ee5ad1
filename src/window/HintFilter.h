#pragma once

#include <QString>

#include <functional>

class QLineEdit;
class QPlainTextEdit;
class QWidget;

// A field that shows a hint while it holds nothing but spaces: the hint goes when the field takes the
// focus and comes back when the field is left blank. The filter runs the window's focus handlers when the
// user enters or leaves the field; the focus moving to another window (a message box, another program) is
// not the user leaving the field and runs neither.
namespace HintFilter {

using Handler = std::function<void()>;
// One of Text.h's rules: the field's next text from its text and its hint.
using Rule = QString (*)(const QString& text, const QString& hint);

// The filter belongs to the field and ends with it.
void install(QWidget* field, Handler gotFocus, Handler lostFocus);

// A focus handler's one step: the field's text put through the rule, written only when it changes, so
// that the cursor stays where it was otherwise.
void apply(QLineEdit* field, Rule rule, const QString& hint);
void apply(QPlainTextEdit* field, Rule rule, const QString& hint);

} // namespace HintFilter
