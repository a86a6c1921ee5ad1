#include "Output.h"

#ifdef Q_OS_WIN
#include <QString>

#include <windows.h>

#include <io.h>
#endif

namespace Output {

bool write(std::FILE* stream, QByteArrayView utf8)
{
#ifdef Q_OS_WIN
    const auto console = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
    DWORD mode = 0;
    if (console != INVALID_HANDLE_VALUE && GetConsoleMode(console, &mode)) {
        const QString text = QString::fromUtf8(utf8);
        const auto* units = reinterpret_cast<const wchar_t*>(text.utf16());
        std::fflush(stream); // what went through the stream before goes out first
        for (qsizetype done = 0; done < text.size();) {
            DWORD written = 0;
            if (!WriteConsoleW(console, units + done, static_cast<DWORD>(text.size() - done), &written,
                               nullptr) ||
                written == 0)
                return false;
            done += written;
        }
        return true;
    }
#endif
    return std::fwrite(utf8.data(), 1, static_cast<std::size_t>(utf8.size()), stream) ==
           static_cast<std::size_t>(utf8.size());
}

} // namespace Output
