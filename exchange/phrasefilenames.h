#ifndef PHRASEFILENAMES_H
#define PHRASEFILENAMES_H

#include <QString>

// How the import and export commands turn a chosen name into a file and a format.

enum class PhraseFormat
{
    Txt,
    Ini,
    // A phrase database file of its own, as the program works on.
    Database,
};

// An import reads INI when the file's own extension is "ini", in any letter case.
bool isIniImportName(const QString &path);

// Whether the file's own extension is "db", in any letter case: a phrase database to
// import, or to make anew on export.
bool isDatabaseName(const QString &path);

// The format an import reads, by the file's own extension; plain text for any but .ini and .db.
PhraseFormat importFormat(const QString &path);

// The plain-text file an import reads: the chosen path under its own name when
// it exists and is not a folder, otherwise the name completed with ".txt".
QString txtImportName(const QString &path);

// An export follows the filter chosen in the dialog, never the name typed.
bool isIniExportFilter(const QString &selectedFilter);
PhraseFormat exportFormat(const QString &selectedFilter);

// The export file name, completed with the format's extension when it lacks it.
QString exportName(const QString &path, bool ini);
QString exportName(const QString &path, PhraseFormat format);

#endif // PHRASEFILENAMES_H
