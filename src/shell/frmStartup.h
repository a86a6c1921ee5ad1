#pragma once

#include "shell/Form.h"

#include <QWidget>

class Forms;

// The first window of the process, never shown. Its load handler is the start-up sequence.
class frmStartup : public QWidget, public Form
{
    Q_OBJECT
public:
    explicit frmStartup(Forms& forms);

    void Form_Load() override;
    void Form_Unload() override;

private:
    // Brings one of the main window's two offers to the front, or neither, by one random draw.
    void CoBrand_Randomize();

    Forms& forms_;
};
