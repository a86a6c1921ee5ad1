#pragma once

#include "shell/Form.h"

#include <QIcon>
#include <QWidget>

class Forms;

// The first window of the process, never shown. Its load handler is the start-up sequence; it carries
// the program's icon for the other windows.
class frmStartup : public QWidget, public Form
{
    Q_OBJECT
public:
    explicit frmStartup(Forms& forms);

    void Form_Load() override;
    void Form_Unload() override;

    // Hides the window. It is never shown, and hiding a window that never had a native window would
    // create one (and convert its icon) for nothing.
    void hideWindow()
    {
        if (isVisible())
            hide();
    }

    // The first image of the icon list: the program's icon.
    QIcon IMGIcon() const { return icon_; }

private:
    // Brings one of the main window's two offers to the front, or neither, by one random draw.
    void CoBrand_Randomize();

    Forms& forms_;
    QIcon icon_;
    int intCoBrandRandomNumber = 0;
};
