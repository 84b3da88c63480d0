#include "platform/Pauses.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

namespace {
double g_scale = 1.0;

void pauseFor(int milliseconds)
{
    const int scaled = int(milliseconds * g_scale);
    QDeadlineTimer deadline(scaled);
    do {
        if (QCoreApplication::instance())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        if (!deadline.hasExpired())
            QThread::msleep(qMin<qint64>(10, deadline.remainingTime()));
    } while (!deadline.hasExpired());
}
}

void Pauses::PauseShort() { pauseFor(600); }
void Pauses::PauseLong() { pauseFor(1000); }
void Pauses::setScale(double factor) { g_scale = factor < 0 ? 0 : factor; }
double Pauses::scale() { return g_scale; }
