#ifndef PGCLUSTER_H
#define PGCLUSTER_H

#include <QtCore>

#include <utility>

// A throwaway PostgreSQL server for one test, kept by pgcluster.py in a process of its own: its data and
// socket in a fresh folder, no TCP. It goes when this object does, and also when the test crashes.
class PgCluster
{
public:
    static inline const QString admin = QStringLiteral("quillary_admin");

    ~PgCluster()
    {
        keeper.closeWriteChannel();
        keeper.waitForFinished(60000);
    }

    // On failure, *installed tells a machine without a server (a skip) from a server that would not start.
    bool start(QString *error, bool *installed = nullptr)
    {
        keeper.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        keeper.start(QStringLiteral("python3"), {QStringLiteral(QUILLARY_PGCLUSTER_SCRIPT)});
        // The first answer is the socket folder, or why there is none.
        if (!ask({}, &folder, installed))
            *error = std::exchange(folder, QString());
        return !folder.isEmpty();
    }

    // "restart", or "stop" and "start" for a server that is away for a while.
    bool control(const QString &command) { return ask({QStringLiteral("control"), command}, nullptr); }

    // As the administrator. Output: the rows, unaligned, one a line; on failure, the error.
    bool psql(const QString &sql, QString *output = nullptr, const QString &database = QStringLiteral("quillary"))
    {
        return ask({QStringLiteral("psql"), sql, database, admin}, output);
    }

    QString socketDir() const { return folder; }
    // Names made by tests and the folder made here need no percent-encoding.
    QString uri(const QString &db = QStringLiteral("quillary"), const QString &user = admin) const
    {
        return QStringLiteral("postgresql:///%1?host=%2&user=%3").arg(db, folder, user);
    }

private:
    // One request a line, one answer a line, both JSON; the first answer, to no request, tells how the start went.
    bool ask(const QJsonArray &request, QString *output, bool *installed = nullptr)
    {
        if (!request.isEmpty())
            keeper.write(QJsonDocument(request).toJson(QJsonDocument::Compact) + '\n');
        while (!keeper.canReadLine() && keeper.waitForReadyRead(120000))
            ;
        const QJsonObject reply = QJsonDocument::fromJson(keeper.readLine()).object();
        if (installed)
            *installed = !reply.value(QLatin1String("unavailable")).toBool();
        if (output)
            *output = reply.value(QLatin1String("out")).toString(QStringLiteral("pgcluster.py gave no answer"));
        return reply.value(QLatin1String("ok")).toBool();
    }

    QProcess keeper;
    QString folder;
};

// Starts the cluster or ends the test function: a skip when no server is installed, unless QUILLARY_PG_REQUIRED=1.
#define QUILLARY_START_PG(cluster)                                                                                     \
    if (auto [pgError_, pgInstalled_] = std::pair<QString, bool>(); !(cluster).start(&pgError_, &pgInstalled_))        \
        return (pgInstalled_ ? QTest::qFail : QTest::qSkip)(qPrintable(pgError_), __FILE__, __LINE__);                 \
    else                                                                                                               \
        (void)0

#endif // PGCLUSTER_H
