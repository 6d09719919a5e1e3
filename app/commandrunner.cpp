#include "app/commandrunner.h"

#include "app/globals.h"
#include "browser/phrasemodel.h"
#include "browser/savedsort.h"
#include "browser/searchcondition.h"
#include "db/databasefile.h"
#include "db/phrasestore.h"
#include "db/sqlerrortext.h"
#include "exchange/importreport.h"
#include "exchange/inireader.h"
#include "exchange/phrasefilenames.h"
#include "exchange/phrasewriters.h"
#include "exchange/txtreader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QIODevice>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace {

// One TAB-separated line stays one line whatever the texts hold.
QString escapedField(QString text)
{
    text.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    text.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    text.replace(QLatin1Char('\r'), QLatin1String("\\r"));
    text.replace(QLatin1Char('\t'), QLatin1String("\\t"));
    return text;
}

// The phrases a search for `text` finds, all without one, in the order the window's
// table shows them; at most `limit`, all for -1. Read forward only, one phrase at a
// time, so that a big file never sits in memory.
bool selectFound(QSqlQuery &query, const QString &text, int limit, QString *error)
{
    QStringList fields;
    for (int f = 0; f < PhraseStore::fieldCount; ++f)
        fields << PhraseStore::fieldName(PhraseStore::Field(f));
    QString sql = QStringLiteral("SELECT ") + fields.join(QStringLiteral(", ")) + QStringLiteral(" FROM ") +
                  PhraseStore::tableName();
    const QString filter = searchFilter(text);
    if (!filter.isEmpty())
        sql += QStringLiteral(" WHERE ") + filter;
    // The header counts the columns as the table has them, extra ones included.
    const SavedSort sort = SavedSort::fromHeaderState(
        QSettings(organizationName, applicationName).value(QStringLiteral("Settings/SQLTable")).toByteArray());
    const QSqlDatabase db = QSqlDatabase::database();
    const QSqlRecord columns = db.record(PhraseStore::tableName());
    if (sort.column >= 0 && sort.column < columns.count())
        sql += QStringLiteral(" ORDER BY ") +
               db.driver()->escapeIdentifier(columns.fieldName(sort.column), QSqlDriver::FieldName) +
               (sort.order == Qt::AscendingOrder ? QStringLiteral(" ASC") : QStringLiteral(" DESC"));
    // SQLite takes a negative limit for none.
    sql += QStringLiteral(" LIMIT ?");
    query.setForwardOnly(true);
    if (query.prepare(sql)) {
        query.addBindValue(limit);
        if (query.exec())
            return true;
    }
    *error = sqlErrorText(query.lastError());
    return false;
}

// The phrase at a query of selectFound, which reads the fields in their enum order.
PhraseRecord phraseAt(const QSqlQuery &query)
{
    PhraseRecord record;
    record.str = query.value(PhraseStore::Str).toString();
    record.labels = query.value(PhraseStore::Labels).toString();
    record.keyWord = query.value(PhraseStore::KeyWord).toString();
    record.hotKey = query.value(PhraseStore::HotKey).toString();
    record.html = query.value(PhraseStore::Html).toString();
    record.rating = query.value(PhraseStore::Rating).toInt();
    record.frequency = query.value(PhraseStore::Frequency).toInt();
    return record;
}

} // namespace

QString CommandRunner::storedDatabase()
{
    // Taken as the window's start takes it, so a first use starts from the starter phrases too.
    return startupDatabase(
        QSettings(organizationName, applicationName).value(QStringLiteral("Settings/NameFileDB")).toString(),
        QCoreApplication::applicationDirPath());
}

int CommandRunner::run(const CommandLine &line)
{
    path = line.database.isEmpty() ? storedDatabase() : line.database;
    // SQLite would make an empty file of a name that leads nowhere.
    if (!QFileInfo::exists(path))
        return fail(QDir::toNativeSeparators(path) + QStringLiteral(": no such database file"));
    const QString notRegular = notRegularFileReason(path);
    if (!notRegular.isEmpty())
        return fail(QDir::toNativeSeparators(path) + QStringLiteral(": ") + notRegular);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
    PhraseStore::configure(db);
    QString error;
    switch (openPhraseDatabase(db, path, &error)) {
    case DatabaseCheck::Ok:
        break;
    case DatabaseCheck::CannotOpen:
        return fail(QStringLiteral("cannot open ") + QDir::toNativeSeparators(path) + QStringLiteral(": ") + error);
    case DatabaseCheck::NoPhraseTable:
        return fail(QDir::toNativeSeparators(path) + QStringLiteral(" is not a phrase database: ") +
                    (error.isEmpty() ? QStringLiteral("table not found") : error));
    case DatabaseCheck::IdNotIntegerKey:
        return fail(QDir::toNativeSeparators(path) + QStringLiteral(" is not a phrase database: ") + error);
    case DatabaseCheck::MissingColumns:
        return fail(QDir::toNativeSeparators(path) +
                    QStringLiteral(" is not a phrase database: the phrase table lacks the columns ") + error);
    }

    switch (line.command) {
    case CommandLine::List:
        return list(line);
    case CommandLine::Print:
        return print(line.id);
    case CommandLine::Add:
        return add(line);
    case CommandLine::Import:
        return import(line.file);
    case CommandLine::Export:
        return exportTo(line);
    default:
        return fail(QStringLiteral("not a command without a window"));
    }
}

int CommandRunner::list(const CommandLine &line)
{
    QSqlQuery query;
    QString error;
    if (line.hasText && searchTooLong(line.text))
        return fail(searchTooLongNote());
    if (!selectFound(query, line.hasText ? line.text : QString(), line.limit, &error))
        return fail(QDir::toNativeSeparators(path) + QStringLiteral(": ") + error);
    // Written a batch at a time: a reader slow to take the lines then seldom keeps
    // the file's read lock from other copies, and a long list makes few writes.
    constexpr int batchSize = 1 << 20;
    QByteArray batch;
    batch.reserve(batchSize + batchSize / 4);
    if (line.json)
        batch += '[';
    for (bool first = true; query.next(); first = false) {
        const qint64 id = query.value(PhraseStore::Id).toLongLong();
        const PhraseRecord phrase = phraseAt(query);
        if (line.json) {
            if (!first)
                batch += ',';
            batch += QJsonDocument(QJsonObject{{QStringLiteral("id"), id},
                                               {QStringLiteral("phrase"), phrase.str},
                                               {QStringLiteral("labels"), phrase.labels},
                                               {QStringLiteral("comment"), phrase.keyWord},
                                               {QStringLiteral("rating"), phrase.rating},
                                               {QStringLiteral("count"), phrase.frequency}})
                         .toJson(QJsonDocument::Compact);
        } else {
            const QStringList fields{
                QString::number(id),          escapedField(phrase.str),       escapedField(phrase.labels),
                escapedField(phrase.keyWord), QString::number(phrase.rating), QString::number(phrase.frequency)};
            batch += fields.join(QLatin1Char('\t')).toUtf8() + '\n';
        }
        if (batch.size() >= batchSize) {
            out->write(batch);
            batch.resize(0);
        }
    }
    if (query.lastError().isValid())
        return fail(QDir::toNativeSeparators(path) + QStringLiteral(": ") + sqlErrorText(query.lastError()));
    query.finish();
    if (line.json)
        batch += "]\n";
    out->write(batch);
    return 0;
}

int CommandRunner::print(qint64 id)
{
    PhraseModel model;
    model.setTable(PhraseStore::tableName());
    model.setFilter(PhraseStore::fieldName(PhraseStore::Id) + QStringLiteral(" = ") + QString::number(id));
    if (!model.select())
        return fail(QDir::toNativeSeparators(path) + QStringLiteral(": ") + sqlErrorText(model.lastError()));
    if (model.rowCount() == 0)
        return fail(QStringLiteral("no phrase with the id %1").arg(id));
    const QByteArray text = model.value(0, PhraseStore::Str).toString().toUtf8();
    // As in the window, a file that cannot be written still gives its phrases.
    if (!isWritableDatabase(model.database())) {
        note(QStringLiteral("the use was not counted: ") + QDir::toNativeSeparators(path) +
             QStringLiteral(" is read-only"));
        out->write(text);
        return 0;
    }
    int count = 0;
    QString error;
    if (!model.store().countUse(id, &count, &error))
        return fail(QStringLiteral("cannot count the use of phrase %1: %2").arg(id).arg(error));
    out->write(text);
    return 0;
}

int CommandRunner::add(const CommandLine &line)
{
    PhraseRecord phrase;
    phrase.str = line.text;
    phrase.labels = line.labels;
    phrase.keyWord = line.comment;
    phrase.rating = line.rating;
    QVector<qint64> ids;
    QString error;
    if (!PhraseStore().insert({phrase}, &ids, &error) || ids.isEmpty())
        return fail(QStringLiteral("cannot store the phrase in ") + QDir::toNativeSeparators(path) +
                    QStringLiteral(": ") + error);
    out->write(QByteArray::number(ids.first()) + '\n');
    return 0;
}

int CommandRunner::import(const QString &file)
{
    ImportReport report;
    const bool ini = isIniImportName(file);
    const int n = ini ? importIni(file, &report) : importTxt(txtImportName(file), &report);
    if (n >= 0 && report.error.isEmpty())
        note(QObject::tr("%n phrase(s) have been imported.", "", n));
    if (!report.error.isEmpty())
        return fail(report.error.simplified());
    return n >= 0 ? 0 : 1;
}

int CommandRunner::exportTo(const CommandLine &line)
{
    QSqlQuery query;
    QString error;
    if (line.hasText && searchTooLong(line.text))
        return fail(searchTooLongNote());
    if (!selectFound(query, line.hasText ? line.text : QString(), -1, &error))
        return fail(QDir::toNativeSeparators(path) + QStringLiteral(": ") + error);
    const bool ini = isIniImportName(line.file);
    const QString name = exportName(line.file, ini);
    const PhraseRowSource nextRow = [&query](PhraseRecord *row) {
        if (!query.next())
            return false;
        *row = phraseAt(query);
        return true;
    };
    int written = 0;
    int notWhole = 0;
    if (!writePhraseFile(name, ini, nextRow, &written, &error, &notWhole))
        return fail(error.simplified());
    // The writer takes a failed read for the end: the file then lacks the phrases after it.
    if (query.lastError().isValid())
        return fail(QDir::toNativeSeparators(path) + QStringLiteral(": ") + sqlErrorText(query.lastError()));
    note(QObject::tr("%n phrase(s) have been exported.", "", written));
    if (notWhole > 0)
        note(QStringLiteral("quillary: ") + notWholeNote(notWhole));
    return 0;
}

int CommandRunner::fail(const QString &why)
{
    note(QStringLiteral("quillary: ") + why);
    return 1;
}

void CommandRunner::note(const QString &text)
{
    err->write(text.toUtf8() + '\n');
}
