#include "alerts/CheckDue.h"
#include "startup/CommandLine.h"
#include "startup/Startup.h"

int main(int argc, char *argv[])
{
    // Answered before the application object, so they need no display either.
    if (const auto exitCode = CommandLine::answer(argc, argv))
        return *exitCode;
    if (CommandLine::asksDueCheck(argc, argv))
        return CheckDue::run(argc, argv);
    return Startup::run(argc, argv);
}
