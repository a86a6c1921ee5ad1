#pragma once

#include "Services.h"

class QtFileDialogService : public FileDialogService
{
public:
    std::optional<QString> openFile(QWidget* owner, const OpenFileRequest& request) override;
};
