#ifndef TESTHOME_H
#define TESTHOME_H

#include <QtCore>

// A home folder of its own for each test, so that no test reads or writes the
// settings or documents of the user running it.
class TestHome
{
public:
    TestHome()
    {
        QStandardPaths::setTestModeEnabled(true);
        qputenv("HOME", dir.path().toUtf8());
        qputenv("XDG_CONFIG_HOME", (dir.path() + QStringLiteral("/.config")).toUtf8());
        qputenv("XDG_DATA_HOME", (dir.path() + QStringLiteral("/.local/share")).toUtf8());
        // The runtime folder holds the socket that running copies answer on.
        const QString runtime = dir.path() + QStringLiteral("/.run");
        QDir().mkpath(runtime);
        QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", runtime.toUtf8());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path() + QStringLiteral("/.config"));
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path() + QStringLiteral("/.config"));
    }

    QString path() const { return dir.path(); }
    QString documents() const { return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation); }
    QString userDatabase() const { return documents() + QStringLiteral("/Quillary/org.db"); }

private:
    QTemporaryDir dir;
};

#endif // TESTHOME_H
