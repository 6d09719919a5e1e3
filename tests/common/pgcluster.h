#ifndef PGCLUSTER_H
#define PGCLUSTER_H

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSqlDatabase>

#include <utility>

// A throwaway PostgreSQL server for one test, kept by pgcluster.py in a process of its own: its data and
// socket in a fresh folder, no TCP. It goes when this object does, and also when the test crashes.
class PgCluster
{
public:
    static inline const QString admin = QStringLiteral("quillary_admin");

    ~PgCluster() { stop(); }

    // On failure, *installed tells a machine without a server (a skip) from a server that would not start.
    bool start(QString *error, bool *installed = nullptr)
    {
        stop();
        keeper.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        keeper.start(QStringLiteral("python3"), {QStringLiteral(QUILLARY_PGCLUSTER_SCRIPT)});
        const QJsonObject reply = answer();
        if (installed)
            *installed = !reply.value(QLatin1String("unavailable")).toBool();
        QString out;
        if (finish(reply, &out))
            folder = out;
        else if (error)
            *error = out;
        return !folder.isEmpty();
    }

    void stop()
    {
        if (keeper.state() == QProcess::NotRunning)
            return;
        keeper.closeWriteChannel();
        keeper.waitForFinished(60000);
        folder.clear();
    }

    // "restart", or "stop" and "start" for a server that is away for a while.
    bool control(const QString &command, QString *error = nullptr)
    {
        return ask({QStringLiteral("control"), command}, error);
    }
    bool restart(QString *error) { return control(QStringLiteral("restart"), error); }

    // Output: the rows, unaligned, one a line; on failure, the error.
    bool psql(const QString &sql, QString *output = nullptr, const QString &database = QStringLiteral("quillary"),
              const QString &user = admin)
    {
        return ask({QStringLiteral("psql"), sql, database, user}, output);
    }

    QString socketDir() const { return folder; }
    // Names made by tests and the folder made here need no percent-encoding.
    QString uri(const QString &db = QStringLiteral("quillary"), const QString &user = admin) const
    {
        return QStringLiteral("postgresql:///%1?host=%2&user=%3").arg(db, folder, user);
    }

    // Already opened: check isOpen() or lastError(). The caller removes the connection when done with it.
    QSqlDatabase open(const QString &connectionName, const QString &user = admin,
                      const QString &database = QStringLiteral("quillary")) const
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), connectionName);
        db.setHostName(folder);
        db.setDatabaseName(database);
        db.setUserName(user);
        db.open();
        return db;
    }

private:
    // One request a line, one answer a line, both JSON.
    bool ask(const QJsonArray &request, QString *output)
    {
        keeper.write(QJsonDocument(request).toJson(QJsonDocument::Compact) + '\n');
        QString out;
        const bool ok = finish(answer(), &out);
        if (output)
            *output = out;
        return ok;
    }

    QJsonObject answer()
    {
        while (!keeper.canReadLine() && keeper.waitForReadyRead(120000))
            ;
        const QJsonObject reply = QJsonDocument::fromJson(keeper.readLine()).object();
        return reply.isEmpty() ? QJsonObject{{QLatin1String("out"), QStringLiteral("pgcluster.py gave no answer")}}
                               : reply;
    }

    static bool finish(const QJsonObject &reply, QString *output)
    {
        *output = reply.value(QLatin1String("out")).toString();
        return reply.value(QLatin1String("ok")).toBool();
    }

    QProcess keeper;
    QString folder;
};

// Starts the cluster or ends the test function: a skip when no server is installed, unless QUILLARY_PG_REQUIRED=1.
#define QUILLARY_START_PG(cluster)                                                                                     \
    if (auto [pgError_, pgInstalled_] = std::pair<QString, bool>(); !(cluster).start(&pgError_, &pgInstalled_)) {      \
        if (!pgInstalled_)                                                                                             \
            QSKIP(qPrintable(pgError_));                                                                               \
        QFAIL(qPrintable(pgError_));                                                                                   \
    } else                                                                                                             \
        (void)0

#endif // PGCLUSTER_H
