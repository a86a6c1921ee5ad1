#include "QtFileDialogService.h"

#include <QFileDialog>

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
