#include "QtMessageService.h"

#include "common/AppInfo.h"

#include <QMessageBox>

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
