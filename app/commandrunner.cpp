#include "app/commandrunner.h"

#include "app/databasecheckreason.h"
#include "app/globals.h"
#include "db/databasefile.h"
#include "db/phraseconnection.h"
#include "db/phrasestore.h"
#include "db/serveraddress.h"
#include "db/serverdatabase.h"
#include "db/settingskeys.h"

#include <QDir>
#include <QFileInfo>
#include <QIODevice>
#include <QSettings>
#include <QSqlDatabase>

namespace {

QString native(const QString &path)
{
    return shownLocation(path);
}

// Ends a sentence that a driver's or the system's text closes.
QString sentence(QString text)
{
    text = text.simplified();
    if (!text.isEmpty() && !text.endsWith(QLatin1Char('.')) && !text.endsWith(QLatin1Char('?')) &&
        !text.endsWith(QLatin1Char('!')))
        text += QLatin1Char('.');
    return text;
}

} // namespace

QString CommandRunner::storedDatabase()
{
    // Taken as the window's start takes it, so a first use starts from the starter phrases too.
    return startupDatabase(QSettings(organizationName, applicationName)
                               .value(SettingsKeys::inGroup(SettingsKeys::databaseFile()))
                               .toString(),
                           programDataFolder());
}

int CommandRunner::run(const CommandLine &given)
{
    if (given.command == CommandLine::Init)
        return init(given.file);
    CommandLine line = given;
    if (line.textFromInput) {
        if (!readInput(&line.text))
            return 1;
        if (line.text.isEmpty())
            return usage(
                QObject::tr("%1 wants a phrase that is not empty.")
                    .arg(line.command == CommandLine::Add ? QStringLiteral("--add") : QStringLiteral("--text")));
    }

    path = line.database.isEmpty() ? storedDatabase() : line.database;
    const bool server = ServerAddress::isServerAddress(path);
    // SQLite would make an empty file of a name that leads nowhere.
    if (!server && !QFileInfo::exists(path))
        return fail(QObject::tr("There is no database file %1.").arg(native(path)));
    const QString notRegular = server ? QString() : notRegularFileReason(path);
    if (!notRegular.isEmpty())
        return fail(QObject::tr("Cannot open %1: %2").arg(native(path), notRegular));
    QSqlDatabase db = phraseConnection(path);
    if (!db.isValid())
        return fail(driverMissing(path));
    QString error;
    const DatabaseCheck check = openPhraseDatabase(db, path, &error);
    if (check == DatabaseCheck::PasswordNeeded)
        return fail(QObject::tr("Cannot open %1: the server wants a password; give it in the file ~/.pgpass or "
                                "in the environment variable PGPASSWORD (%2)")
                        .arg(native(path), error));
    if (check != DatabaseCheck::Ok) {
        const DatabaseCheckReason reason = describe(check, error);
        if (!reason.notPhrases)
            return fail(QObject::tr("Cannot open %1: %2").arg(native(path), reason.text));
        return fail(QObject::tr("The file %1 is not a phrase database: %2")
                        .arg(native(path), reason.noTable
                                               ? QObject::tr("it has no table %1").arg(PhraseStore::tableName())
                                               : reason.text));
    }
    // A role that may only read is told so before anything is tried.
    const bool writes = line.command == CommandLine::Add || line.command == CommandLine::Set ||
                        line.command == CommandLine::Delete || line.command == CommandLine::Import;
    if (writes && isServerConnection(db) && !isWritableServer(db))
        return fail(QObject::tr("%1 is read-only for you: your role may read the phrases but not change them.")
                        .arg(native(path)));

    switch (line.command) {
    case CommandLine::List:
        return list(line);
    case CommandLine::Count:
        return count(line);
    case CommandLine::Print:
        return print(line);
    case CommandLine::Add:
        return add(line);
    case CommandLine::Set:
        return set(line);
    case CommandLine::Delete:
        return remove(line.ids);
    case CommandLine::Import:
        return import(line);
    case CommandLine::Export:
        return exportTo(line);
    default:
        return 2;
    }
}

QString CommandRunner::noSuchPhrase(qint64 id)
{
    return QObject::tr("There is no phrase with the id %1.").arg(id);
}

QString CommandRunner::unreadable(const QString &path, const QString &error)
{
    return QObject::tr("Cannot read %1: %2").arg(native(path), error);
}

bool CommandRunner::readInput(QString *text)
{
    if (!in) {
        fail(QObject::tr("Cannot read standard input."));
        return false;
    }
    const QByteArray bytes = in->readAll();
    *text = QString::fromUtf8(bytes);
    // Bytes that are no UTF-8 come back as replacement characters, which would be stored in silence.
    if (text->toUtf8() != bytes) {
        fail(QObject::tr("Standard input is not UTF-8 text."));
        return false;
    }
    return true;
}

bool CommandRunner::copyInput(QIODevice *to)
{
    if (!in) {
        fail(QObject::tr("Cannot read standard input."));
        return false;
    }
    for (QByteArray chunk; !(chunk = in->read(chunkSize)).isEmpty();) {
        if (to->write(chunk) != chunk.size()) {
            fail(QObject::tr("Cannot store standard input in a temporary file: %1").arg(to->errorString()));
            return false;
        }
    }
    return true;
}

bool CommandRunner::write(const QByteArray &bytes)
{
    if (out->write(bytes) == bytes.size())
        return true;
    fail(QObject::tr("Cannot write to standard output: %1").arg(out->errorString()));
    return false;
}

int CommandRunner::fail(const QString &why)
{
    note(why);
    return 1;
}

int CommandRunner::usage(const QString &why)
{
    err->write(CommandLine::usageLine(why).toUtf8() + '\n');
    return 2;
}

void CommandRunner::note(const QString &text)
{
    err->write(QStringLiteral("quillary: ").toUtf8() + sentence(text).toUtf8() + '\n');
}
