#pragma once

// The blocking waits after a write (600 ms) and at start and after a file copy
// (1000 ms). They block: nothing else runs while they last. Tests shrink them
// with setScale(0) so a suite of saves does not sleep for minutes.
namespace Pauses {
void shortPause();
void longPause();
void setScale(double factor);
double scale();
}
