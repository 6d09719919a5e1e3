#ifndef TRACECATEGORIES_H
#define TRACECATEGORIES_H

#include <QLoggingCategory>

// Trace lines for following the watcher and imports at run time. Release builds
// keep them quiet unless QT_LOGGING_RULES asks, e.g. "quillary.*.debug=true".
Q_DECLARE_LOGGING_CATEGORY(lcWatch)
Q_DECLARE_LOGGING_CATEGORY(lcImport)
Q_DECLARE_LOGGING_CATEGORY(lcTable)

#endif // TRACECATEGORIES_H
