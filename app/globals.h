#ifndef GLOBALS_H
#define GLOBALS_H

#include <QString>

class QSplashScreen;

extern const QString appVersion;
extern const QString organizationName;
extern const QString applicationName;

// Path of the open database file.
extern QString nameFileDB;
// Code of the interface language; empty for the built-in English texts.
extern QString language;
// The splash screen while start-up runs; whoever destroys it resets this to null.
extern QSplashScreen *splash;

// The folder of the templates, translations and help pages: the program's own folder when
// they lie there (the build tree, a Windows folder), otherwise ../share/quillary from there.
QString programDataFolder();

#endif // GLOBALS_H
