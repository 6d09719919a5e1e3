#include "db/phrasestore.h"
#include "db/sqldialect.h"
#include "db/sqlerrortext.h"
#include "db/sqltransaction.h"

#include <QObject>
#include <QSqlError>

#include <iterator>
#include <limits>

// Many new phrases in one transaction, all or none: imports, pastes and new rows.

namespace {

// What a new phrase's row gets, column by column. A null string is stored as NULL:
// a phrase pasted from a NULL field stays one.
struct InsertColumn
{
    PhraseStore::Field field;
    QVariant (*value)(const PhraseRecord &record);
};
const InsertColumn insertColumns[] = {
    {PhraseStore::Str, [](const PhraseRecord &r) -> QVariant { return r.str; }},
    {PhraseStore::Labels, [](const PhraseRecord &r) -> QVariant { return r.labels; }},
    {PhraseStore::KeyWord, [](const PhraseRecord &r) -> QVariant { return r.keyWord; }},
    {PhraseStore::HotKey, [](const PhraseRecord &r) -> QVariant { return r.hotKey; }},
    {PhraseStore::Html, [](const PhraseRecord &r) -> QVariant { return r.html; }},
    {PhraseStore::StrLower, [](const PhraseRecord &r) -> QVariant { return r.str.toLower(); }},
    {PhraseStore::LabelLower, [](const PhraseRecord &r) -> QVariant { return r.labels.toLower(); }},
    {PhraseStore::KeyLower, [](const PhraseRecord &r) -> QVariant { return r.keyWord.toLower(); }},
    {PhraseStore::Rating, [](const PhraseRecord &r) -> QVariant { return r.rating; }},
    {PhraseStore::Frequency, [](const PhraseRecord &r) -> QVariant { return r.frequency; }},
};

// Phrases a statement carries to a server: far fewer round trips, far below its 65,535 values.
constexpr int serverBatchRows = 500;

} // namespace

bool PhraseStore::begin(QString *error)
{
    QSqlDatabase db = database();
    batchQuery = QSqlQuery(db);
    batchIds.clear();
    waiting.clear();
    if (SqlDialect(db).isFile() && !batchQuery.prepare(insertSql(1))) {
        if (error)
            *error = sqlErrorText(batchQuery.lastError());
        return false;
    }
    batch = std::make_unique<SqlTransaction>(db);
    if (batch->began(error))
        return true;
    batch.reset();
    return false;
}

namespace {

// SQLite says "database or disk is full" also when the table has handed out its largest id.
bool idsUsedUp(const QSqlDatabase &db)
{
    QSqlQuery query(db);
    const QString lastId = QStringLiteral("SELECT max(seq) FROM sqlite_sequence WHERE name = '%1' COLLATE NOCASE");
    const bool usedUp = query.exec(lastId.arg(PhraseStore::tableName())) && query.next() &&
                        query.value(0).toLongLong() == std::numeric_limits<qint64>::max();
    query.finish();
    return usedUp;
}

} // namespace

QString PhraseStore::insertSql(int rows) const
{
    QStringList names;
    for (const InsertColumn &column : insertColumns)
        names << fieldName(column.field);
    const QString row = QLatin1Char('(') + QStringLiteral("?, ").repeated(names.size() - 1) + QStringLiteral("?)");
    const QString sql = QStringLiteral("INSERT INTO %1 (%2) VALUES %3")
                            .arg(tableName(), names.join(QStringLiteral(", ")),
                                 QVector<QString>(rows, row).toList().join(QStringLiteral(", ")));
    return SqlDialect(database()).hasReturning() ? sql + QStringLiteral(" RETURNING ") + fieldName(Id) : sql;
}

bool PhraseStore::add(const PhraseRecord &record, QString *error)
{
    if (!batch)
        return false;
    // A server is a round trip away: its phrases go many to a statement.
    if (SqlDialect(database()).hasReturning()) {
        waiting << record;
        return waiting.size() < serverBatchRows || flush(error);
    }
    for (int i = 0; i < int(std::size(insertColumns)); ++i)
        batchQuery.bindValue(i, insertColumns[i].value(record));
    const bool ran = exec(batchQuery, error);
    // A trigger may drop a row without an error; only a row that arrived is stored.
    if (ran && batchQuery.numRowsAffected() > 0) {
        batchIds << batchQuery.lastInsertId().toLongLong();
        return true;
    }
    if (ran && error)
        *error = QObject::tr("the database did not take the phrase");
    else if (error && SqlDialect(database()).isFile() &&
             batchQuery.lastError().nativeErrorCode() == QLatin1String("13") && idsUsedUp(database()))
        *error = QObject::tr("no id is left for a new phrase: the phrase table has already used the largest one, %1")
                     .arg(std::numeric_limits<qint64>::max());
    rollback();
    return false;
}

bool PhraseStore::flush(QString *error)
{
    if (waiting.isEmpty())
        return true;
    QSqlQuery query(database());
    bool ran = query.prepare(insertSql(waiting.size()));
    int place = 0;
    for (const PhraseRecord &record : qAsConst(waiting)) {
        for (const InsertColumn &column : insertColumns)
            query.bindValue(place++, column.value(record));
    }
    const qint64 expected = batchIds.size() + waiting.size();
    waiting.clear();
    ran = ran && exec(query, error);
    while (ran && query.next())
        batchIds << query.value(0).toLongLong();
    if (ran && batchIds.size() == expected)
        return true;
    if (ran && error)
        *error = QObject::tr("the database did not take the phrase");
    else if (!ran && error && error->isEmpty())
        *error = sqlErrorText(query.lastError());
    rollback();
    return false;
}

bool PhraseStore::commit(QString *error)
{
    if (!batch || !flush(error))
        return false;
    batchQuery.finish();
    const bool committed = batch->commit(error);
    // What did not commit is rolled back as the transaction goes.
    batch.reset();
    return committed;
}

void PhraseStore::rollback()
{
    waiting.clear();
    batchQuery.finish();
    batch.reset();
}

bool PhraseStore::insert(const QVector<PhraseRecord> &records, QVector<qint64> *ids, QString *error,
                         const Progress &progress)
{
    if (!begin(error))
        return false;
    qint64 done = 0;
    for (const PhraseRecord &record : records) {
        if (!add(record, error))
            return false;
        if (progress)
            progress(++done, records.size());
    }
    if (!commit(error))
        return false;
    if (ids)
        *ids = batchIds;
    return true;
}
