#pragma once

#include "Services.h"

// Message boxes with the program's title.
class QtMessageService : public MessageService
{
public:
    void error(QWidget* owner, const QString& text) override;
    void information(QWidget* owner, const QString& text) override;
    bool askYesNo(QWidget* owner, const QString& text) override;
};
