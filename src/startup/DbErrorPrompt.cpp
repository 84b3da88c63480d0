#include "startup/DbErrorPrompt.h"

#include "platform/Prompts.h"
#include "startup/Session.h"
#include "store/DbError.h"
#include "startup/DbErrorText.h"

namespace DbErrorPrompt {

bool tell(const DbError &error, const QString &connectionString)
{
    const DbErrorText::Cause cause = DbErrorText::registerCause(error, connectionString);
    const QString text = DbErrorText::registerSentence(error, connectionString);
    if (!DbErrorText::retryHelps(cause)) {
        Prompt::message(text, Session::AppTitle, Prompt::Icon::Critical, Prompt::Buttons::Ok);
        return false;
    }
    return Prompt::message(text, Session::AppTitle, Prompt::Icon::Warning, Prompt::Buttons::RetryCancel)
           == Prompt::Answer::Retry;
}

bool run(const QString &connectionString, const std::function<void()> &work)
{
    for (;;) {
        try {
            work();
            return true;
        } catch (const DbError &error) {
            if (!tell(error, connectionString))
                return false;
        }
    }
}

} // namespace DbErrorPrompt
