#include "db/phrasestore.h"

#include "db/impatientconnection.h"
#include "db/sqldialect.h"
#include "db/sqlerrortext.h"
#include "db/sqltransaction.h"

#include <QObject>
#include <QSqlError>
#include <QSqlRecord>

#include <algorithm>

namespace {

const char *const fieldNames[PhraseStore::fieldCount] = {
    "id", "Str", "Labels", "KeyWord", "HotKey", "Html", "KeyLower", "StrLower", "LabelLower", "Rating", "Frequency"};

} // namespace

PhraseStore::Field PhraseStore::shadowOf(Field field)
{
    switch (field) {
    case Str:
        return StrLower;
    case Labels:
        return LabelLower;
    case KeyWord:
        return KeyLower;
    default:
        return field;
    }
}

int PhraseStore::fieldNamed(const QString &name)
{
    for (int f = 0; f < fieldCount; ++f) {
        if (name.compare(QLatin1String(fieldNames[f]), Qt::CaseInsensitive) == 0)
            return f;
    }
    return -1;
}

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

QSqlRecord PhraseStore::tableRecord(const QSqlDatabase &db)
{
    return db.record(SqlDialect(db).modelTable(tableName()));
}

QStringList PhraseStore::missingFields(const QSqlDatabase &db)
{
    const QSqlRecord record = tableRecord(db);
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
    if (query.exec())
        return true;
    if (error)
        *error = sqlErrorText(query.lastError());
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
        *error = noPhrase();
    return false;
}

QString PhraseStore::noPhrase()
{
    return QObject::tr("the phrase is no longer in the file");
}

bool PhraseStore::countUse(qint64 id, int *count, QString *error)
{
    const QString increment =
        QStringLiteral("UPDATE %1 SET %2 = %2 + 1 WHERE %3 = ?").arg(tableName(), fieldName(Frequency), fieldName(Id));
    if (SqlDialect(database()).hasReturning()) {
        QSqlQuery query(database());
        query.prepare(increment + QStringLiteral(" RETURNING ") + fieldName(Frequency));
        query.addBindValue(id);
        if (!exec(query, error))
            return false;
        if (!query.next()) {
            if (error)
                *error = noPhrase();
            return false;
        }
        if (count)
            *count = query.value(0).toInt();
        return true;
    }
    SqlTransaction transaction(database());
    if (!transaction.began(error))
        return false;
    QSqlQuery query(database());
    query.prepare(increment);
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

bool PhraseStore::update(qint64 id, const Values &values, QString *error)
{
    QSqlQuery query(database());
    prepareUpdate(query, id, values, {});
    return execOnPhrase(query, error);
}

void PhraseStore::prepareUpdate(QSqlQuery &query, qint64 id, const Values &values, const Values &bases) const
{
    QStringList assignments;
    for (const auto &value : values)
        assignments << fieldName(value.first) + QStringLiteral(" = ?");
    QStringList conditions{fieldName(Id) + QStringLiteral(" = ?")};
    for (const auto &base : bases)
        conditions << fieldName(base.first) + SqlDialect(database()).sameAsBound();
    query.prepare(
        QStringLiteral("UPDATE %1 SET %2 WHERE %3")
            .arg(tableName(), assignments.join(QStringLiteral(", ")), conditions.join(QStringLiteral(" AND "))));
    for (const auto &value : values)
        query.addBindValue(value.second);
    query.addBindValue(id);
    for (const auto &base : bases)
        query.addBindValue(base.second);
}

PhraseStore::Outcome PhraseStore::updateIf(qint64 id, const Values &values, const Values &bases, QString *error)
{
    const auto holdsNew = [&values](const auto &valueOf) {
        return std::all_of(values.cbegin(), values.cend(), [&valueOf](const QPair<Field, QVariant> &value) {
            // The lower-case copies follow their fields; only what a person sees is compared.
            const bool shadow = value.first == StrLower || value.first == LabelLower || value.first == KeyLower;
            return shadow || valueOf(value.first).toString() == value.second.toString();
        });
    };
    const auto baseOf = [&bases](Field field) {
        for (const auto &base : bases) {
            if (base.first == field)
                return base.second;
        }
        return QVariant();
    };
    if (holdsNew(baseOf))
        return Outcome::Unchanged;

    QSqlQuery query(database());
    prepareUpdate(query, id, values, bases);
    if (!exec(query, error))
        return Outcome::Failed;
    if (query.numRowsAffected() > 0)
        return Outcome::Stored;

    // Nothing matched: the phrase is gone, or someone else wrote first, perhaps the very same text.
    PhraseRecord now;
    bool found = false;
    if (!read(id, &now, &found, error))
        return Outcome::Failed;
    if (!found)
        return Outcome::Gone;
    const auto nowOf = [&now](Field field) -> QVariant {
        switch (field) {
        case Str:
            return now.str;
        case Html:
            return now.html;
        case Labels:
            return now.labels;
        case KeyWord:
            return now.keyWord;
        case Rating:
            return now.rating;
        default:
            return QVariant();
        }
    };
    return holdsNew(nowOf) ? Outcome::Stored : Outcome::Conflict;
}

bool PhraseStore::setText(qint64 id, const QString &str, const QString &html, QString *error)
{
    return update(id, {{Str, str}, {StrLower, str.toLower()}, {Html, html}}, error);
}

PhraseStore::Outcome PhraseStore::setText(qint64 id, const QString &str, const QString &html, const QVariant &baseStr,
                                          const QVariant &baseHtml, QString *error)
{
    return updateIf(id, {{Str, str}, {StrLower, str.toLower()}, {Html, html}}, {{Str, baseStr}, {Html, baseHtml}},
                    error);
}

namespace {

QVector<QPair<PhraseStore::Field, QVariant>> fieldValues(PhraseStore::Field field, const QVariant &value)
{
    if (field == PhraseStore::Rating)
        return {{PhraseStore::Rating, value.toInt()}};
    const QString newText = value.toString();
    return {{field, newText}, {PhraseStore::shadowOf(field), newText.toLower()}};
}

} // namespace

bool PhraseStore::setField(qint64 id, Field field, const QVariant &value, QString *error)
{
    return update(id, fieldValues(field, value), error);
}

PhraseStore::Outcome PhraseStore::setField(qint64 id, Field field, const QVariant &value, const QVariant &base,
                                           QString *error)
{
    return updateIf(id, fieldValues(field, value), {{field, base}}, error);
}

bool PhraseStore::read(qint64 id, PhraseRecord *record, bool *found, QString *error, bool waitForLock)
{
    std::unique_ptr<ImpatientConnection> impatient(waitForLock ? nullptr : new ImpatientConnection(database()));
    static const Field fields[] = {Str, Labels, KeyWord, HotKey, Html, Rating, Frequency};
    QStringList names;
    for (const Field field : fields)
        names << fieldName(field);
    QSqlQuery query(database());
    query.prepare(QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ?")
                      .arg(names.join(QStringLiteral(", ")), tableName(), fieldName(Id)));
    query.addBindValue(id);
    if (!exec(query, error))
        return false;
    *found = query.next();
    if (*found) {
        record->str = query.value(0).toString();
        record->labels = query.value(1).toString();
        record->keyWord = query.value(2).toString();
        record->hotKey = query.value(3).toString();
        record->html = query.value(4).toString();
        record->rating = query.value(5).toInt();
        record->frequency = query.value(6).toInt();
    }
    query.finish();
    return true;
}

bool PhraseStore::remove(const QVector<qint64> &ids, QString *error)
{
    SqlTransaction transaction(database());
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
