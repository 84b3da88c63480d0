#pragma once

// The program's entry: settings, language, database, schema upgrade, active
// sheet, splash, main window. Returns the process exit code.
namespace Startup {
int Main(int argc, char *argv[]);
}
