#ifndef EVENTPACER_H
#define EVENTPACER_H

#include "exchange/importreport.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <utility>

// Lets the event loop run about ten times a second during a long read or write.
// An event pass per phrase would cost more than storing the phrase itself.
class EventPacer
{
public:
    explicit EventPacer(Progress progress = {})
        : progress(std::move(progress))
    {
        clock.start();
    }

    void step(qint64 done, qint64 total)
    {
        if (clock.elapsed() < intervalMs)
            return;
        if (progress)
            progress(done, total);
        // Repaint and show progress, but no command may start in the middle of a file.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        clock.restart();
    }

    void finish(qint64 total)
    {
        if (progress)
            progress(total, total);
    }

private:
    static constexpr qint64 intervalMs = 100;
    Progress progress;
    QElapsedTimer clock;
};

#endif // EVENTPACER_H
