#ifndef PROGRESS_H
#define PROGRESS_H

#include <QtGlobal>

#include <functional>

// Told now and then how far a long job has come. `done` and `total` share one unit
// (phrases, bytes of a file, or groups of an INI file), so done / total is the fraction.
using Progress = std::function<void(qint64 done, qint64 total)>;

#endif // PROGRESS_H
