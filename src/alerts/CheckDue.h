#pragma once

// "orvel2 --check-due", as the login check runs it: no window, no splash and no
// refusal when the program already runs. It reads the database named in the
// settings without writing to it, sends one desktop notification per sheet for
// the open deadlines due today and within the warning days, and returns the
// exit code: 0, or 1 when the database cannot be read.
namespace CheckDue {
int run(int argc, char *argv[]);
}
