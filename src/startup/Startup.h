#pragma once

// The program's entry: settings, language, database, schema upgrade, active
// sheet, splash, main window. Returns the process exit code.
namespace Startup {
int run(int argc, char *argv[]);
}
