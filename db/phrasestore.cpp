#include "db/phrasestore.h"

#include <QObject>
#include <QSqlError>
#include <QSqlRecord>

#include <iterator>

namespace {

const char *const fieldNames[PhraseStore::fieldCount] = {
    "id", "Str", "Labels", "KeyWord", "HotKey", "Html", "KeyLower", "StrLower", "LabelLower", "Rating", "Frequency"};

// The lower-case copy the search reads; the field itself where there is none.
PhraseStore::Field shadowOf(PhraseStore::Field field)
{
    switch (field) {
    case PhraseStore::Str:
        return PhraseStore::StrLower;
    case PhraseStore::Labels:
        return PhraseStore::LabelLower;
    case PhraseStore::KeyWord:
        return PhraseStore::KeyLower;
    default:
        return field;
    }
}

} // namespace

// Rolls back unless committed, so that no early return leaves a transaction open.
class PhraseStore::Transaction
{
public:
    explicit Transaction(QSqlDatabase db)
        : db(std::move(db))
    {
        open = this->db.transaction();
    }
    ~Transaction()
    {
        if (open)
            db.rollback();
    }
    bool began(QString *error) const
    {
        if (!open && error)
            *error = db.lastError().text();
        return open;
    }
    bool commit(QString *error)
    {
        if (db.commit()) {
            open = false;
            return true;
        }
        if (error)
            *error = db.lastError().text();
        return false;
    }

private:
    QSqlDatabase db;
    bool open = false;
};

QString PhraseStore::tableName()
{
    return QStringLiteral("TypeText");
}

QString PhraseStore::fieldName(Field field)
{
    return QLatin1String(fieldNames[field]);
}

int PhraseStore::column(const QSqlRecord &record, Field field)
{
    return record.indexOf(fieldName(field));
}

QStringList PhraseStore::missingFields(const QSqlDatabase &db)
{
    const QSqlRecord record = db.record(tableName());
    QStringList missing;
    for (int f = 0; f < fieldCount; ++f) {
        if (column(record, Field(f)) < 0)
            missing << fieldName(Field(f));
    }
    return missing;
}

void PhraseStore::configure(QSqlDatabase &db)
{
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=3000"));
}

PhraseStore::PhraseStore(const QString &connection)
    : connection(connection)
{}

PhraseStore::~PhraseStore() = default;

QSqlDatabase PhraseStore::database() const
{
    return QSqlDatabase::database(connection, false);
}

bool PhraseStore::exec(QSqlQuery &query, QString *error)
{
    if (failCountdown > 0 && --failCountdown == 0) {
        if (error)
            *error = QStringLiteral("database or disk is full");
        return false;
    }
    if (query.exec())
        return true;
    if (error)
        *error = query.lastError().text();
    return false;
}

bool PhraseStore::execOnPhrase(QSqlQuery &query, QString *error)
{
    if (!exec(query, error))
        return false;
    // A statement that changed no row found no phrase of that id.
    if (query.numRowsAffected() > 0)
        return true;
    if (error)
        *error = QObject::tr("the phrase is no longer in the file");
    return false;
}

bool PhraseStore::countUse(qint64 id, int *count, QString *error)
{
    Transaction transaction(database());
    if (!transaction.began(error))
        return false;
    QSqlQuery query(database());
    query.prepare(
        QStringLiteral("UPDATE %1 SET %2 = %2 + 1 WHERE %3 = ?").arg(tableName(), fieldName(Frequency), fieldName(Id)));
    query.addBindValue(id);
    if (!execOnPhrase(query, error))
        return false;
    query.prepare(
        QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ?").arg(fieldName(Frequency), tableName(), fieldName(Id)));
    query.addBindValue(id);
    if (!exec(query, error))
        return false;
    const int stored = query.next() ? query.value(0).toInt() : 0;
    query.finish();
    if (!transaction.commit(error))
        return false;
    if (count)
        *count = stored;
    return true;
}

bool PhraseStore::update(qint64 id, const QVector<QPair<Field, QVariant>> &values, QString *error)
{
    QStringList assignments;
    for (const auto &value : values)
        assignments << fieldName(value.first) + QStringLiteral(" = ?");
    QSqlQuery query(database());
    query.prepare(QStringLiteral("UPDATE %1 SET %2 WHERE %3 = ?")
                      .arg(tableName(), assignments.join(QStringLiteral(", ")), fieldName(Id)));
    for (const auto &value : values)
        query.addBindValue(value.second);
    query.addBindValue(id);
    return execOnPhrase(query, error);
}

bool PhraseStore::setText(qint64 id, const QString &str, const QString &html, QString *error)
{
    return update(id, {{Str, str}, {StrLower, str.toLower()}, {Html, html}}, error);
}

bool PhraseStore::setField(qint64 id, Field field, const QVariant &value, QString *error)
{
    if (field == Rating)
        return update(id, {{Rating, value.toInt()}}, error);
    const QString newText = value.toString();
    return update(id, {{field, newText}, {shadowOf(field), newText.toLower()}}, error);
}

bool PhraseStore::begin(QString *error)
{
    QSqlDatabase db = database();
    batchQuery = QSqlQuery(db);
    QStringList names;
    for (const Field field : {Str, Labels, KeyWord, HotKey, Html, StrLower, LabelLower, KeyLower, Rating, Frequency})
        names << fieldName(field);
    const QString marks = QStringLiteral("?, ").repeated(names.size() - 1) + QStringLiteral("?");
    if (!batchQuery.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                .arg(tableName(), names.join(QStringLiteral(", ")), marks))) {
        if (error)
            *error = batchQuery.lastError().text();
        return false;
    }
    batch = std::make_unique<Transaction>(db);
    if (batch->began(error))
        return true;
    batch.reset();
    return false;
}

bool PhraseStore::add(const PhraseRecord &record, QString *error)
{
    if (!batch)
        return false;
    // A null string is stored as NULL: a phrase pasted from a NULL field stays one.
    const QVariant values[] = {record.str,    record.labels,        record.keyWord,          record.hotKey,
                               record.html,   record.str.toLower(), record.labels.toLower(), record.keyWord.toLower(),
                               record.rating, record.frequency};
    for (int i = 0; i < int(std::size(values)); ++i)
        batchQuery.bindValue(i, values[i]);
    const bool ran = exec(batchQuery, error);
    // A trigger may drop a row without an error; only a row that arrived is stored.
    if (ran && batchQuery.numRowsAffected() > 0)
        return true;
    if (ran && error)
        *error = QObject::tr("the database did not take the phrase");
    rollback();
    return false;
}

bool PhraseStore::commit(QString *error)
{
    if (!batch)
        return false;
    batchQuery.finish();
    const bool committed = batch->commit(error);
    // What did not commit is rolled back as the transaction goes.
    batch.reset();
    return committed;
}

void PhraseStore::rollback()
{
    batchQuery.finish();
    batch.reset();
}

bool PhraseStore::insert(const QVector<PhraseRecord> &records, QVector<qint64> *ids, QString *error,
                         const Progress &progress)
{
    if (!begin(error))
        return false;
    QVector<qint64> added;
    added.reserve(records.size());
    for (const PhraseRecord &record : records) {
        if (!add(record, error))
            return false;
        added << batchQuery.lastInsertId().toLongLong();
        if (progress)
            progress(added.size(), records.size());
    }
    if (!commit(error))
        return false;
    if (ids)
        *ids = added;
    return true;
}

bool PhraseStore::remove(const QVector<qint64> &ids, QString *error)
{
    Transaction transaction(database());
    if (!transaction.began(error))
        return false;
    QSqlQuery query(database());
    query.prepare(QStringLiteral("DELETE FROM %1 WHERE %2 = ?").arg(tableName(), fieldName(Id)));
    for (const qint64 id : ids) {
        query.bindValue(0, id);
        if (!exec(query, error))
            return false;
    }
    return transaction.commit(error);
}
