#pragma once

// Small helpers shared by the test programs.

#include <QByteArray>
#include <QString>

class QWidget;

// A value as a saved reading and the settings store keep it: every byte shifted 85 up the single-byte
// code page.
QByteArray encoded(const QByteArray& plain);

// The address of a page of the maker's site, from its page key.
QString page(const char* key);

// Whether the focus is on control or on a widget inside it (a combo box's line edit).
bool hasFocus(const QWidget* control);

// Writes bytes to path, replacing what was there; false when the file cannot be written whole.
bool writeFile(const QString& path, const QByteArray& bytes);
