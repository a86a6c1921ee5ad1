#include "frmAbout.h"

#include "PageUrls.h"
#include "PromoTexts.h"
#include "common/AppInfo.h"
#include "modHelp.h"
#include "widgets/LinkLabel.h"
#include "window/AppIcon.h"
#include "window/ScreenCentre.h"
#include "window/Twips.h"
#include "window/WidgetSetup.h"

#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include <algorithm>

namespace {

constexpr QColor TextColour(64, 64, 0);

template <typename L> L* aboutLabel(L* label, const char* name, QRect geometry, const QFont& font)
{
    label->setObjectName(QLatin1String(name));
    label->setGeometry(geometry);
    label->setFont(font);
    WidgetSetup::setColour(label, QPalette::WindowText, TextColour);
    return label;
}

} // namespace

frmAbout::frmAbout(modHelp& pages) : QDialog(nullptr)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(AppInfo::windowTitle());
    setFixedSize(Twips::toPixels(7065), Twips::toPixels(2820));
    WidgetSetup::fill(this, Qt::white);
    const QString verdana = WidgetSetup::verdana();

    auto* cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(Twips::rect(5655, 2400, 1260, 345));
    cmdOK->setDefault(true);
    // Esc closes the dialog through reject(); Enter presses the default button.
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    cmdOK->setAccessibleDescription(QStringLiteral("Closes this window."));

    auto* lblHomePage = aboutLabel(
        new LinkLabel(QStringLiteral("Click here to visit ") + QLatin1String(PageUrls::SiteAddress), this),
        "lblHomePage", Twips::rect(2865, 1215, 4050, 195),
        WidgetSetup::pointFont(verdana, 8.25, false, true));
    lblHomePage->describeLink(QStringLiteral("the home page"));
    // A long site address grows the link to the left, keeping its right edge in line with the text above.
    const int needed = QFontMetrics(lblHomePage->font()).horizontalAdvance(lblHomePage->text()) + 4;
    if (needed > lblHomePage->width()) {
        const int right = lblHomePage->geometry().right();
        lblHomePage->setGeometry(
            QRect(QPoint(std::max(Twips::toPixels(120), right - needed + 1), lblHomePage->y()),
                  QPoint(right, lblHomePage->geometry().bottom())));
    }
    connect(lblHomePage, &LinkLabel::clicked, this, [&pages] { pages.OpenHomePage(); });

    auto* label3 = aboutLabel(new QLabel(PromoTexts::aboutOffer(), this), "Label3",
                              Twips::rect(120, 1530, 6795, 435), WidgetSetup::pointFont(verdana, 8.25, true));
    label3->setWordWrap(true);

    auto* lblCoBrand =
        aboutLabel(new LinkLabel(QStringLiteral("Click here for more details"), this), "lblCoBrand",
                   Twips::rect(4620, 1965, 2295, 195), WidgetSetup::pointFont(verdana, 8.25, false, true));
    lblCoBrand->describeLink(QStringLiteral("the page of the fully-branded offer"));
    // The details are those of the fully-branded offer that Label3 describes.
    connect(lblCoBrand, &LinkLabel::clicked, this, [&pages] { pages.OpenFullyBrandedPage(); });

    aboutLabel(new QLabel(AppInfo::windowTitle(), this), "Label2", Twips::rect(810, 150, 3210, 240),
               WidgetSetup::pointFont(verdana, 9.75, true));
    auto* label1 = aboutLabel(new QLabel(PromoTexts::aboutDescription(), this), "Label1",
                              Twips::rect(810, 390, 6135, 825), WidgetSetup::pointFont(verdana, 8.25));
    label1->setWordWrap(true);

    auto* picture1 = new QLabel(this);
    picture1->setObjectName(QStringLiteral("Picture1"));
    picture1->setGeometry(Twips::rect(120, 150, 480, 480));
    picture1->setPixmap(appIcon().pixmap(32, 32));
    picture1->setAccessibleName(QStringLiteral("Program icon"));

    auto* line1 = new QFrame(this);
    line1->setObjectName(QStringLiteral("Line1"));
    line1->setFrameShape(QFrame::HLine);
    line1->setGeometry(Twips::toPixels(-60), Twips::toPixels(2310) - 1, Twips::toPixels(7740), 2);

    // The links follow the button; Tab from the last one comes back to OK.
    WidgetSetup::tabOrder({cmdOK, lblHomePage, lblCoBrand});
    WidgetSetup::fitLabels(this);
    cmdOK->setFocus();
    ScreenCentre::onFirstShow(this);
}
