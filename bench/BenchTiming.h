#pragma once

#include <QElapsedTimer>

#include <functional>

// Wall-clock milliseconds of one run of work.
inline double elapsedMs(const std::function<void()> &work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e6;
}
