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

void Pauses::shortPause() { pauseFor(600); }
void Pauses::longPause() { pauseFor(1000); }
void Pauses::setScale(double factor) { g_scale = factor < 0 ? 0 : factor; }
double Pauses::scale() { return g_scale; }
