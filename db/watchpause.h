#ifndef WATCHPAUSE_H
#define WATCHPAUSE_H

#include "db/typewatch.h"

// Holds the watcher for a scope in which the program writes the file itself, so that
// its own writes never read as another program's change; the watcher resumes after them.
class WatchPause
{
public:
    explicit WatchPause(TypeWatch *watcher)
        : watcher(watcher)
    {
        if (watcher)
            watcher->stop(true);
    }

    ~WatchPause()
    {
        if (watcher)
            watcher->start(true);
    }

    WatchPause(const WatchPause &) = delete;
    WatchPause &operator=(const WatchPause &) = delete;

private:
    TypeWatch *watcher;
};

#endif // WATCHPAUSE_H
