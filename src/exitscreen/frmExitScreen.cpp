#include "frmExitScreen.h"

#include "ReferAFriend.h"
#include "common/AppInfo.h"
#include "web/PromoDraw.h"
#include "web/PromoTexts.h"
#include "web/modHelp.h"
#include "widgets/CaptionFrame.h"
#include "widgets/LinkCheckBox.h"
#include "widgets/LinkLabel.h"
#include "window/Accessibility.h"
#include "window/FirstLineValidator.h"
#include "window/KeyFilter.h"
#include "window/ScreenCentre.h"
#include "window/TopmostWindow.h"
#include "window/Twips.h"
#include "window/WidgetSetup.h"
#include "window/WordMoves.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTextDocument>

namespace {

using WidgetSetup::place;
using WidgetSetup::sansSerif;
using WidgetSetup::setColour;
using WidgetSetup::verdana;

QGroupBox* navyFrame(QWidget* parent, const char* name, const QString& caption, int l, int t, int w, int h)
{
    auto* frame = new CaptionFrame(caption, QColor(0, 0, 128), Qt::white,
                                   WidgetSetup::pointFont(verdana(), 9.75, true), parent);
    return place(frame, name, l, t, w, h);
}

// Shift+Enter and Ctrl+Enter, which break the line in a Windows multi-line box just as Enter does.
bool isLineBreakKey(const QKeyEvent* key)
{
    const Qt::KeyboardModifiers held = key->modifiers() & ~Qt::KeypadModifier;
    return (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && held != Qt::NoModifier &&
           (held & ~(Qt::ShiftModifier | Qt::ControlModifier)) == Qt::NoModifier;
}

} // namespace

frmExitScreen::frmExitScreen(const Services& services, modHelp& pages, const QIcon& icon)
    : QWidget(nullptr), services_(services), pages_(pages), icon_(icon)
{
    setObjectName(QStringLiteral("frmExitScreen"));
    TopmostWindow::prepare(this);
    ScreenCentre::onFirstShow(this);
    setFixedSize(Twips::toPixels(11115), Twips::toPixels(4725));
    setColour(this, QPalette::Window, Qt::white);
    setAutoFillBackground(true);
    setFont(WidgetSetup::pointFont(sansSerif(), 8.25));

    picExitScreenIcon = place(new QLabel(this), "picExitScreenIcon", 360, 120, 540, 540);
    picExitScreenIcon->setAccessibleName(QStringLiteral("Program icon"));
    lblExitScreenCaption = place(new QLabel(this), "lblExitScreenCaption", 1080, 240, 720, 435);
    lblExitScreenCaption->setFont(WidgetSetup::pointFont(sansSerif(), 18));
    Label2 = place(new QLabel(this), "Label2", 120, 840, 6975, 1095);
    Label2->setWordWrap(true);
    Label2->setFont(WidgetSetup::pointFont(verdana(), 9.75, true));

    Check1 = place(new LinkCheckBox(PromoTexts::forumInvitation(), this), "Check1", 30, 2040, 7185, 555);
    Check1->setFont(WidgetSetup::pointFont(verdana(), 14.25));
    setColour(Check1, QPalette::WindowText, QColor(0, 0, 192));
    Check1->setCursor(linkCursor());
    Check1->setAccessibleDescription(QStringLiteral("Opens the discussion forum site in your web browser."));
    connect(Check1, &QCheckBox::toggled, this, &frmExitScreen::Check1_Click);

    cmdClose = place(new QPushButton(QStringLiteral("E&xit"), this), "cmdClose", 6000, 2760, 1245, 375);
    // The focus starts here, and Enter must press it as Space does; outside a dialog Qt's buttons
    // ignore Enter unless told otherwise.
    cmdClose->setAutoDefault(true);
    connect(cmdClose, &QPushButton::clicked, this, &frmExitScreen::cmdClose_Click);
    cmdClose->setAccessibleDescription(QStringLiteral("Ends the program."));

    buildReferAFriend();

    Frame6 = navyFrame(this, "Frame6", QStringLiteral("Download Kelpan Softwares"), 7320, 120, 3735, 4575);
    Label3 = place(new QLabel(PromoTexts::familyParagraph(), Frame6), "Label3", 120, 360, 3495, 3855);
    Label3->setWordWrap(true);
    Label3->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label3->setFont(WidgetSetup::pointFont(verdana(), 9));
    setColour(Label3, QPalette::WindowText, Qt::white);
    lblGoToHome = place(new LinkLabel(QStringLiteral("Click Here To Visit Kelpan Softwares"), Frame6),
                        "lblGoToHome", 75, 4250, 3585, 210);
    setColour(lblGoToHome, QPalette::WindowText, QColor(255, 255, 0));
    lblGoToHome->describeLink(QStringLiteral("the Kelpan Softwares catalogue"));
    connect(lblGoToHome, &LinkLabel::clicked, this, &frmExitScreen::lblGoToHome_Click);

    // Tab order by tab index: Exit, Check1, then the form's fields and button.
    WidgetSetup::tabOrder({cmdClose, Check1, txtName, cmdSubmit, txtEmail, txtFriendEmail, txtFriendName,
                           txtMessage, lblGoToHome});
}

void frmExitScreen::buildReferAFriend()
{
    Frame2 = navyFrame(this, "Frame2", QStringLiteral("Refer A Friend"), 120, 3240, 7065, 1455);
    auto field = [this](const char* name, const QString& hint, int left, int top) {
        auto* box = place(new QLineEdit(hint, Frame2), name, left, top, 3375, 285);
        box->setValidator(new FirstLineValidator(box));
        WordMoves::install(box);
        return box;
    };
    txtName = field("txtName", ReferAFriend::nameHint(), 85, 360);
    txtEmail = field("txtEmail", ReferAFriend::emailHint(), 3600, 360);
    txtFriendName = field("txtFriendName", ReferAFriend::friendNameHint(), 85, 720);
    txtFriendEmail = field("txtFriendEmail", ReferAFriend::friendEmailHint(), 3600, 720);
    HintFilter::install(
        txtName, [this] { txtName_GotFocus(); }, [this] { txtName_LostFocus(); });
    HintFilter::install(
        txtEmail, [this] { txtEmail_GotFocus(); }, [this] { txtEmail_LostFocus(); });
    HintFilter::install(
        txtFriendName, [this] { txtFriendName_GotFocus(); }, [this] { txtFriendName_LostFocus(); });
    HintFilter::install(
        txtFriendEmail, [this] { txtFriendEmail_GotFocus(); }, [this] { txtFriendEmail_LostFocus(); });
    KeyFilter::install(txtEmail, [this](char16_t& keyAscii) { txtEmail_KeyPress(keyAscii); });
    KeyFilter::install(txtFriendEmail, [this](char16_t& keyAscii) { txtFriendEmail_KeyPress(keyAscii); });
    // The fields have no labels, and their hints vanish on entry: the names stay.
    txtName->setAccessibleName(QStringLiteral("Your name"));
    txtName->setAccessibleDescription(QStringLiteral("Refer a friend: your name."));
    txtEmail->setAccessibleName(QStringLiteral("Your email address"));
    txtEmail->setAccessibleDescription(QStringLiteral("Refer a friend: your email address, without spaces."));
    txtFriendName->setAccessibleName(QStringLiteral("Friend's name"));
    txtFriendName->setAccessibleDescription(QStringLiteral("Refer a friend: the name of your friend."));
    txtFriendEmail->setAccessibleName(QStringLiteral("Friend's email address"));
    txtFriendEmail->setAccessibleDescription(
        QStringLiteral("Refer a friend: the email address of your friend, without spaces."));

    // Below the frame's lower edge, so never seen; it still takes the focus by Tab.
    txtMessage = place(new QPlainTextEdit(Frame2), "txtMessage", 4800, 3600, 1815, 495);
    txtMessage->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtMessage->setTabChangesFocus(true);
    txtMessage->installEventFilter(this);
    WordMoves::install(txtMessage);
    HintFilter::install(
        txtMessage, [this] { txtMessage_GotFocus(); }, [this] { txtMessage_LostFocus(); });
    setMessageText(ReferAFriend::initialMessage());
    txtMessage->setAccessibleName(QStringLiteral("Your message"));
    txtMessage->setAccessibleDescription(QStringLiteral(
        "Refer a friend: the message sent to your friend. Until you change it, it holds the hint."));

    cmdSubmit = place(new QPushButton(QStringLiteral("Refer A Friend &Now"), Frame2), "cmdSubmit", 1920, 1080,
                      3375, 285);
    cmdSubmit->setFont(WidgetSetup::pointFont(verdana(), 8.25, true));
    cmdSubmit->setAutoDefault(true);
    cmdSubmit->setAccessibleDescription(
        QStringLiteral("Hands the form to the refer-a-friend page in your web browser."));
    connect(cmdSubmit, &QPushButton::clicked, this, &frmExitScreen::cmdSubmit_Click);
}

QString frmExitScreen::messageText() const
{
    // The raw text: toPlainText() would turn a no-break space into a space and a line separator into a
    // line break. Only the breaks between paragraphs are the line breaks typed with Enter.
    return txtMessage->document()->toRawText().replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
}

void frmExitScreen::setMessageText(const QString& text)
{
    QString plain = text;
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    txtMessage->setPlainText(plain);
}

void frmExitScreen::Form_Load()
{
    setWindowTitle(AppInfo::windowTitle());
    lblExitScreenCaption->setText(AppInfo::windowTitle());
    lblExitScreenCaption->adjustSize();

    setWindowIcon(icon_);
    picExitScreenIcon->setPixmap(icon_.pixmap(32, 32));

    RandomSource& random = services_.random;
    random.seedFromClock();
    const auto captions = PromoTexts::exitCaptions();
    Label2->setText(captions[static_cast<std::size_t>(PromoDraw::exitCaptionIndex(random.next()))]);
    WidgetSetup::fitLabels(this);
    // Read with the window's title as the screen opens: what a sighted user sees at first glance.
    Accessibility::describeArrival(this, Label2->text() + QStringLiteral(" ") + Frame2->title());

    TopmostWindow::show(this);
}

void frmExitScreen::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // Each time the program shows the screen, Exit has the focus; a window restored by the desktop keeps
    // its own.
    if (!event->spontaneous())
        cmdClose->setFocus();
}

void frmExitScreen::Form_Unload()
{
    emit endRequested();
}

void frmExitScreen::closeEvent(QCloseEvent* event)
{
    event->accept();
    emit closed();
}

void frmExitScreen::cmdClose_Click()
{
    emit endRequested();
}

void frmExitScreen::Check1_Click()
{
    // The box behaves as a push button: each click opens the page and leaves it unchecked.
    if (Check1->isChecked()) {
        Check1->setChecked(false);
        pages_.OpenHomePage();
    }
}

void frmExitScreen::lblGoToHome_Click()
{
    pages_.OpenSoftwaresPage();
}

void frmExitScreen::cmdSubmit_Click()
{
    tellAFriend_.strTAFName = Text::trimSpaces(txtName->text());
    tellAFriend_.strTAFEmail = Text::trimSpaces(txtEmail->text());
    tellAFriend_.strTAFMessage = Text::trimSpaces(messageText());
    tellAFriend_.strTAFFriendName = Text::trimSpaces(txtFriendName->text());
    tellAFriend_.strTAFFriendEmail = Text::trimSpaces(txtFriendEmail->text());
    tellAFriend_.SubmitTellAFriend(services_.messages, pages_, this);
}

void frmExitScreen::emailKeyPress(QLineEdit* field, char16_t& keyAscii)
{
    if (keyAscii != u' ')
        return;
    services_.messages.error(this, ReferAFriend::noSpaceMessage());
    keyAscii = 0;
    field->setFocus();
}

bool frmExitScreen::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == txtMessage && event->type() == QEvent::KeyPress &&
        isLineBreakKey(static_cast<QKeyEvent*>(event))) {
        // The paragraph break that Enter types, sent as CR LF: Qt types a line separator for Shift+Enter
        // and nothing for Ctrl+Enter.
        txtMessage->insertPlainText(QStringLiteral("\n"));
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
