// quillary-server-bench [--phrases N]
// Times the phrase table on a throwaway PostgreSQL server against psql doing the same
// work: storing N phrases (psql's \copy), reading them all for the table (psql's SELECT),
// and the browser's search with trigram indexes against without them (a fixed goal).
// Prints one line per operation, "name ours_s limit_s ratio".

#include "../tests/common/pgcluster.h"
#include "browser/phrasemodel.h"
#include "browser/searchcondition.h"
#include "db/phraseconnection.h"
#include "db/phrasestore.h"
#include "db/serverdatabase.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlError>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <random>

namespace {

// A word found in one phrase of a hundred.
const QString rareWord = QStringLiteral("xylophone");

[[noreturn]] void die(const QString &message)
{
    std::fprintf(stderr, "quillary-server-bench: %s\n", qPrintable(message));
    std::exit(1);
}

// The best of three, in seconds.
double timed(const std::function<void()> &before, const std::function<void()> &work)
{
    double best = 1e9;
    for (int r = 0; r < 3; ++r) {
        before();
        QElapsedTimer timer;
        timer.start();
        work();
        best = std::min(best, double(timer.nsecsElapsed()) / 1e9);
    }
    return best;
}

QVector<PhraseRecord> phrases(int count)
{
    const char *const words[] = {"lorem",  "ipsum", "dolor", "quick", "brown",  "fox",     "invoice", "meeting",
                                 "Привет", "мир",   "счёт",  "Ёлка",  "report", "Regards", "tomorrow"};
    std::mt19937 random(20261207);
    QVector<PhraseRecord> rows(count);
    for (int i = 0; i < count; ++i) {
        for (int w = 0, n = 3 + int(random() % 30); w < n; ++w)
            rows[i].str += QString::fromUtf8(words[random() % std::size(words)]) + QLatin1Char(' ');
        if (i % 100 == 0)
            rows[i].str += rareWord;
        rows[i].labels = QStringLiteral("label%1").arg(random() % 50);
        rows[i].keyWord = QStringLiteral("key%1").arg(random() % 1000);
        rows[i].rating = int(random() % 101);
    }
    return rows;
}

// The same phrases as psql's \copy reads them: tab-separated, with the lower-case copies.
QString writeCopyFile(const QVector<PhraseRecord> &rows, const QString &folder)
{
    const QString name = folder + QStringLiteral("/phrases.tsv");
    QFile file(name);
    if (!file.open(QIODevice::WriteOnly))
        die(file.errorString());
    QTextStream out(&file);
    out.setCodec("UTF-8");
    for (const PhraseRecord &row : rows) {
        out << row.str << '\t' << row.labels << '\t' << row.keyWord << '\t' << row.str.toLower() << '\t'
            << row.labels.toLower() << '\t' << row.keyWord.toLower() << '\t' << row.rating << "\t0\n";
    }
    return name;
}

double select(const QString &filter, int *found)
{
    return timed([] {},
                 [&] {
                     PhraseModel model(nullptr, QSqlDatabase::database());
                     model.setTable(PhraseStore::tableName());
                     model.setFilter(filter);
                     if (!model.select())
                         die(model.lastError().text());
                     *found = model.rowCount();
                 });
}

void line(const char *name, double ours, double limit)
{
    std::printf("%s %.3f %.3f %.2f\n", name, ours, limit, ours / limit);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption count(QStringLiteral("phrases"), QStringLiteral("Number of phrases."), QStringLiteral("N"),
                                   QStringLiteral("100000"));
    parser.addOption(count);
    parser.process(app);
    const QVector<PhraseRecord> rows = phrases(std::max(100, parser.value(count).toInt()));

    PgCluster cluster;
    QString error;
    if (!cluster.start(&error))
        die(error);
    QSqlDatabase db = phraseConnection(cluster.uri());
    if (openServerDatabase(db, cluster.uri(), &error) != DatabaseCheck::Ok)
        die(error);
    const auto psql = [&cluster](const QString &sql) {
        QString output;
        if (!cluster.psql(sql, &output))
            die(output);
    };
    const auto empty = [&psql] { psql(QStringLiteral("TRUNCATE TypeText")); };

    const double ours = timed(empty, [&rows] {
        QString why;
        if (!PhraseStore().insert(rows, nullptr, &why))
            die(why);
    });
    const QString copyFile = writeCopyFile(rows, cluster.socketDir());
    const double anchor = timed(empty, [&] {
        psql(QStringLiteral("\\copy TypeText (Str, Labels, KeyWord, StrLower, LabelLower, KeyLower, Rating, "
                            "Frequency) FROM '%1'")
                 .arg(copyFile));
    });
    line("pg_import", ours, anchor);
    psql(QStringLiteral("VACUUM ANALYZE TypeText"));

    int found = 0;
    const double reload = select(QString(), &found);
    const double psqlReload = timed([] {}, [&] { psql(QStringLiteral("SELECT * FROM TypeText")); });
    line("pg_reload", reload, psqlReload);

    int indexedFound = 0;
    const double indexed = select(searchFilter(rareWord), &indexedFound);
    line("pg_search", indexed, 0.05);
    for (int i = 0; i < 9; ++i)
        psql(QStringLiteral("DROP INDEX IF EXISTS typetext_trgm_%1").arg(i));
    const double unindexed = select(searchFilter(rareWord), &found);
    std::printf("# pg_search without trigram indexes %.3f s; %d of %d phrases found\n", unindexed, indexedFound,
                int(rows.size()));
    if (found != indexedFound)
        die(QStringLiteral("the indexes changed what the search finds"));
    db.close();
    return 0;
}
