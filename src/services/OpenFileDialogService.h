#pragma once

#include "Services.h"

// Qt's own file dialog on Linux, which leaves Qt's shared dialog history as it found it; the common file
// dialog on Windows.
class OpenFileDialogService : public FileDialogService
{
public:
    std::optional<QString> openFile(QWidget* owner, const OpenFileRequest& request) override;
};
