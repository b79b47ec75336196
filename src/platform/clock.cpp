#include "platform/clock.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>
#include <QTime>

namespace platform {

uint32_t SystemClock::timeGetTime()
{
    return static_cast<uint32_t>(QDeadlineTimer::current().deadlineNSecs() / 1000000);
}

double SystemClock::secondsSinceMidnight()
{
    return QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
}

void SystemClock::processEvents(int maxWaitMs)
{
    if (!QCoreApplication::instance())
        return;
    if (maxWaitMs <= 0) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        return;
    }
    // A nested loop that runs every event arriving until the time is up.
    QEventLoop loop;
    QTimer::singleShot(maxWaitMs, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace platform
