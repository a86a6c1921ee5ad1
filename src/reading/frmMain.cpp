#include "frmMain.h"

#include "NameRules.h"
#include "SavedReading.h"
#include "common/AppInfo.h"
#include "reading/Compatibility.h"
#include "web/PromoTexts.h"
#include "web/modHelp.h"
#include "widgets/CaptionFrame.h"
#include "widgets/LinkLabel.h"
#include "window/Accessibility.h"
#include "window/FirstLineValidator.h"
#include "window/KeyFilter.h"
#include "window/ScreenCentre.h"
#include "window/Twips.h"
#include "window/WidgetSetup.h"
#include "window/WordMoves.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>

namespace {

constexpr QColor WindowColour(0, 85, 85);
constexpr QColor PageColour(0, 168, 168);

using WidgetSetup::fill;
using WidgetSetup::place;
using WidgetSetup::sansSerif;
using WidgetSetup::verdana;

void setTextColour(QWidget* widget, const QColor& colour)
{
    WidgetSetup::setColour(widget, QPalette::WindowText, colour);
}

QGroupBox* page(QWidget* client, const char* name, const QString& caption)
{
    auto* frame = new CaptionFrame(caption, PageColour, QColor(255, 255, 0),
                                   WidgetSetup::pointFont(verdana(), 8.25, true), client);
    return place(frame, name, 345, 720, 6495, 3375);
}

QLabel* label(QWidget* parent, const char* name, const QString& text, int l, int t, int w, int h)
{
    auto* lbl = place(new QLabel(text, parent), name, l, t, w, h);
    lbl->setFont(WidgetSetup::pointFont(verdana(), 8.25));
    return lbl;
}

} // namespace

frmMain::frmMain(const Services& services, modHelp& pages)
    : QMainWindow(nullptr), messages_(services.messages), files_(services.files), pages_(pages)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(AppInfo::windowTitle());
    setFont(WidgetSetup::pointFont(verdana(), 8.25));

    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(Twips::toPixels(7185), Twips::toPixels(5100));
    fill(client, WindowColour);
    setCentralWidget(client);

    buildMenus();
    buildPromotions(client);
    buildNamesPage(client);
    buildResultPage(client);
    buildBirthDay(client);

    // The open button lies below the visible client area; only its access key reaches it.
    cmdOpen = place(new QPushButton(QStringLiteral("&Open Previously Saved Reading"), client), "cmdOpen", 120,
                    5400, 6135, 375);
    cmdOpen->setFont(WidgetSetup::pointFont(verdana(), 9.75, true));
    cmdOpen->setAccessibleDescription(
        QStringLiteral("Opens a reading saved by QZ Free Numeris Pro and reads the names again."));
    connect(cmdOpen, &QPushButton::clicked, this, &frmMain::cmdOpen_Click);
    // Enter presses the button that has the focus, as Space does; outside a dialog Qt's buttons ignore
    // Enter unless told otherwise.
    for (QPushButton* button : {cmdNext, cmdBack, cmdOpen})
        button->setAutoDefault(true);

    // The links come last, after every control of the pages. The result page itself is no Tab stop; Tab
    // from it goes on to Back.
    WidgetSetup::tabOrder({txtNameM, txtNameF, cmdNext, cboMonth, cboDate, cboYear, cmdOpen, Frame2, cmdBack,
                           Label61, lblFullBrand, lblCobrand});

    WidgetSetup::fitLabels(this);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    ScreenCentre::onFirstShow(this);
}

void frmMain::buildMenus()
{
    QMenuBar* bar = menuBar();
    bar->setFont(QFont());
    Accessibility::menuBarKeys(bar);
    // The File menu's name lacks the m of the other menu names; it is kept, as the name readers look for.
    QMenu* nuFile = bar->addMenu(QStringLiteral("&File"));
    nuFile->setObjectName(QStringLiteral("nuFile"));
    QAction* mnuExit = nuFile->addAction(QStringLiteral("E&xit"));
    mnuExit->setObjectName(QStringLiteral("mnuExit"));
    connect(mnuExit, &QAction::triggered, this, &frmMain::closed);

    QMenu* mnuHelp = bar->addMenu(QStringLiteral("&Help"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    auto entry = [](QMenu* menu, const char* name, const QString& caption) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(QLatin1String(name));
        return action;
    };
    connect(entry(mnuHelp, "mnuOnline", QStringLiteral("&Online Help")), &QAction::triggered, this,
            [this] { pages_.OpenHelpPage(); });
    connect(entry(mnuHelp, "mnuVisit", QStringLiteral("&Visit Us Online")), &QAction::triggered, this,
            [this] { pages_.OpenHomePage(); });
    // Two separators of the Help menu, although their names say File.
    mnuHelp->addSeparator()->setObjectName(QStringLiteral("mnuFileSep1"));
    connect(entry(mnuHelp, "mnuUpdate", QStringLiteral("&Check for Software Update")), &QAction::triggered,
            this, [this] { pages_.OpenDownloadPage(); });
    mnuHelp->addSeparator()->setObjectName(QStringLiteral("mnuFileSep2"));
    connect(entry(mnuHelp, "mnuAbout", QStringLiteral("&About Software")), &QAction::triggered, this,
            [this] { emit aboutRequested(); });

    QAction* mnuDonate = bar->addAction(QStringLiteral("&Donate"));
    mnuDonate->setObjectName(QStringLiteral("mnuDonate"));
    connect(mnuDonate, &QAction::triggered, this, [this] { pages_.OpenDonatePage(); });
    // The window is built with this entry hidden; its action stays wired for when it is shown. A menu
    // bar claims the access key of every action it holds, hidden ones too, and Alt+O would then clash
    // with the open button's, so the hidden entry is kept off the bar rather than merely invisible.
    auto* mnuMakeMoney = new QAction(QStringLiteral("Make Money &Online"), this);
    mnuMakeMoney->setObjectName(QStringLiteral("mnuMakeMoney"));
    mnuMakeMoney->setVisible(false);
    connect(mnuMakeMoney, &QAction::triggered, this, [this] { pages_.OpenFullyBrandedPage(); });
}

void frmMain::buildPromotions(QWidget* client)
{
    Label61 = place(new LinkLabel(PromoTexts::banner(), client), "Label61", 0, 90, 7185, 465);
    Label61->setAlignment(Qt::AlignCenter);
    Label61->setFont(WidgetSetup::pointFont(verdana(), 8.25, true, true));
    setTextColour(Label61, Qt::white);
    Label61->describeLink(QStringLiteral("the home page"));
    connect(Label61, &LinkLabel::clicked, this, [this] { pages_.OpenHomePage(); });

    fraFullBrand = place(new QFrame(client), "fraFullBrand", 0, 4200, 7185, 855);
    fill(fraFullBrand, WindowColour);
    fraFullBrand->setAccessibleName(QStringLiteral("Offer"));
    auto offer = [this](const char* name, const QString& caption, int top) {
        auto* lbl = place(new LinkLabel(caption, fraFullBrand), name, 120, top, 6945, 615);
        lbl->setAlignment(Qt::AlignCenter);
        lbl->setWordWrap(true);
        lbl->setFont(WidgetSetup::pointFont(verdana(), 8.25, true, true));
        fill(lbl, WindowColour);
        setTextColour(lbl, Qt::white);
        return lbl;
    };
    // Built in this order, so the co-brand offer is in front until the draw says otherwise.
    lblFullBrand = offer("lblFullBrand", PromoTexts::fullBrandOffer(), 165);
    lblCobrand = offer("lblCobrand", PromoTexts::coBrandOffer(), 160);
    lblFullBrand->describeLink(QStringLiteral("the page of the fully-branded offer"));
    lblCobrand->describeLink(QStringLiteral("the page of the co-branding offer"));
    // Only the offer in front can be clicked, so only it is reached by Tab.
    lblFullBrand->setFocusPolicy(Qt::NoFocus);
    connect(lblFullBrand, &LinkLabel::clicked, this, [this] { pages_.OpenFullyBrandedPage(); });
    connect(lblCobrand, &LinkLabel::clicked, this, [this] { pages_.OpenCoBrandPage(); });
}

void frmMain::buildNamesPage(QWidget* client)
{
    Frame1 = page(client, "Frame1", QStringLiteral("Personal Details"));
    auto* intro =
        label(Frame1, "lblLabel(2)",
              QStringLiteral("Do you know how well your name and your partner's name are compatible? "
                             "Just enter your names and get the results."),
              180, 480, 6090, 435);
    intro->setWordWrap(true);
    // Read as the window opens (Orca 43) and as its names page is entered (Orca 48, which no longer speaks
    // a window's own description).
    setAccessibleDescription(intro->text());
    Frame1->setAccessibleDescription(intro->text());
    QLabel* yourNameLabel =
        label(Frame1, "lblLabel(0)", QStringLiteral("Enter Your Name"), 660, 1515, 1650, 195);
    QLabel* partnersNameLabel =
        label(Frame1, "lblLabel(1)", QStringLiteral("Enter Partner's Name"), 660, 1995, 2100, 195);

    auto nameBox = [this](const char* name, int top) {
        auto* box = place(new QLineEdit(Frame1), name, 2835, top, 2895, 345);
        box->setFont(WidgetSetup::pointFont(verdana(), 8.25));
        box->setMaxLength(AppInfo::MaxNameLength);
        box->setValidator(new FirstLineValidator(box));
        WordMoves::install(box);
        return box;
    };
    txtNameM = nameBox("txtNameM", 1440);
    txtNameF = nameBox("txtNameF", 1920);
    KeyFilter::install(txtNameM, [this](char16_t& keyAscii) { txtNameM_KeyPress(keyAscii); });
    KeyFilter::install(txtNameF, [this](char16_t& keyAscii) { txtNameF_KeyPress(keyAscii); });
    yourNameLabel->setBuddy(txtNameM);
    partnersNameLabel->setBuddy(txtNameF);
    txtNameM->setAccessibleName(QStringLiteral("Your name"));
    txtNameM->setAccessibleDescription(QStringLiteral("Letters and spaces only."));
    txtNameF->setAccessibleName(QStringLiteral("Your partner's name"));
    txtNameF->setAccessibleDescription(QStringLiteral("Letters and spaces only."));

    cmdNext = place(new QPushButton(QStringLiteral("&Get Our Name Compatibility Reading"), Frame1), "cmdNext",
                    705, 2640, 5055, 345);
    cmdNext->setFont(WidgetSetup::pointFont(verdana(), 8.25, true));
    cmdNext->setAccessibleDescription(QStringLiteral("Shows the level of compatibility of the two names."));
    connect(cmdNext, &QPushButton::clicked, this, &frmMain::cmdNext_Click);
}

void frmMain::buildResultPage(QWidget* client)
{
    Frame2 = page(client, "Frame2", QStringLiteral("QZ Name Compatibility Result"));
    const int tops[] = {840, 1200, 1560};
    const char* names[] = {"lblResult(0)", "lblResult(1)", "lblResult(2)"};
    for (std::size_t i = 0; i < lblResult.size(); ++i) {
        lblResult[i] =
            label(Frame2, names[i], QStringLiteral("compatibility"), 600, tops[i], i == 2 ? 1275 : 1080, 195);
        lblResult[i]->adjustSize();
    }
    lblResult[2]->setFont(WidgetSetup::pointFont(verdana(), 8.25, true));
    lblResult[2]->adjustSize();
    // The name a screen reader speaks is the line itself; the description says what the line is. The
    // lines are read with the page when it takes the focus after a reading.
    for (QLabel* line : lblResult)
        Accessibility::readOnItsOwn(line);
    lblResult[0]->setAccessibleDescription(QStringLiteral("Result: your name as read"));
    lblResult[1]->setAccessibleDescription(QStringLiteral("Result: your partner's name as read"));
    lblResult[2]->setAccessibleDescription(
        QStringLiteral("Result: your level of compatibility, from 0 to 10"));

    cmdBack = place(new QPushButton(QStringLiteral("&Back"), Frame2), "cmdBack", 5400, 2880, 1000, 400);
    cmdBack->setFont(WidgetSetup::pointFont(verdana(), 8.25, true));
    cmdBack->setAccessibleDescription(QStringLiteral("Clears the names and goes back to the names page."));
    // Given the focus after a reading, so a screen reader reads the result lines with it; not a Tab
    // stop.
    Frame2->setFocusPolicy(Qt::ClickFocus);
    connect(cmdBack, &QPushButton::clicked, this, &frmMain::cmdBack_Click);
}

void frmMain::buildBirthDay(QWidget* client)
{
    fraBirthDay = place(new CaptionFrame(QStringLiteral("* Birth Day"), Qt::white, Qt::black,
                                         WidgetSetup::pointFont(verdana(), 8.25), client),
                        "fraBirthDay", 1440, 5880, 3645, 885);
    auto box = [this](const char* labelName, const QString& caption, int labelLeft, int labelWidth,
                      const char* name, int left, int width) {
        auto* lbl = place(new QLabel(caption, fraBirthDay), labelName, labelLeft, 210, labelWidth, 195);
        lbl->setFont(WidgetSetup::pointFont(sansSerif(), 8.25));
        auto* combo = place(new QComboBox(fraBirthDay), name, left, 450, width, 315);
        // Editable and without a fixed list, so every decoded value is taken as it stands.
        combo->setEditable(true);
        return combo;
    };
    cboMonth = box("Label6", QStringLiteral("Month"), 120, 510, "cboMonth", 120, 1455);
    cboDate = box("Label3", QStringLiteral("Date"), 1650, 405, "cboDate", 1650, 855);
    cboYear = box("Label7", QStringLiteral("Year"), 2610, 390, "cboYear", 2580, 975);
    const QString filledFrom = QStringLiteral("Filled in from an opened saved reading.");
    cboMonth->setAccessibleName(QStringLiteral("Birth month"));
    cboDate->setAccessibleName(QStringLiteral("Birth day of the month"));
    cboYear->setAccessibleName(QStringLiteral("Birth year"));
    for (QComboBox* combo : {cboMonth, cboDate, cboYear}) {
        combo->setAccessibleDescription(filledFrom);
        // The editable box inside is a control of its own to a screen reader.
        combo->lineEdit()->setAccessibleName(combo->accessibleName());
        combo->lineEdit()->setAccessibleDescription(filledFrom);
    }
}

void frmMain::Form_Load()
{
    Frame1->raise();
}

void frmMain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!shown_) {
        shown_ = true;
        txtNameM->setFocus();
    }
}

void frmMain::cmdNext_Click()
{
    const QString yourName = NameRules::normalize(txtNameM->text());
    const QString partnersName = NameRules::normalize(txtNameF->text());
    if (!ValidateNames())
        return;
    CalculateCompatibility(yourName, partnersName);
    Frame2->raise();
    // The focus leaves the covered names page for the result page itself, where a screen reader reads the
    // result and where Enter and Space, pressed again or held, act on nothing (on Back they would clear the
    // names).
    Frame2->setFocus();
}

bool frmMain::ValidateNames()
{
    // A box of spaces only has no name in it: it is reported like an empty one.
    if (NameRules::isBlank(txtNameM->text())) {
        messages_.error(this, QStringLiteral("Please Enter Your Name"));
        txtNameM->setFocus();
        return false;
    }
    if (NameRules::isBlank(txtNameF->text())) {
        messages_.error(this, QStringLiteral("Please Enter Your Partner's Name"));
        txtNameF->setFocus();
        return false;
    }
    return true;
}

void frmMain::CalculateCompatibility(const QString& yourName, const QString& partnersName)
{
    const int level = compatibilityLevel(yourName, partnersName);
    lblResult[0]->setText(QStringLiteral("Your Name: ") + yourName);
    lblResult[1]->setText(QStringLiteral("Your Partner's Name: ") + partnersName);
    lblResult[2]->setText(QStringLiteral("Your Level of Compatibility: ") + QString::number(level));
    for (QLabel* l : lblResult)
        l->adjustSize();
#ifdef Q_OS_WIN
    // Screen readers on Windows read a focused frame's description, not the labels inside it, which Orca
    // reads (Orca 48 would say a description as well, twice).
    QStringList lines;
    for (const QLabel* l : lblResult)
        lines.append(l->text());
    Frame2->setAccessibleDescription(lines.join(QStringLiteral(". ")) + u'.');
#endif
}

void frmMain::cmdBack_Click()
{
    // The focus first: a screen reader that hears of the emptied box before the focus arriving there
    // takes the box as already presented and says nothing.
    txtNameM->setFocus();
    txtNameM->clear();
    txtNameF->clear();
    Frame1->raise();
}

void frmMain::txtNameM_KeyPress(char16_t& keyAscii)
{
    nameKeyPress(txtNameM, keyAscii);
}

void frmMain::txtNameF_KeyPress(char16_t& keyAscii)
{
    nameKeyPress(txtNameF, keyAscii);
}

void frmMain::nameKeyPress(QLineEdit* box, char16_t& keyAscii)
{
    if (NameRules::isAllowedKey(keyAscii))
        return;
    keyAscii = 0;
    box->setFocus();
    messages_.error(this, QStringLiteral("Please Enter Character Only"));
}

void frmMain::cmdOpen_Click()
{
    const OpenFileRequest CD{QStringLiteral("Select the source file"),
                             QStringLiteral("QZ Free Numeris Pro (*.num)"), QStringLiteral("num")};
    const std::optional<QString> path = files_.openFile(this, CD);
    if (!path)
        return;
    if (!SavedReading::hasNumEnding(*path)) {
        messages_.error(this, QStringLiteral("Please Check The File."));
        return;
    }
    const std::optional<SavedReading::Lines> lines = SavedReading::readFile(*path);
    if (!lines) {
        // A file that cannot be read is reported, and the window stays as it was.
        messages_.error(this, QStringLiteral("Please Check The File."));
        return;
    }
    const SavedReading::BirthDate date = SavedReading::birthDate(*lines);
    cboMonth->setEditText(date.month);
    cboDate->setEditText(date.day);
    cboYear->setEditText(date.year);
    cmdNext_Click();
    emit readingOpened();
}

void frmMain::showOffer(StripOffer offer)
{
    LinkLabel* front = nullptr;
    if (offer == StripOffer::CoBrand)
        front = lblCobrand;
    else if (offer == StripOffer::FullBrand)
        front = lblFullBrand;
    if (!front)
        return;
    front->raise();
    LinkLabel* back = front == lblCobrand ? lblFullBrand : lblCobrand;
    back->setFocusPolicy(Qt::NoFocus);
    front->setFocusPolicy(Qt::TabFocus);
}

void frmMain::Form_Unload()
{
    emit unloaded();
}

void frmMain::closeEvent(QCloseEvent* event)
{
    event->accept();
    emit closed();
}
