#include "exchange/phrasefilenames.h"

#include <QFileInfo>

namespace {

QString withExtension(const QString &path, const QString &extension)
{
    if (path.endsWith(extension, Qt::CaseInsensitive))
        return path;
    return path + extension;
}

// Only the file's own extension counts, not a folder or an inner dot of its name.
bool hasSuffix(const QString &path, const char *suffix)
{
    return QFileInfo(path).suffix().compare(QLatin1String(suffix), Qt::CaseInsensitive) == 0;
}

} // namespace

bool isIniImportName(const QString &path)
{
    return hasSuffix(path, "ini");
}

bool isDatabaseName(const QString &path)
{
    return hasSuffix(path, "db");
}

PhraseFormat importFormat(const QString &path)
{
    if (isDatabaseName(path))
        return PhraseFormat::Database;
    return isIniImportName(path) ? PhraseFormat::Ini : PhraseFormat::Txt;
}

QString txtImportName(const QString &path)
{
    // A FIFO or device under the chosen name is taken as chosen, for the reader to refuse by name.
    const QFileInfo info(path);
    if (info.exists() && !info.isDir())
        return path;
    return withExtension(path, QStringLiteral(".txt"));
}

bool isIniExportFilter(const QString &selectedFilter)
{
    return exportFormat(selectedFilter) == PhraseFormat::Ini;
}

PhraseFormat exportFormat(const QString &selectedFilter)
{
    if (selectedFilter.contains(QStringLiteral("*.db"), Qt::CaseInsensitive))
        return PhraseFormat::Database;
    return selectedFilter.contains(QStringLiteral("*.ini"), Qt::CaseInsensitive) ? PhraseFormat::Ini
                                                                                 : PhraseFormat::Txt;
}

QString exportName(const QString &path, bool ini)
{
    return exportName(path, ini ? PhraseFormat::Ini : PhraseFormat::Txt);
}

QString exportName(const QString &path, PhraseFormat format)
{
    switch (format) {
    case PhraseFormat::Ini:
        return withExtension(path, QStringLiteral(".ini"));
    case PhraseFormat::Database:
        return withExtension(path, QStringLiteral(".db"));
    case PhraseFormat::Txt:
        break;
    }
    return withExtension(path, QStringLiteral(".txt"));
}
