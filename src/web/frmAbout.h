#pragma once

#include <QDialog>

class modHelp;

// The About window: modal, without an owner, built afresh for every showing.
class frmAbout : public QDialog
{
    Q_OBJECT
public:
    explicit frmAbout(modHelp& pages);
};
