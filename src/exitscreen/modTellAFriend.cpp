#include "modTellAFriend.h"

#include "ReferAFriend.h"
#include "services/Services.h"
#include "web/modHelp.h"

void modTellAFriend::SubmitTellAFriend(MessageService& messages, modHelp& pages, QWidget* owner)
{
    const ReferAFriend::Values values{strTAFName, strTAFEmail, strTAFMessage, strTAFFriendName,
                                      strTAFFriendEmail};
    const QString problem = ReferAFriend::firstProblem(values);
    if (!problem.isEmpty()) {
        messages.error(owner, problem);
        return;
    }
    strTAFURL = ReferAFriend::address(values);
    pages.OpenWebPage(strTAFURL);
}
