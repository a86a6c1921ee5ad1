#include "QtServices.h"

#include "common/AppInfo.h"

#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QUrl>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#endif

#include <cstdio>
#include <cstdlib>

namespace {

QMessageBox::StandardButton showBox(QWidget* owner, QMessageBox::Icon icon, const QString& text,
                                    QMessageBox::StandardButtons buttons, QMessageBox::StandardButton def)
{
    // A lone carriage return separates lines in the program's texts; Qt's labels break only on LF.
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    QMessageBox box(icon, AppInfo::title(), shown, buttons, owner);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(def);
    box.setObjectName(QStringLiteral("messageBox"));
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

} // namespace

void QtMessageService::error(QWidget* owner, const QString& text)
{
    showBox(owner, QMessageBox::Critical, text, QMessageBox::Ok, QMessageBox::Ok);
}

void QtMessageService::information(QWidget* owner, const QString& text)
{
    showBox(owner, QMessageBox::Information, text, QMessageBox::Ok, QMessageBox::Ok);
}

bool QtMessageService::askYesNo(QWidget* owner, const QString& text)
{
    return showBox(owner, QMessageBox::Information, text, QMessageBox::Yes | QMessageBox::No,
                   QMessageBox::Yes) == QMessageBox::Yes;
}

std::optional<QString> QtFileDialogService::openFile(QWidget* owner, const OpenFileRequest& request)
{
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

void DesktopBrowserService::open(const QString& url)
{
    // The addresses are already in their final form; TolerantMode keeps them as they are.
    QDesktopServices::openUrl(QUrl(url, QUrl::TolerantMode));
}

LockFileInstanceGuard::LockFileInstanceGuard(QString applicationName)
    : applicationName_(std::move(applicationName))
{
}

#ifdef Q_OS_WIN

LockFileInstanceGuard::~LockFileInstanceGuard()
{
    if (mutex_)
        CloseHandle(static_cast<HANDLE>(mutex_));
}

bool LockFileInstanceGuard::claim()
{
    // "Local\\" is the namespace of the user's session: another user's copy is no obstacle.
    const QString name = QStringLiteral("Local\\QZ-") + applicationName_;
    HANDLE mutex = CreateMutexW(nullptr, FALSE, reinterpret_cast<const wchar_t*>(name.utf16()));
    // Only a mutex that exists already means another copy runs (access denied: it exists, created by a
    // copy with other rights); any other failure must not keep the program from starting.
    if (!mutex)
        return GetLastError() != ERROR_ACCESS_DENIED;
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(mutex);
        return false;
    }
    mutex_ = mutex;
    return true;
}

#else

LockFileInstanceGuard::~LockFileInstanceGuard() = default;

bool LockFileInstanceGuard::claim()
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    QDir().mkpath(dir);
    lock_ = std::make_unique<QLockFile>(dir + u'/' + applicationName_ + QStringLiteral(".lock"));
    // A lock is stale only when its holder is gone; a live holder is never taken over, however old.
    lock_->setStaleLockTime(0);
    if (lock_->tryLock(0))
        return true;
    // A lock left by a copy that died has already been taken over by tryLock. Only a lock held by a live
    // copy means another copy runs; a lock that cannot be made at all (no runtime folder, no permission)
    // must not keep the program from starting.
    return lock_->error() != QLockFile::LockFailedError;
}

#endif

QDate SystemClock::today()
{
    return QDate::currentDate();
}

void SystemRandomSource::seedFromClock()
{
    generator_.seed(static_cast<quint32>(QDateTime::currentMSecsSinceEpoch()));
}

float SystemRandomSource::next()
{
    return static_cast<float>(generator_.generate() >> 8) * (1.0f / 16777216.0f);
}

void ImmediateProcessExit::terminate()
{
    // The process ends here: no further event is handled and no destructor of a window runs again.
    std::fflush(nullptr);
    std::_Exit(0);
}
