#ifndef PGCLUSTER_H
#define PGCLUSTER_H

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <memory>
#include <pwd.h>
#include <unistd.h>

// A throwaway PostgreSQL server for one test: its data and its socket in a fresh folder, no TCP, gone at the end.
class PgCluster
{
public:
    static inline const QString admin = QStringLiteral("quillary_admin");

    ~PgCluster() { stop(); }

    // The newest Debian server's binaries, else those on PATH; empty when there are none.
    static QString binDir()
    {
        QStringList dirs = QDir(QStringLiteral("/usr/lib/postgresql")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        std::sort(dirs.begin(), dirs.end(), [](const QString &a, const QString &b) { return a.toInt() > b.toInt(); });
        for (QString &major : dirs)
            major = QStringLiteral("/usr/lib/postgresql/%1/bin").arg(major);
        dirs << QString::fromLocal8Bit(qgetenv("PATH")).split(QLatin1Char(':'), Qt::SkipEmptyParts);
        for (const QString &candidate : dirs)
            if (!QStandardPaths::findExecutable(QStringLiteral("pg_ctl"), {candidate}).isEmpty() &&
                !QStandardPaths::findExecutable(QStringLiteral("initdb"), {candidate}).isEmpty())
                return candidate;
        return {};
    }

    bool start(QString *error)
    {
        stop();
        if ((bin = binDir()).isEmpty())
            return fail(error, QStringLiteral("no PostgreSQL server is installed (initdb, pg_ctl)"));
        // In /tmp whatever TMPDIR says: a socket's path must stay under about 100 bytes.
        dir = std::make_unique<QTemporaryDir>(QStringLiteral("/tmp/qpg-XXXXXX"));
        const passwd *const server = ::getpwnam("postgres");
        if (!dir->isValid() ||
            (::geteuid() == 0 && (!server || ::chown(qPrintable(dir->path()), server->pw_uid, server->pw_gid))))
            return fail(error, QStringLiteral("no folder for the server (as root, it needs a postgres user)"));
        const QString initdb = QStringLiteral("initdb -D %1 -U %2 --auth=trust --encoding=UTF8 --locale=C --no-sync");
        return run(true, words(initdb.arg(data(), admin)), error) &&
               (running = run(true, serverArgs(QStringLiteral("start")), error)) &&
               psql(QStringLiteral("CREATE DATABASE quillary"), error, QStringLiteral("postgres"));
    }

    // Immediate: nothing a test leaves behind is worth a clean shutdown.
    void stop()
    {
        if (running)
            run(true, words(QStringLiteral("pg_ctl stop -D %1 -m immediate -w").arg(data())));
        running = false;
        dir.reset();
    }

    // "restart", or "stop" and "start" for a server that is away for a while.
    bool control(const QString &command, QString *error = nullptr) { return run(true, serverArgs(command), error); }
    bool restart(QString *error) { return control(QStringLiteral("restart"), error); }

    // Output: the rows, unaligned, one a line; on failure, the error.
    bool psql(const QString &sql, QString *output = nullptr, const QString &database = QStringLiteral("quillary"),
              const QString &user = admin)
    {
        const QString line = QStringLiteral("psql -XqAt -v ON_ERROR_STOP=1 -h %1 -c").arg(socketDir());
        return run(false, words(line) << sql << QStringLiteral("-U") << user << QStringLiteral("-d") << database,
                   output);
    }

    QString socketDir() const { return dir ? dir->path() : QString(); }
    // Names made by tests and the folder made here need no percent-encoding.
    QString uri(const QString &db = QStringLiteral("quillary"), const QString &user = admin) const
    {
        return QStringLiteral("postgresql:///%1?host=%2&user=%3").arg(db, socketDir(), user);
    }

    // Already opened: check isOpen() or lastError(). The caller removes the connection when done with it.
    QSqlDatabase open(const QString &connectionName, const QString &user = admin,
                      const QString &database = QStringLiteral("quillary")) const
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), connectionName);
        db.setHostName(socketDir());
        db.setDatabaseName(database);
        db.setUserName(user);
        db.open();
        return db;
    }

private:
    // Only for the arguments made here, which hold no spaces.
    static QStringList words(const QString &line) { return line.split(QLatin1Char(' ')); }
    QString data() const { return socketDir() + QStringLiteral("/data"); }
    QStringList serverArgs(const QString &command) const
    {
        return words(QStringLiteral("pg_ctl %1 -D %2 -l %3/log -m fast -w -o").arg(command, data(), socketDir()))
               << QStringLiteral("-c listen_addresses='' -c fsync=off -k ") + socketDir();
    }

    // The server refuses to run as root, so root runs it as Debian's postgres user.
    bool run(bool asServer, QStringList args, QString *output = nullptr) const
    {
        if (!dir)
            return fail(output, QStringLiteral("the server is not started"));
        const QString program = args.first();
        args.first().prepend(bin + QLatin1Char('/'));
        if (asServer && ::geteuid() == 0)
            args = words(QStringLiteral("runuser -u postgres --")) + args;
        QProcess process;
        process.setWorkingDirectory(dir->path()); // the server user may not be let into the caller's folder
        process.start(args.takeFirst(), args);
        const bool ok =
            process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
        QFile log(dir->path() + QStringLiteral("/log")); // the server's own log tells why it did not start
        if (output)
            *output =
                ok ? QString::fromUtf8(process.readAllStandardOutput()).trimmed()
                   : program + QStringLiteral(" failed: ") + QString::fromUtf8(process.readAllStandardError()) +
                         (asServer && log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString());
        return ok;
    }

    static bool fail(QString *error, const QString &message)
    {
        if (error)
            *error = message;
        return false;
    }

    QString bin;
    std::unique_ptr<QTemporaryDir> dir;
    bool running = false;
};

// Starts the cluster or ends the test function: a skip when no server is installed, unless QUILLARY_PG_REQUIRED=1.
#define QUILLARY_START_PG(cluster)                                                                                     \
    if (QString pgError_; !(cluster).start(&pgError_)) {                                                               \
        if (PgCluster::binDir().isEmpty() && qgetenv("QUILLARY_PG_REQUIRED") != "1")                                   \
            QSKIP(qPrintable(pgError_));                                                                               \
        QFAIL(qPrintable(pgError_));                                                                                   \
    } else                                                                                                             \
        (void)0

#endif // PGCLUSTER_H
