#pragma once

#include <QByteArrayView>
#include <QString>

namespace Utf8 {

// Decodes strict UTF-8 (no overlong forms, no surrogates, nothing above U+10FFFF) into out, reusing
// out's storage so that a caller decoding many short texts does not allocate for each one. Returns -1 on
// success, otherwise the offset of the first byte that is not valid UTF-8 (out is then unspecified).
qsizetype decode(QByteArrayView bytes, QString& out);

} // namespace Utf8
