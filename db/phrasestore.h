#ifndef PHRASESTORE_H
#define PHRASESTORE_H

#include "db/phraserecord.h"
#include "db/progress.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>
#include <QVector>

#include <memory>

class QSqlRecord;
class SqlTransaction;

// The one place that knows the phrase table: its name, its columns and the SQL that
// writes it. Writes go straight to the file, by id, and each says whether it was
// stored and, if not, the driver's reason.
class PhraseStore
{
public:
    enum Field
    {
        Id,
        Str,
        Labels,
        KeyWord,
        HotKey,
        Html,
        KeyLower,
        StrLower,
        LabelLower,
        Rating,
        Frequency,
    };
    static constexpr int fieldCount = Frequency + 1;
    // What became of a write based on what the writer saw.
    enum class Outcome
    {
        Stored,
        // It would have changed nothing, so nothing was written.
        Unchanged,
        // The file no longer holds what the writer began from: someone else wrote first.
        Conflict,
        // Someone else deleted the phrase.
        Gone,
        Failed,
    };
    static QString tableName();
    static QString fieldName(Field field);
    // The field of that name, in any letter case as SQL takes it; -1 for none.
    static int fieldNamed(const QString &name);
    // The lower-case copy the search reads; the field itself where there is none.
    static Field shadowOf(Field field);
    // Where the field sits in a record of the table, found by name; -1 if it lacks it.
    static int column(const QSqlRecord &record, Field field);
    // The phrase table's columns as db has them, extra ones included.
    static QSqlRecord tableRecord(const QSqlDatabase &db);
    // The fields the phrase table of db lacks; a file missing one cannot be worked on.
    static QStringList missingFields(const QSqlDatabase &db);
    // A lock another copy holds for a moment is waited for instead of failing at once.
    static void configure(QSqlDatabase &db);

    explicit PhraseStore(const QString &connection = QLatin1String(QSqlDatabase::defaultConnection));
    ~PhraseStore();

    // Counts one use in the file itself, so that no other copy's use is overwritten,
    // and reads back the count the file now holds.
    bool countUse(qint64 id, int *count, QString *error);
    // Plain and rich text together; html is empty for a phrase edited as plain text.
    // These two write whatever the file holds now: only for a user who chose to overwrite.
    bool setText(qint64 id, const QString &str, const QString &html, QString *error);
    // Labels, KeyWord or Rating, with the lower-case copy where the field has one.
    bool setField(qint64 id, Field field, const QVariant &value, QString *error);
    // The same, stored only while the file still holds the base the writer began from.
    // A file that already holds the new value counts as stored.
    Outcome setText(qint64 id, const QString &str, const QString &html, const QVariant &baseStr,
                    const QVariant &baseHtml, QString *error);
    Outcome setField(qint64 id, Field field, const QVariant &value, const QVariant &base, QString *error);
    // The phrase as the file holds it now; found is false when there is none of that id.
    // Without waitForLock it gives up at once while another copy holds the file.
    bool read(qint64 id, PhraseRecord *record, bool *found, QString *error, bool waitForLock = true);
    // All or nothing: ids receives the new phrases' ids in the order given.
    bool insert(const QVector<PhraseRecord> &records, QVector<qint64> *ids, QString *error,
                const Progress &progress = {});
    bool remove(const QVector<qint64> &ids, QString *error);

    // A batch of inserts in one transaction, for imports. After a refused add the
    // batch is already rolled back: SQLite may have ended the transaction itself.
    bool begin(QString *error);
    bool add(const PhraseRecord &record, QString *error);
    bool commit(QString *error);
    void rollback();

private:
    QSqlDatabase database() const;
    bool exec(QSqlQuery &query, QString *error);
    bool execOnPhrase(QSqlQuery &query, QString *error);
    static QString noPhrase();
    using Values = QVector<QPair<Field, QVariant>>;
    bool update(qint64 id, const Values &values, QString *error);
    // UPDATE of the phrase id, setting values where the file still holds every base.
    void prepareUpdate(QSqlQuery &query, qint64 id, const Values &values, const Values &bases) const;
    Outcome updateIf(qint64 id, const Values &values, const Values &bases, QString *error);

    // The INSERT of that many phrases.
    QString insertSql(int rows) const;
    // Stores the phrases a server's batch has waiting.
    bool flush(QString *error);

    QString connection;
    QSqlQuery batchQuery;
    QVector<PhraseRecord> waiting;
    // The ids of the batch's phrases stored so far, in the order added.
    QVector<qint64> batchIds;
    std::unique_ptr<SqlTransaction> batch;
};

#endif // PHRASESTORE_H
