#pragma once

// The blocking waits after a write (none: a committed write is already visible)
// and at start and after a file copy (1000 ms, for the eye). They block: nothing else runs while they last. Tests shrink them
// with setScale(0) so a suite of saves does not sleep for minutes.
namespace Pauses {
void shortPause();   // waits nothing; see Pauses.cpp
void longPause();
void setScale(double factor);
double scale();
}
