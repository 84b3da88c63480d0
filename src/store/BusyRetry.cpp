#include "store/BusyRetry.h"

#include "platform/Prompts.h"
#include "startup/Session.h"
#include "startup/Texts.h"
#include "store/DbError.h"

namespace {
constexpr int DatabaseInUseText = 2000;
}

bool retryWhileBusy(const std::function<void()> &write)
{
    for (;;) {
        try {
            write();
            return true;
        } catch (const DbError &error) {
            if (!error.isBusy())
                throw;
            const Prompt::Answer answer = Prompt::message(Texts::text(DatabaseInUseText), Session::AppTitle,
                                                          Prompt::Icon::Warning, Prompt::Buttons::RetryCancel);
            if (answer != Prompt::Answer::Retry)
                return false;
        }
    }
}
