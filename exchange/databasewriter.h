#ifndef DATABASEWRITER_H
#define DATABASEWRITER_H

#include "exchange/phrasewriters.h"

// Writes the phrases into a new phrase database file made from `templateName` (the
// program's new.db), every text field including HotKey, a NULL text as NULL. As the
// other writers: the file is made under a temporary name in the target's folder and
// takes the target's name only once complete; an existing target is moved to its
// backup name first (see backupName) and put back if that fails. On failure nothing
// is left behind, false is returned and *error names the file and the reason.
// *written receives the number of phrases written. The database open on the default
// connection is never replaced: the program would go on working on the backup.
bool writePhraseDatabase(const QString &fileName, const QString &templateName, const PhraseRowSource &nextRow,
                         int *written = nullptr, QString *error = nullptr);

#endif // DATABASEWRITER_H
