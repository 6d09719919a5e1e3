#include "app/globals.h"

#include <QCoreApplication>
#include <QFileInfo>

const QString appVersion = QStringLiteral("1.1.10");
const QString organizationName = QStringLiteral("Tamberlane");
const QString applicationName = QStringLiteral("Quillary");

QString nameFileDB;
QString language;
QSplashScreen *splash = nullptr;

QString programDataFolder()
{
    const QString programFolder = QCoreApplication::applicationDirPath();
    const QString shared = programFolder + QStringLiteral("/../share/quillary");
    if (QFileInfo::exists(programFolder + QStringLiteral("/org.db")) || !QFileInfo(shared).isDir())
        return programFolder;
    return QFileInfo(shared).canonicalFilePath();
}
