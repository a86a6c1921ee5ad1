#pragma once

#include "ReferAFriend.h"
#include "modTellAFriend.h"
#include "shell/Form.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QWidget>

class Forms;
class LinkLabel;
class LinkCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;

// The last window of a run: promotions, links, the refer-a-friend form and the Exit button. It stays
// above other windows; closing it in any way ends the program.
class frmExitScreen : public QWidget, public Form
{
    Q_OBJECT
public:
    explicit frmExitScreen(Forms& forms);

    void Form_Load() override;
    void Form_Unload() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildReferAFriend();
    // The message as the program holds it: line breaks are CR LF.
    QString messageText() const;
    void setMessageText(const QString& text);

    void cmdClose_Click();
    void Check1_Click();
    void lblGoToHome_Click();
    void cmdSubmit_Click();

    void txtEmail_KeyPress(char16_t& keyAscii) { emailKeyPress(txtEmail, keyAscii); }
    void txtFriendEmail_KeyPress(char16_t& keyAscii) { emailKeyPress(txtFriendEmail, keyAscii); }

    void emailKeyPress(QLineEdit* field, char16_t& keyAscii);

    Forms& forms_;
    modTellAFriend tellAFriend_;

    QLabel* picExitScreenIcon = nullptr;
    QLabel* lblExitScreenCaption = nullptr;
    QLabel* Label2 = nullptr;
    LinkCheckBox* Check1 = nullptr;
    QPushButton* cmdClose = nullptr;
    QGroupBox* Frame2 = nullptr;
    QLineEdit* txtName = nullptr;
    QLineEdit* txtEmail = nullptr;
    QLineEdit* txtFriendName = nullptr;
    QLineEdit* txtFriendEmail = nullptr;
    QPlainTextEdit* txtMessage = nullptr;
    QPushButton* cmdSubmit = nullptr;
    QGroupBox* Frame6 = nullptr;
    QLabel* Label3 = nullptr;
    LinkLabel* lblGoToHome = nullptr;
};
