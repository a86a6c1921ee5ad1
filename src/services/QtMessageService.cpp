#include "QtMessageService.h"

#include "common/AppInfo.h"

#include <QApplication>
#include <QGridLayout>
#include <QMessageBox>

namespace {

// Makes the box wide enough for its title beside the title bar's icon and buttons, as Windows sizes its own
// message boxes: Qt leaves only 50 pixels beside the title, so window managers cut it short.
void fitTitle(QMessageBox& box)
{
    QFont font = QApplication::font("QMdiSubWindowTitleBar");
    font.setBold(true);
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance(box.windowTitle()) + 6 * metrics.height();
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Fixed, QSizePolicy::Fixed), grid->rowCount(), 0,
                      1, grid->columnCount());
}

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
    fitTitle(box);
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
