#include "exchange/phrasefilenames.h"

#include <QFileInfo>

namespace {

QString withExtension(const QString &path, const QString &extension)
{
    if (path.right(4).toLower() == extension)
        return path;
    return path + extension;
}

} // namespace

bool isIniImportName(const QString &path)
{
    // Only the file's own extension counts, not a folder or an inner dot of its name.
    return QFileInfo(path).suffix().compare(QLatin1String("ini"), Qt::CaseInsensitive) == 0;
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
    return selectedFilter.contains(QStringLiteral("*.ini"), Qt::CaseInsensitive);
}

QString exportName(const QString &path, bool ini)
{
    return withExtension(path, ini ? QStringLiteral(".ini") : QStringLiteral(".txt"));
}
