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
    // No change of the working folder and no link in the user's Recent items. The dialog's own list of
    // the last folder per program (ComDlg32's LastVisited MRU) is written whatever the flags say.
    dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR |
                   OFN_DONTADDTORECENT;
    if (!GetOpenFileNameW(&dialog))
        return std::nullopt;
    return QString::fromWCharArray(file.data());
}

#else

#include <QAbstractItemView>
#include <QEvent>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QMimeDatabase>
#include <QSettings>
#include <QTemporaryDir>

namespace {

// Qt's dialog keeps the folders it visited and its sidebar in QtProject's settings, a file every Qt program
// of the user shares. For the dialog's lifetime Qt's native-format user settings point at a private
// folder, removed afterwards: the dialog leaves no trace there and never writes over what another program
// writes meanwhile. The program's own store is an INI-format file, which this does not move.
class PrivateDialogHistory
{
public:
    PrivateDialogHistory()
        : shared_(QFileInfo(QSettings(QSettings::UserScope, QStringLiteral("QtProject")).fileName())
                      .absolutePath())
    {
        // Without a temporary folder the dialog keeps Qt's usual place.
        if (private_.isValid())
            QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, private_.path());
    }
    ~PrivateDialogHistory() { QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, shared_); }
    PrivateDialogHistory(const PrivateDialogHistory&) = delete;
    PrivateDialogHistory& operator=(const PrivateDialogHistory&) = delete;

private:
    QString shared_;
    QTemporaryDir private_;
};

// Qt's own provider guesses a file's type by reading it, on the window's thread: a FIFO that took a listed
// file's place would keep the window waiting for a writer. The type here comes from the name alone.
class NameOnlyIconProvider : public QFileIconProvider
{
public:
    QIcon icon(const QFileInfo& info) const override
    {
        return QFileIconProvider::icon(info.isDir() ? Folder : File);
    }
    QString type(const QFileInfo& info) const override
    {
        if (info.isDir())
            return QFileIconProvider::type(info);
        const QMimeType mime =
            QMimeDatabase().mimeTypeForFile(info.fileName(), QMimeDatabase::MatchExtension);
        return mime.comment().isEmpty() ? mime.name() : mime.comment();
    }
};

// Qt's file list takes the focus with an item current but none selected, or before the folder is read: a
// screen reader names the list alone, and Enter there opens nothing. Whenever the list has the focus and
// items but no selection, the current item (else the first) is selected afresh, so that it is spoken, the
// name box holds it and Enter opens it.
class SelectOnEntry : public QObject
{
public:
    explicit SelectOnEntry(QAbstractItemView* view) : QObject(view), view_(view)
    {
        view->installEventFilter(this);
        connect(view->model(), &QAbstractItemModel::rowsInserted, this, [this](const QModelIndex& parent) {
            if (parent == view_->rootIndex() && view_->hasFocus())
                selectCurrent();
        });
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        // After the list's own focus has been told, so that the item is presented after the list.
        if (event->type() == QEvent::FocusIn)
            QMetaObject::invokeMethod(this, &SelectOnEntry::selectCurrent, Qt::QueuedConnection);
        return false;
    }

private:
    void selectCurrent()
    {
        QItemSelectionModel* selection = view_->selectionModel();
        if (!selection || selection->hasSelection())
            return;
        QModelIndex item = view_->currentIndex();
        if (!item.isValid())
            item = view_->model()->index(0, 0, view_->rootIndex());
        if (!item.isValid())
            return;
        // A change of the current item is what Qt tells a screen reader of.
        selection->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
        selection->setCurrentIndex(item, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }

    QAbstractItemView* view_;
};

} // namespace

std::optional<QString> OpenFileDialogService::openFile(QWidget* owner, const OpenFileRequest& request)
{
    // Declared first, so the dialog writes its history on destruction while the redirect still holds.
    const PrivateDialogHistory history;
    NameOnlyIconProvider icons; // used by the dialog until its end
    QFileDialog dialog(owner, request.title, QString(), request.filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(request.defaultSuffix);
    dialog.setObjectName(QStringLiteral("openFileDialog"));
    // Qt's own dialog behaves the same on every desktop and can be driven by keyboard alone.
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setIconProvider(&icons);
    // The dialog's two views of the folder, its list and its details; not the sidebar, where a selection
    // moves to another folder.
    for (const char* name : {"listView", "treeView"}) {
        if (auto* view = dialog.findChild<QAbstractItemView*>(QLatin1String(name)))
            new SelectOnEntry(view);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

#endif
