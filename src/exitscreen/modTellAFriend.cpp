#include "modTellAFriend.h"

#include "ReferAFriend.h"
#include "services/Services.h"
#include "web/modHelp.h"

void modTellAFriend::SubmitTellAFriend(MessageService& messages, modHelp& pages, QWidget* owner)
{
    const ReferAFriend::Values values{strTAFName, strTAFEmail, strTAFMessage, strTAFFriendName,
                                      strTAFFriendEmail};
    const QString problem = ReferAFriend::fieldProblem(values);
    if (!problem.isEmpty()) {
        messages.error(owner, problem);
        return;
    }
    const QString strTAFURL = ReferAFriend::address(values);
    const QString tooLong = ReferAFriend::addressProblem(strTAFURL);
    if (!tooLong.isEmpty()) {
        messages.error(owner, tooLong);
        return;
    }
    pages.OpenWebPage(strTAFURL);
}
