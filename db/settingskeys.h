#ifndef SETTINGSKEYS_H
#define SETTINGSKEYS_H

#include <QString>

// The names under which the program keeps its settings, spelled once. They sit on the lowest
// floor because the window, the command line and the phrase table all read the same keys.
// A key is used inside group() or, without the group opened, as inGroup(key).
namespace SettingsKeys {

inline QString group()
{
    return QStringLiteral("Settings");
}

inline QString inGroup(const QString &key)
{
    return group() + QLatin1Char('/') + key;
}

inline QString geometry()
{
    return QStringLiteral("Geometry");
}

inline QString state()
{
    return QStringLiteral("State");
}

inline QString language()
{
    return QStringLiteral("Language");
}

inline QString databaseFile()
{
    return QStringLiteral("NameFileDB");
}

// The last server database connected to, without its password: the connect dialog starts from it.
inline QString lastServer()
{
    return QStringLiteral("LastServer");
}

// The last file imported or exported.
inline QString exchangeFile()
{
    return QStringLiteral("NameIni");
}

// The phrase table's header: column order, widths and sort.
inline QString tableHeader()
{
    return QStringLiteral("SQLTable");
}

inline QString keyLayoutScan()
{
    return QStringLiteral("KeyLayoutScan");
}

inline QString keyLayoutCode()
{
    return QStringLiteral("KeyLayoutCode");
}

} // namespace SettingsKeys

#endif // SETTINGSKEYS_H
