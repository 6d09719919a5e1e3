#include "db/tracecategories.h"

#ifdef QT_NO_DEBUG
Q_LOGGING_CATEGORY(lcWatch, "quillary.watch", QtInfoMsg)
Q_LOGGING_CATEGORY(lcImport, "quillary.import", QtInfoMsg)
Q_LOGGING_CATEGORY(lcTable, "quillary.table", QtInfoMsg)
#else
Q_LOGGING_CATEGORY(lcWatch, "quillary.watch")
Q_LOGGING_CATEGORY(lcImport, "quillary.import")
Q_LOGGING_CATEGORY(lcTable, "quillary.table")
#endif
