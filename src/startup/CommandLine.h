#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The program's command line: --help and --version answer and end the run before
// any window, setting or database exists; anything unknown ends it with a word
// on standard error. Qt's own window-system options pass through.
namespace CommandLine {

struct Outcome
{
    bool start = true;   // false: print, then end with exitCode
    int exitCode = 0;
    QString output;      // for standard output
    QString error;       // for standard error
    bool checkDue = false;   // --check-due: notify what is due, no window
    // --register: a server register as given, or an absolute folder (a path to
    // an orvel2.mdb names its folder); empty when not given.
    QString registerName;
};

// arguments starts with the program's name, as argv does.
Outcome parse(const QStringList &arguments);

// Parses argv and prints what parse() says; the exit code when the program must not start.
std::optional<int> answer(int argc, char *argv[]);

// Whether argv asks for the due check alone (--check-due) instead of the window.
bool asksDueCheck(int argc, char *argv[]);

// The register argv names for this run (Outcome::registerName).
QString registerOf(int argc, char *argv[]);

}
