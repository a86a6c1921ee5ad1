#pragma once

#include <QString>

class MessageService;
class modHelp;
class QWidget;

// The refer-a-friend submission: the values of the last press, checked and sent to the maker's page.
class modTellAFriend
{
public:
    QString strTAFName;
    QString strTAFEmail;
    QString strTAFMessage;
    QString strTAFFriendName;
    QString strTAFFriendEmail;
    // The address opened by the last press that passed.
    QString strTAFURL;

    // Checks the values of the last press; shows the first problem, or opens the page.
    void SubmitTellAFriend(MessageService& messages, modHelp& pages, QWidget* owner);
};
