#pragma once

#include "services/Services.h"
#include "web/PromoDraw.h"
#include "window/Form.h"

#include <QIcon>
#include <QList>
#include <QWidget>

class modHelp;

// The first window of the process, never shown. Its load handler is the start-up sequence.
class frmStartup : public QWidget, public Form
{
    Q_OBJECT
public:
    frmStartup(const Services& services, modHelp& pages);

    void Form_Load() override;
    void Form_Unload() override;

    // The image list; its first image is the program's icon.
    const QList<QIcon> IMGIcon;

signals:
    // The window was closed (by the system): it is to be unloaded.
    void closed();
    // The program is to end: another copy runs, or this window was unloaded.
    void endRequested();
    // The start-up sequence has come to showing the main window.
    void mainWindowRequested();
    // The co-brand draw chose which offer of the main window's strip goes in front.
    void offerDrawn(StripOffer offer);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // Brings one of the main window's two offers to the front, or neither, by one random draw.
    void CoBrand_Randomize();

    const Services& services_;
    modHelp& pages_;
};
