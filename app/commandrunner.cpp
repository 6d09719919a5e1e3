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
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlError>

#include <numeric>

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

// The phrases a search for `text` finds, all without one, read into `model` in the
// order the window's table shows them.
bool selectFound(PhraseModel &model, const CommandLine &line, QString *error)
{
    model.setTable(PhraseStore::tableName());
    model.setFilter(line.hasText ? searchFilter(line.text) : QString());
    const SavedSort sort = SavedSort::fromHeaderState(
        QSettings(organizationName, applicationName).value(QStringLiteral("Settings/SQLTable")).toByteArray());
    if (sort.column < model.columnCount())
        model.setSort(sort.column, sort.order);
    if (model.select())
        return true;
    *error = sqlErrorText(model.lastError());
    return false;
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
    if (!QFileInfo(path).isFile())
        return fail(QDir::toNativeSeparators(path) + QStringLiteral(": no such database file"));
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
    PhraseStore::configure(db);
    QString error;
    switch (openPhraseDatabase(db, path, &error)) {
    case DatabaseCheck::Ok:
        break;
    case DatabaseCheck::CannotOpen:
        return fail(QStringLiteral("cannot open ") + QDir::toNativeSeparators(path) + QStringLiteral(": ") + error);
    case DatabaseCheck::NoPhraseTable:
        return fail(QDir::toNativeSeparators(path) + QStringLiteral(" is not a phrase database: table not found"));
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
    PhraseModel model;
    QString error;
    if (!selectFound(model, line, &error))
        return fail(QDir::toNativeSeparators(path) + QStringLiteral(": ") + error);
    const int rows = line.limit < 0 ? model.rowCount() : qMin(line.limit, model.rowCount());
    QJsonArray array;
    for (int row = 0; row < rows; ++row) {
        const qint64 id = model.value(row, PhraseStore::Id).toLongLong();
        const PhraseRecord phrase = model.phrase(row);
        if (line.json) {
            array.append(QJsonObject{{QStringLiteral("id"), id},
                                     {QStringLiteral("phrase"), phrase.str},
                                     {QStringLiteral("labels"), phrase.labels},
                                     {QStringLiteral("comment"), phrase.keyWord},
                                     {QStringLiteral("rating"), phrase.rating},
                                     {QStringLiteral("count"), phrase.frequency}});
            continue;
        }
        const QStringList fields{
            QString::number(id),          escapedField(phrase.str),       escapedField(phrase.labels),
            escapedField(phrase.keyWord), QString::number(phrase.rating), QString::number(phrase.frequency)};
        out->write(fields.join(QLatin1Char('\t')).toUtf8() + '\n');
    }
    if (line.json)
        out->write(QJsonDocument(array).toJson(QJsonDocument::Compact) + '\n');
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
    PhraseModel model;
    QString error;
    if (!selectFound(model, line, &error))
        return fail(QDir::toNativeSeparators(path) + QStringLiteral(": ") + error);
    const bool ini = isIniImportName(line.file);
    const QString name = exportName(line.file, ini);
    QVector<int> rows(model.rowCount());
    std::iota(rows.begin(), rows.end(), 0);
    int written = 0;
    if (!writePhraseFile(name, ini, model.phraseSource(rows), &written, &error))
        return fail(error.simplified());
    note(QObject::tr("%n phrase(s) have been exported.", "", written));
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
