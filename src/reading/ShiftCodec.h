#pragma once

#include <QString>

// Scrambles text by moving every character 85 places up (encode) or down (decode) the single-byte code
// page. A character that would leave the range 0-255, or that the code page cannot represent, is dropped,
// so the output is never longer than the input. Input longer than 32,767 characters gives "".
QString ShiftEncode(const QString& text);
QString ShiftDecode(const QString& text);
