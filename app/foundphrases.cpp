#include "app/foundphrases.h"

#include "app/globals.h"
#include "browser/savedsort.h"
#include "browser/searchcondition.h"
#include "db/settingskeys.h"
#include "db/sqldialect.h"
#include "db/sqlerrortext.h"
#include "exchange/databasereader.h"

#include <QSettings>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

bool selectFound(QSqlQuery &query, const QVector<PhraseStore::Field> &fields, const QString &text, int limit,
                 QString *error)
{
    QStringList names;
    for (const PhraseStore::Field field : fields) {
        const QString name = PhraseStore::fieldName(field);
        const bool number = field == PhraseStore::Id || field == PhraseStore::Rating || field == PhraseStore::Frequency;
        names << (number ? name : SqlDialect(QSqlDatabase::database()).asBytes(name));
    }
    QString sql = QStringLiteral("SELECT ") + names.join(QStringLiteral(", ")) + QStringLiteral(" FROM ") +
                  PhraseStore::tableName();
    const QString filter = searchFilter(text);
    if (!filter.isEmpty())
        sql += QStringLiteral(" WHERE ") + filter;
    // The header counts the columns as the table has them, extra ones included.
    const SavedSort sort = SavedSort::fromHeaderState(QSettings(organizationName, applicationName)
                                                          .value(SettingsKeys::inGroup(SettingsKeys::tableHeader()))
                                                          .toByteArray());
    const QSqlDatabase db = QSqlDatabase::database();
    const QSqlRecord columns = PhraseStore::tableRecord(db);
    QString order;
    if (sort.column >= 0 && sort.column < columns.count())
        order = QStringLiteral("ORDER BY ") +
                db.driver()->escapeIdentifier(columns.fieldName(sort.column), QSqlDriver::FieldName) +
                (sort.order == Qt::AscendingOrder ? QStringLiteral(" ASC") : QStringLiteral(" DESC"));
    order = SqlDialect(db).orderBy(order, PhraseStore::fieldName(PhraseStore::Id));
    if (!order.isEmpty())
        sql += QLatin1Char(' ') + order;
    sql += QStringLiteral(" LIMIT ?");
    query.setForwardOnly(true);
    if (query.prepare(sql)) {
        query.addBindValue(limit < 0 ? SqlDialect(db).noLimit() : limit);
        if (query.exec())
            return true;
    }
    *error = sqlErrorText(query.lastError());
    return false;
}

QString textAt(const QSqlQuery &query, int field)
{
    // Taken whole, NULs and all, without a search for the first one.
    const QByteArray utf8 = query.value(field).toByteArray();
    return QString::fromUtf8(utf8.constData(), utf8.size());
}

QVector<PhraseStore::Field> foundFields(PhraseFormat format)
{
    QVector<PhraseStore::Field> fields{PhraseStore::Str, PhraseStore::Labels, PhraseStore::KeyWord, PhraseStore::Rating,
                                       PhraseStore::Frequency};
    if (format != PhraseFormat::Txt)
        fields << PhraseStore::Html;
    if (format == PhraseFormat::Database)
        fields << PhraseStore::HotKey;
    return fields;
}

PhraseRowSource foundRows(QSqlQuery &query, PhraseFormat format)
{
    return [&query, format](PhraseRecord *row) {
        if (!query.next())
            return false;
        // A database takes a NULL as it is; the files have no NULL and write it as an empty text.
        const bool database = format == PhraseFormat::Database;
        const auto text = [&query, database](int field) {
            return database ? textOfBytes(query.value(field)) : textAt(query, field);
        };
        row->str = text(0);
        row->labels = text(1);
        row->keyWord = text(2);
        row->rating = query.value(3).toInt();
        row->frequency = query.value(4).toInt();
        if (format != PhraseFormat::Txt)
            row->html = text(5);
        if (database)
            row->hotKey = text(6);
        return true;
    };
}
