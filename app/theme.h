#ifndef THEME_H
#define THEME_H

#include <QSettings>
#include <QString>

class QPalette;

enum class StyleSheetKind
{
    DarkAppMode, // the system reports a dark app mode
    DarkPalette, // light text on a dark window
    LightPalette,
};

// themeStatus and appsUseLightTheme come from the system's theme key; the palette
// decides when the key cannot be read or does not ask for the dark mode.
StyleSheetKind chooseStyleSheet(QSettings::Status themeStatus, int appsUseLightTheme, const QPalette &palette);

// Reads the theme key of the current user, where the platform has one.
StyleSheetKind systemStyleSheet(const QPalette &palette);

QString styleSheet(StyleSheetKind kind);

#endif // THEME_H
