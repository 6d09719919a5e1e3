#ifndef BUSYSCOPE_H
#define BUSYSCOPE_H

#include "exchange/importreport.h"

#include <QApplication>
#include <QProgressBar>

// While a long read or write runs: the wait cursor, and the status bar's progress
// bar following the work. Both go away when the scope ends, whatever the result.
class BusyScope
{
public:
    explicit BusyScope(QProgressBar *bar)
        : bar(bar)
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        bar->setRange(0, 0);
        bar->show();
    }

    ~BusyScope()
    {
        bar->hide();
        QApplication::restoreOverrideCursor();
    }

    BusyScope(const BusyScope &) = delete;
    BusyScope &operator=(const BusyScope &) = delete;

    Progress progress() const
    {
        QProgressBar *target = bar;
        return [target](qint64 done, qint64 total) {
            // Per mille keeps the range inside an int for files of any size.
            target->setRange(0, 1000);
            target->setValue(total > 0 ? int(qMin<qint64>(done, total) * 1000 / total) : 0);
        };
    }

private:
    QProgressBar *bar;
};

#endif // BUSYSCOPE_H
