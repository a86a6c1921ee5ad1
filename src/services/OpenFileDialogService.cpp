#include "OpenFileDialogService.h"

#ifdef Q_OS_WIN

#include <QRegularExpression>
#include <QWidget>

#include <qt_windows.h>

#include <commdlg.h>

#include <vector>

// The common dialog that Windows users know, called directly: Qt's dialog, native or not, would keep its
// history in the registry under QtProject.
std::optional<QString> OpenFileDialogService::openFile(QWidget* owner, const OpenFileRequest& request)
{
    // "Label (*.a *.b)" becomes "Label (*.a *.b)\0*.a;*.b\0\0".
    const QRegularExpressionMatch patterns =
        QRegularExpression(QStringLiteral("\\(([^()]*)\\)\\s*$")).match(request.filter);
    const QString filter = request.filter + QChar() +
                           patterns.captured(1).split(u' ', Qt::SkipEmptyParts).join(u';') + QChar() +
                           QChar();
    std::vector<wchar_t> file(32768, L'\0');

    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner ? reinterpret_cast<HWND>(owner->window()->winId()) : nullptr;
    dialog.lpstrFilter = reinterpret_cast<const wchar_t*>(filter.utf16());
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = DWORD(file.size());
    dialog.lpstrTitle = reinterpret_cast<const wchar_t*>(request.title.utf16());
    dialog.lpstrDefExt = reinterpret_cast<const wchar_t*>(request.defaultSuffix.utf16());
    // No change of the working folder either: the dialog leaves the process as it found it.
    dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!GetOpenFileNameW(&dialog))
        return std::nullopt;
    return QString::fromWCharArray(file.data());
}

#else

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QSaveFile>
#include <QSettings>

namespace {

// Qt's dialog keeps the folders it visited and its sidebar in QtProject's settings file, which every Qt
// program of the user shares. The file is put back as it was before the dialog: restored where it was,
// removed where there was none, so the dialog leaves no trace.
class KeptSettingsFile
{
public:
    KeptSettingsFile()
        : path_(QSettings(QSettings::UserScope, QStringLiteral("QtProject")).fileName()),
          folderExisted_(QFileInfo(path_).dir().exists()), existed_(QFileInfo::exists(path_))
    {
        QFile file(path_);
        if (existed_ && file.open(QIODevice::ReadOnly))
            content_ = file.readAll();
    }
    ~KeptSettingsFile()
    {
        if (!existed_) {
            QFile::remove(path_);
            if (!folderExisted_)
                QDir().rmdir(QFileInfo(path_).absolutePath());
            return;
        }
        QFile now(path_);
        if (!content_ || (now.open(QIODevice::ReadOnly) && now.readAll() == *content_))
            return;
        QSaveFile file(path_);
        if (file.open(QIODevice::WriteOnly) && file.write(*content_) == content_->size())
            file.commit();
    }
    KeptSettingsFile(const KeptSettingsFile&) = delete;
    KeptSettingsFile& operator=(const KeptSettingsFile&) = delete;

private:
    QString path_;
    bool folderExisted_;
    bool existed_;
    std::optional<QByteArray> content_; // nothing when the file could not be read
};

} // namespace

std::optional<QString> OpenFileDialogService::openFile(QWidget* owner, const OpenFileRequest& request)
{
    // Declared first, so it restores the file after the dialog has written its history on destruction.
    const KeptSettingsFile kept;
    QFileDialog dialog(owner, request.title, QString(), request.filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(request.defaultSuffix);
    dialog.setObjectName(QStringLiteral("openFileDialog"));
    // Qt's own dialog behaves the same on every desktop and can be driven by keyboard alone.
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

#endif
