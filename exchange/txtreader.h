#ifndef TXTREADER_H
#define TXTREADER_H

#include "exchange/importreport.h"

#include <QString>

// Appends the phrases of a plain-text phrase file (TAB-separated fields, one
// record per phrase, lines ended by LF, CR LF or CR alone) to TypeText of the
// default connection, all in one transaction. Returns the number of phrases
// stored, or -1 when the file cannot be opened. All or nothing: `report`, when given, receives why nothing was kept;
// `progress` is called a few times a second with bytes read and file size. The event loop runs about every 100 ms while
// the file is read.
int importTxt(const QString &fileName, ImportReport *report = nullptr, const Progress &progress = {});

#endif // TXTREADER_H
