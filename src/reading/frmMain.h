#pragma once

#include "services/Services.h"
#include "web/PromoDraw.h"
#include "window/Form.h"

#include <QMainWindow>

#include <array>

class LinkLabel;
class QAction;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class modHelp;

// The main window: the names page and the result page in one rectangle, switched by z-order.
class frmMain : public QMainWindow, public Form
{
    Q_OBJECT
public:
    frmMain(const Services& services, modHelp& pages);

    void Form_Load() override;
    // Close sequence: announces the unload, which shows the exit screen.
    void Form_Unload() override;

    // Brings one offer of the promotional strip to the front.
    void showOffer(StripOffer offer);

signals:
    // The user closed the window (close box or File > Exit): it is to be unloaded.
    void closed();
    // The window is being unloaded.
    void unloaded();
    // The user asked for the About window.
    void aboutRequested();
    // A saved reading was opened and read (the other windows are then hidden).
    void readingOpened();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void cmdNext_Click();
    bool ValidateNames();
    void cmdBack_Click();
    void cmdOpen_Click();
    // Key filter of the name boxes: a code set to 0 is discarded.
    void txtNameM_KeyPress(char16_t& keyAscii);
    void txtNameF_KeyPress(char16_t& keyAscii);

    // Writes the three result lines for two names that are already upper-cased and trimmed.
    void CalculateCompatibility(const QString& yourName, const QString& partnersName);

    void buildMenus();
    void buildNamesPage(QWidget* client);
    void buildResultPage(QWidget* client);
    void buildPromotions(QWidget* client);
    void buildBirthDay(QWidget* client);
    void nameKeyPress(QLineEdit* box, char16_t& keyAscii);

    MessageService& messages_;
    FileDialogService& files_;
    modHelp& pages_;
    bool shown_ = false;

    LinkLabel* Label61 = nullptr;
    QGroupBox* Frame1 = nullptr;
    QLineEdit* txtNameM = nullptr;
    QLineEdit* txtNameF = nullptr;
    QPushButton* cmdNext = nullptr;
    QGroupBox* Frame2 = nullptr;
    std::array<QLabel*, 3> lblResult{};
    QPushButton* cmdBack = nullptr;
    QFrame* fraFullBrand = nullptr;
    LinkLabel* lblFullBrand = nullptr;
    LinkLabel* lblCobrand = nullptr;
    QPushButton* cmdOpen = nullptr;
    QGroupBox* fraBirthDay = nullptr;
    QComboBox* cboMonth = nullptr;
    QComboBox* cboDate = nullptr;
    QComboBox* cboYear = nullptr;
};
