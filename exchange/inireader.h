#ifndef INIREADER_H
#define INIREADER_H

#include "exchange/importreport.h"

#include <QString>

// Appends the phrases of an INI phrase file to TypeText of the default
// connection, all in one transaction. Two forms are read: the row form (groups
// Row0, Row1, ... in UTF-8, as the INI writer makes them; names match without
// regard to case and the list ends at the first number with no group at all) and
// the section form (Windows-1251, recognised by a first line ending in CR CR LF;
// sections are labels, "keyword=text" lines are phrases). Returns the number of
// phrases stored, or -1 when the file cannot be opened; `report` and `progress`
// as for importTxt (progress counts groups in the row form, bytes otherwise).
int importIni(const QString &fileName, ImportReport *report = nullptr, const Progress &progress = {});

#endif // INIREADER_H
