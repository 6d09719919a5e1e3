#ifndef PHRASEDB_H
#define PHRASEDB_H

#include "exchange/phrasefilerow.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QTextStream>
#include <QVariant>
#include <QVector>

// The phrase table on the default connection, built from the schema the
// templates are made of. A statement ends with a line whose last character is ';'.
inline bool createPhraseTable(QString *error)
{
    QFile schema(QStringLiteral(QUILLARY_SCHEMA_SQL));
    if (!schema.open(QIODevice::ReadOnly)) {
        *error = schema.errorString();
        return false;
    }
    QTextStream in(&schema);
    in.setCodec("UTF-8");
    QString statement;
    while (!in.atEnd()) {
        const QString line = in.readLine();
        if (statement.isEmpty() && (line.trimmed().isEmpty() || line.trimmed().startsWith(QStringLiteral("--"))))
            continue;
        statement += line + QLatin1Char('\n');
        if (!line.trimmed().endsWith(QLatin1Char(';')))
            continue;
        QSqlQuery query(QSqlDatabase::database());
        if (!query.exec(statement)) {
            *error = query.lastError().text();
            return false;
        }
        statement.clear();
    }
    return true;
}

inline bool openPhraseDatabase(const QString &fileName, QString *error)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
    db.setDatabaseName(fileName);
    if (!db.open()) {
        *error = db.lastError().text();
        return false;
    }
    return createPhraseTable(error);
}

inline void closePhraseDatabase()
{
    QSqlDatabase::database().close();
    QSqlDatabase::removeDatabase(QLatin1String(QSqlDatabase::defaultConnection));
}

inline bool execSql(const QString &sql)
{
    QSqlQuery query(QSqlDatabase::database());
    return query.exec(sql);
}

inline bool operator==(const PhraseFileRow &a, const PhraseFileRow &b)
{
    return a.str == b.str && a.labels == b.labels && a.keyWord == b.keyWord && a.html == b.html &&
           a.rating == b.rating && a.frequency == b.frequency;
}

namespace QTest {
inline char *toString(const PhraseFileRow &row)
{
    QString text = QStringLiteral("{str=\"%1\" labels=\"%2\" keyWord=\"%3\" html=\"%4\" rating=%5 frequency=%6}")
                       .arg(row.str.left(200), row.labels, row.keyWord, row.html.left(200))
                       .arg(row.rating)
                       .arg(row.frequency);
    text.replace(QLatin1Char('\n'), QStringLiteral("\\n"))
        .replace(QLatin1Char('\r'), QStringLiteral("\\r"))
        .replace(QLatin1Char('\t'), QStringLiteral("\\t"));
    return qstrdup(text.toUtf8().constData());
}
} // namespace QTest

inline PhraseFileRow phrase(const QString &str, const QString &labels = QString(), const QString &keyWord = QString(),
                            int rating = 0, int frequency = 0, const QString &html = QString())
{
    PhraseFileRow row;
    row.str = str;
    row.labels = labels;
    row.keyWord = keyWord;
    row.html = html;
    row.rating = rating;
    row.frequency = frequency;
    return row;
}

// Every stored phrase in insertion order. *shadowsOk turns false when a lower-case
// shadow column does not hold the lower case of its source.
inline QVector<PhraseFileRow> storedPhrases(bool *shadowsOk = nullptr)
{
    QVector<PhraseFileRow> rows;
    QSqlQuery query(QSqlDatabase::database());
    query.exec(QStringLiteral("SELECT Str, Labels, KeyWord, Html, Rating, Frequency, StrLower, LabelLower, KeyLower "
                              "FROM TypeText ORDER BY id"));
    if (shadowsOk)
        *shadowsOk = true;
    while (query.next()) {
        const PhraseFileRow row =
            phrase(query.value(0).toString(), query.value(1).toString(), query.value(2).toString(),
                   query.value(4).toInt(), query.value(5).toInt(), query.value(3).toString());
        if (shadowsOk &&
            (query.value(6).toString() != row.str.toLower() || query.value(7).toString() != row.labels.toLower() ||
             query.value(8).toString() != row.keyWord.toLower()))
            *shadowsOk = false;
        rows.append(row);
    }
    return rows;
}

inline int storedCount()
{
    QSqlQuery query(QStringLiteral("SELECT count(*) FROM TypeText"), QSqlDatabase::database());
    return query.next() ? query.value(0).toInt() : -1;
}

inline bool writeBytes(const QString &fileName, const QByteArray &bytes)
{
    QFile file(fileName);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

#endif // PHRASEDB_H
