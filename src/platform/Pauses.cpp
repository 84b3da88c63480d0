#include "platform/Pauses.h"

#include <QThread>

namespace {
double g_scale = 1.0;

void pauseFor(int milliseconds)
{
    // The wait blocks: no click, key or timer is handled inside it, so a second
    // Save or toggle cannot run in the middle of the first one's write and
    // refresh. Callers that want pending events to run pump them themselves.
    const int scaled = int(milliseconds * g_scale);
    if (scaled > 0)
        QThread::msleep(scaled);
}
}

// The wait after a write was there so that a reader on another connection saw
// the write once a lazily writing engine had settled. The store's commit is
// durable and visible to the next read as soon as it returns, so there is
// nothing left to wait for: the service stays, as the one place writers call
// before refreshing, but it no longer freezes the window.
void Pauses::shortPause() { pauseFor(0); }
void Pauses::longPause() { pauseFor(1000); }
void Pauses::setScale(double factor) { g_scale = factor < 0 ? 0 : factor; }
double Pauses::scale() { return g_scale; }
