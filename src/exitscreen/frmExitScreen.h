#pragma once

#include "ReferAFriend.h"
#include "common/Text.h"
#include "modTellAFriend.h"
#include "services/Services.h"
#include "window/Form.h"
#include "window/HintFilter.h"

#include <QIcon>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QWidget>

class LinkLabel;
class LinkCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class modHelp;

// The last window of a run: promotions, links, the refer-a-friend form and the Exit button. It stays
// above other windows; closing it in any way ends the program.
class frmExitScreen : public QWidget, public Form
{
    Q_OBJECT
public:
    // The icon is the program's, shown in the title bar and in the window's picture.
    frmExitScreen(const Services& services, modHelp& pages, const QIcon& icon);

    void Form_Load() override;
    void Form_Unload() override;

signals:
    // The user closed the window: it is to be unloaded.
    void closed();
    // The program is to end: Exit was pressed, or this window was unloaded.
    void endRequested();

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

    // The fields' hints: gone on entry, back when a field is left blank.
    void txtName_GotFocus() { HintFilter::apply(txtName, Text::textOnFocusIn, ReferAFriend::nameHint()); }
    void txtName_LostFocus() { HintFilter::apply(txtName, Text::textOnFocusOut, ReferAFriend::nameHint()); }
    void txtEmail_GotFocus() { HintFilter::apply(txtEmail, Text::textOnFocusIn, ReferAFriend::emailHint()); }
    void txtEmail_LostFocus()
    {
        HintFilter::apply(txtEmail, Text::textOnFocusOut, ReferAFriend::emailHint());
    }
    void txtFriendName_GotFocus()
    {
        HintFilter::apply(txtFriendName, Text::textOnFocusIn, ReferAFriend::friendNameHint());
    }
    void txtFriendName_LostFocus()
    {
        HintFilter::apply(txtFriendName, Text::textOnFocusOut, ReferAFriend::friendNameHint());
    }
    void txtFriendEmail_GotFocus()
    {
        HintFilter::apply(txtFriendEmail, Text::textOnFocusIn, ReferAFriend::friendEmailHint());
    }
    void txtFriendEmail_LostFocus()
    {
        HintFilter::apply(txtFriendEmail, Text::textOnFocusOut, ReferAFriend::friendEmailHint());
    }
    void txtMessage_GotFocus()
    {
        HintFilter::apply(txtMessage, Text::textOnFocusIn, ReferAFriend::messageHint());
    }
    void txtMessage_LostFocus()
    {
        HintFilter::apply(txtMessage, Text::textOnFocusOut, ReferAFriend::messageHint());
    }

    void txtEmail_KeyPress(char16_t& keyAscii) { emailKeyPress(txtEmail, keyAscii); }
    void txtFriendEmail_KeyPress(char16_t& keyAscii) { emailKeyPress(txtFriendEmail, keyAscii); }

    void emailKeyPress(QLineEdit* field, char16_t& keyAscii);

    const Services& services_;
    modHelp& pages_;
    const QIcon icon_;
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
