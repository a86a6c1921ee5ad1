#pragma once

#include "modTellAFriend.h"
#include "shell/Form.h"

#include <QWidget>

#include <array>

class Forms;
class LinkLabel;
class LinkCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
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

    // Shows the loaded screen on top without taking the activation, with the focus on Exit.
    void showScreen();
    void hideScreen() { hide(); }

    void cmdClose_Click();
    void Check1_Click();
    void lblGoToHome_Click();
    void cmdSubmit_Click();

    void txtName_GotFocus();
    void txtName_LostFocus();
    void txtEmail_GotFocus();
    void txtEmail_LostFocus();
    void txtEmail_KeyPress(char16_t& keyAscii);
    void txtFriendName_GotFocus();
    void txtFriendName_LostFocus();
    void txtFriendEmail_GotFocus();
    void txtFriendEmail_LostFocus();
    void txtFriendEmail_KeyPress(char16_t& keyAscii);
    void txtMessage_GotFocus();
    void txtMessage_LostFocus();

    // The message as the program holds it: line breaks are CR LF.
    QString messageText() const;
    void setMessageText(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildReferAFriend();
    void emailKeyPress(QLineEdit* field, char16_t& keyAscii);
    // Clears a refer-a-friend field's hint as the field takes the focus, and shows it again when the
    // field is left blank.
    void updateHint(QWidget* field, bool focusIn);

    using Handler = void (frmExitScreen::*)();

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

    // The fields whose hints come and go, with the handlers their focus changes call.
    struct HintField
    {
        QWidget* field;
        QString hint;
        Handler gotFocus;
        Handler lostFocus;
    };
    std::array<HintField, 5> hintFields_{};
};
