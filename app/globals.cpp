#include "app/globals.h"

const QString appVersion = QStringLiteral("1.1.10");
const QString organizationName = QStringLiteral("Tamberlane");
const QString applicationName = QStringLiteral("Quillary");
const QString clipboardFormat = QStringLiteral("text/Type");

QString nameFileDB;
QString language;
QSplashScreen *splash = nullptr;
