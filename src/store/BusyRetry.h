#pragma once

#include <functional>

// Runs a write. While it fails because another program holds the database's lock,
// tells the user so and offers Retry and Cancel; the store gives up on a lock
// after about a second, so the window never freezes for long. Returns true once
// the write has run, false when the user cancelled (then nothing was written, and
// the caller keeps what the user typed). Every other error is the caller's.
bool retryWhileBusy(const std::function<void()> &write);
