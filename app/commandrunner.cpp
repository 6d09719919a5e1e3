#include "app/commandrunner.h"

#include "app/globals.h"
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
#include <QTemporaryFile>

#include <array>

namespace {

constexpr int chunkSize = 1 << 20;

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// Appends UTF-8 text with backslash, line break, carriage return and TAB escaped,
// so that one TAB-separated line stays one line whatever the texts hold. None of
// those bytes occurs inside a multi-byte UTF-8 sequence.
void appendEscaped(QByteArray &out, const QByteArray &utf8)
{
    static const auto escapes = [] {
        std::array<char, 256> table{};
        table['\\'] = '\\';
        table['\n'] = 'n';
        table['\r'] = 'r';
        table['\t'] = 't';
        return table;
    }();
    const char *plain = utf8.constData();
    const char *const end = plain + utf8.size();
    for (const char *p = plain; p < end; ++p) {
        const char escape = escapes[uchar(*p)];
        if (!escape)
            continue;
        out.append(plain, int(p - plain));
        out.append('\\');
        out.append(escape);
        plain = p + 1;
    }
    out.append(plain, int(end - plain));
}

// The phrases a search for `text` finds, all without one, in the order the window's
// table shows them, with the given fields in that order, texts as their UTF-8 bytes;
// at most `limit`, all for -1. Read forward only, one phrase at a time, so that a big
// file never sits in memory. Bytes spare SQLite turning every text into UTF-16.
bool selectFound(QSqlQuery &query, const QVector<PhraseStore::Field> &fields, const QString &text, int limit,
                 QString *error)
{
    QStringList names;
    for (const PhraseStore::Field field : fields) {
        const QString name = PhraseStore::fieldName(field);
        const bool number = field == PhraseStore::Id || field == PhraseStore::Rating || field == PhraseStore::Frequency;
        names << (number ? name : QStringLiteral("CAST(%1 AS BLOB)").arg(name));
    }
    QString sql = QStringLiteral("SELECT ") + names.join(QStringLiteral(", ")) + QStringLiteral(" FROM ") +
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

// A text field of a selectFound query; NULL reads as empty, as the window shows it.
QString textAt(const QSqlQuery &query, int field)
{
    // Taken whole, NULs and all, without a search for the first one.
    const QByteArray utf8 = query.value(field).toByteArray();
    return QString::fromUtf8(utf8.constData(), utf8.size());
}

// Ends a sentence that a driver's or the system's text closes.
QString sentence(QString text)
{
    text = text.simplified();
    if (!text.isEmpty() && !text.endsWith(QLatin1Char('.')) && !text.endsWith(QLatin1Char('?')) &&
        !text.endsWith(QLatin1Char('!')))
        text += QLatin1Char('.');
    return text;
}

QString noSuchPhrase(qint64 id)
{
    return QObject::tr("There is no phrase with the id %1.").arg(id);
}

QString unreadable(const QString &path, const QString &error)
{
    return QObject::tr("Cannot read %1: %2").arg(native(path), error);
}

} // namespace

QString CommandRunner::storedDatabase()
{
    // Taken as the window's start takes it, so a first use starts from the starter phrases too.
    return startupDatabase(
        QSettings(organizationName, applicationName).value(QStringLiteral("Settings/NameFileDB")).toString(),
        programDataFolder());
}

int CommandRunner::run(const CommandLine &given)
{
    if (given.command == CommandLine::Init)
        return init(given.file);
    CommandLine line = given;
    if (line.textFromInput) {
        if (!readInput(&line.text))
            return 1;
        if (line.text.isEmpty())
            return usage(
                QObject::tr("%1 wants a phrase that is not empty.")
                    .arg(line.command == CommandLine::Add ? QStringLiteral("--add") : QStringLiteral("--text")));
    }

    path = line.database.isEmpty() ? storedDatabase() : line.database;
    // SQLite would make an empty file of a name that leads nowhere.
    if (!QFileInfo::exists(path))
        return fail(QObject::tr("There is no database file %1.").arg(native(path)));
    const QString notRegular = notRegularFileReason(path);
    if (!notRegular.isEmpty())
        return fail(QObject::tr("Cannot open %1: %2").arg(native(path), notRegular));
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
    PhraseStore::configure(db);
    QString error;
    const QString notPhrases = QObject::tr("The file %1 is not a phrase database: %2");
    switch (openPhraseDatabase(db, path, &error)) {
    case DatabaseCheck::Ok:
        break;
    case DatabaseCheck::CannotOpen:
        return fail(QObject::tr("Cannot open %1: %2").arg(native(path), error));
    case DatabaseCheck::NoPhraseTable:
        return fail(notPhrases.arg(
            native(path), error.isEmpty() ? QObject::tr("it has no table %1").arg(PhraseStore::tableName()) : error));
    case DatabaseCheck::IdNotIntegerKey:
        return fail(notPhrases.arg(native(path), error));
    case DatabaseCheck::MissingColumns:
        return fail(notPhrases.arg(native(path), QObject::tr("the phrase table lacks the columns %1.").arg(error)));
    }

    switch (line.command) {
    case CommandLine::List:
        return list(line);
    case CommandLine::Count:
        return count(line);
    case CommandLine::Print:
        return print(line);
    case CommandLine::Add:
        return add(line);
    case CommandLine::Set:
        return set(line);
    case CommandLine::Delete:
        return remove(line.ids);
    case CommandLine::Import:
        return import(line);
    case CommandLine::Export:
        return exportTo(line);
    default:
        return 2;
    }
}

int CommandRunner::list(const CommandLine &line)
{
    QSqlQuery query;
    QString error;
    if (line.hasText && searchTooLong(line.text))
        return fail(searchTooLongNote());
    if (!selectFound(query,
                     {PhraseStore::Id, PhraseStore::Str, PhraseStore::Labels, PhraseStore::KeyWord, PhraseStore::Rating,
                      PhraseStore::Frequency},
                     line.hasText ? line.text : QString(), line.limit, &error))
        return fail(unreadable(path, error));
    const char end = line.null ? '\0' : '\n';
    // Written a batch at a time: a reader slow to take the lines then seldom keeps
    // the file's read lock from other copies, and a long list makes few writes.
    QByteArray batch;
    batch.reserve(chunkSize + chunkSize / 4);
    if (line.json)
        batch += '[';
    for (bool first = true; query.next(); first = false) {
        const qint64 id = query.value(0).toLongLong();
        const int rating = query.value(4).toInt();
        const int frequency = query.value(5).toInt();
        if (line.json) {
            if (!first)
                batch += ',';
            batch += QJsonDocument(QJsonObject{{QStringLiteral("id"), id},
                                               {QStringLiteral("phrase"), textAt(query, 1)},
                                               {QStringLiteral("labels"), textAt(query, 2)},
                                               {QStringLiteral("comment"), textAt(query, 3)},
                                               {QStringLiteral("rating"), rating},
                                               {QStringLiteral("count"), frequency}})
                         .toJson(QJsonDocument::Compact);
        } else {
            batch += QByteArray::number(id);
            for (int field = 1; field <= 3; ++field) {
                batch += '\t';
                appendEscaped(batch, query.value(field).toByteArray());
            }
            batch += '\t';
            batch += QByteArray::number(rating);
            batch += '\t';
            batch += QByteArray::number(frequency);
            batch += end;
        }
        if (batch.size() >= chunkSize) {
            if (!write(batch))
                return 1;
            batch.resize(0);
        }
    }
    if (query.lastError().isValid())
        return fail(unreadable(path, sqlErrorText(query.lastError())));
    query.finish();
    if (line.json)
        batch += "]\n";
    return write(batch) ? 0 : 1;
}

int CommandRunner::count(const CommandLine &line)
{
    if (line.hasText && searchTooLong(line.text))
        return fail(searchTooLongNote());
    QString sql = QStringLiteral("SELECT count(*) FROM ") + PhraseStore::tableName();
    const QString filter = searchFilter(line.hasText ? line.text : QString());
    if (!filter.isEmpty())
        sql += QStringLiteral(" WHERE ") + filter;
    QSqlQuery query;
    if (!query.exec(sql) || !query.next())
        return fail(unreadable(path, sqlErrorText(query.lastError())));
    const QByteArray found = QByteArray::number(query.value(0).toLongLong()) + '\n';
    query.finish();
    return write(found) ? 0 : 1;
}

int CommandRunner::print(const CommandLine &line)
{
    PhraseStore store;
    PhraseRecord phrase;
    bool found = false;
    QString error;
    if (!store.read(line.id, &phrase, &found, &error))
        return fail(unreadable(path, error));
    if (!found)
        return fail(noSuchPhrase(line.id));
    const QByteArray text = phrase.str.toUtf8();
    if (!line.noCount) {
        // As in the window, a file that cannot be written still gives its phrases.
        if (!isWritableDatabase(QSqlDatabase::database()))
            note(QObject::tr("The database is read-only: uses of phrases are not counted."));
        else if (!store.countUse(line.id, nullptr, &error))
            return fail(QObject::tr("Cannot count the use of phrase %1: %2").arg(line.id).arg(error));
    }
    return write(text) ? 0 : 1;
}

int CommandRunner::add(const CommandLine &line)
{
    PhraseRecord phrase;
    phrase.str = line.text;
    phrase.labels = line.labels.value_or(QString(QLatin1String("")));
    phrase.keyWord = line.comment.value_or(QString(QLatin1String("")));
    phrase.rating = line.rating.value_or(0);
    QVector<qint64> ids;
    QString error;
    if (!PhraseStore().insert({phrase}, &ids, &error) || ids.isEmpty())
        return fail(QObject::tr("Cannot store the phrase in %1: %2").arg(native(path), error));
    return write(QByteArray::number(ids.first()) + '\n') ? 0 : 1;
}

int CommandRunner::set(const CommandLine &line)
{
    const qint64 id = line.id;
    const auto cannot = [id](const QString &error) {
        return QObject::tr("Cannot change phrase %1: %2").arg(id).arg(error);
    };
    // Nothing may write the phrase between reading and writing it, and the fields go all or none.
    QSqlDatabase db = QSqlDatabase::database();
    QSqlQuery begin(db);
    if (!begin.exec(QStringLiteral("BEGIN IMMEDIATE")))
        return fail(cannot(sqlErrorText(begin.lastError())));
    struct Rollback
    {
        QSqlDatabase &db;
        bool open = true;
        ~Rollback()
        {
            if (open)
                db.rollback();
        }
    } transaction{db};

    PhraseStore store;
    PhraseRecord now;
    bool found = false;
    QString error;
    if (!store.read(id, &now, &found, &error))
        return fail(cannot(error));
    const QString deleted = QObject::tr("Another window or program deleted phrase %1: nothing was stored.").arg(id);
    const QString changed =
        QObject::tr("Another window or program changed phrase %1: it no longer holds the value of --if-unchanged, "
                    "and nothing was stored.")
            .arg(id);
    if (!found)
        return fail(line.ifUnchanged ? deleted : noSuchPhrase(id));

    struct Change
    {
        PhraseStore::Field field;
        QVariant value;
        QVariant held;
    };
    QVector<Change> changes;
    if (line.hasText)
        changes.append({PhraseStore::Str, line.text, now.str});
    if (line.labels)
        changes.append({PhraseStore::Labels, *line.labels, now.labels});
    if (line.comment)
        changes.append({PhraseStore::KeyWord, *line.comment, now.keyWord});
    if (line.rating)
        changes.append({PhraseStore::Rating, *line.rating, now.rating});
    if (line.ifUnchanged) {
        // It goes with one field. A file that holds the new value already needs no write.
        const Change &only = changes.first();
        const bool held = only.field == PhraseStore::Rating ? only.held.toLongLong() == line.ifUnchanged->toLongLong()
                                                            : only.held.toString() == *line.ifUnchanged;
        if (!held)
            return only.held == only.value ? 0 : fail(changed);
    }
    for (const Change &change : changes) {
        // As a cell edit: a text given as it was keeps its rich text.
        if (change.field == PhraseStore::Str && change.value == change.held)
            continue;
        const PhraseStore::Outcome outcome =
            change.field == PhraseStore::Str
                ? store.setText(id, change.value.toString(), QString(QLatin1String("")), change.held, now.html, &error)
                : store.setField(id, change.field, change.value, change.held, &error);
        if (outcome == PhraseStore::Outcome::Conflict || outcome == PhraseStore::Outcome::Gone)
            return fail(outcome == PhraseStore::Outcome::Gone ? deleted : changed);
        if (outcome == PhraseStore::Outcome::Failed)
            return fail(cannot(error));
    }
    if (!db.commit())
        return fail(cannot(sqlErrorText(db.lastError())));
    transaction.open = false;
    return 0;
}

int CommandRunner::remove(const QVector<qint64> &ids)
{
    QSqlQuery query;
    query.prepare(QStringLiteral("SELECT 1 FROM %1 WHERE %2 = ?")
                      .arg(PhraseStore::tableName(), PhraseStore::fieldName(PhraseStore::Id)));
    for (const qint64 id : ids) {
        query.addBindValue(id);
        if (!query.exec())
            return fail(unreadable(path, sqlErrorText(query.lastError())));
        const bool found = query.next();
        query.finish();
        if (!found)
            return fail(QObject::tr("There is no phrase with the id %1: nothing was deleted.").arg(id));
    }
    QString error;
    if (!PhraseStore().remove(ids, &error))
        return fail(QObject::tr("Cannot delete the phrases: %1").arg(error));
    return 0;
}

int CommandRunner::import(const CommandLine &line)
{
    QString file = line.file;
    // The readers take a file: standard input becomes one first.
    QTemporaryFile input(QDir::tempPath() + QStringLiteral("/quillary-XXXXXX"));
    if (file == CommandLine::stream()) {
        if (!input.open())
            return fail(QObject::tr("Cannot store standard input in a temporary file: %1").arg(input.errorString()));
        if (!copyInput(&input))
            return 1;
        input.close();
        file = input.fileName();
    }
    ImportReport report;
    const bool ini =
        line.format == CommandLine::Format::ByName ? isIniImportName(file) : line.format == CommandLine::Format::Ini;
    const bool fromInput = line.file == CommandLine::stream();
    const int n = ini ? importIni(file, &report) : importTxt(fromInput ? file : txtImportName(file), &report);
    if (n >= 0 && report.error.isEmpty())
        note(QObject::tr("%n phrase(s) have been imported.", "", n));
    if (!report.error.isEmpty())
        return fail(report.error);
    return n >= 0 ? 0 : 1;
}

int CommandRunner::exportTo(const CommandLine &line)
{
    QSqlQuery query;
    QString error;
    if (line.hasText && searchTooLong(line.text))
        return fail(searchTooLongNote());
    const bool toOutput = line.file == CommandLine::stream();
    const bool ini = line.format == CommandLine::Format::ByName ? !toOutput && isIniImportName(line.file)
                                                                : line.format == CommandLine::Format::Ini;
    // Plain text carries no rich text, the largest field.
    QVector<PhraseStore::Field> fields{PhraseStore::Str, PhraseStore::Labels, PhraseStore::KeyWord, PhraseStore::Rating,
                                       PhraseStore::Frequency};
    if (ini)
        fields << PhraseStore::Html;
    if (!selectFound(query, fields, line.hasText ? line.text : QString(), -1, &error))
        return fail(unreadable(path, error));
    // The writers replace a file only once it is complete: standard output gets a copy of one.
    QTemporaryFile output(QDir::tempPath() + QStringLiteral("/quillary-XXXXXX"));
    if (toOutput && !output.open())
        return fail(QObject::tr("Cannot write a temporary file for standard output: %1").arg(output.errorString()));
    output.close();
    const QString name = toOutput ? output.fileName() : exportName(line.file, ini);
    const PhraseRowSource nextRow = [&query, ini](PhraseRecord *row) {
        if (!query.next())
            return false;
        row->str = textAt(query, 0);
        row->labels = textAt(query, 1);
        row->keyWord = textAt(query, 2);
        row->rating = query.value(3).toInt();
        row->frequency = query.value(4).toInt();
        if (ini)
            row->html = textAt(query, 5);
        return true;
    };
    int written = 0;
    int notWhole = 0;
    if (!writePhraseFile(name, ini, nextRow, &written, &error, &notWhole))
        return fail(error);
    // The writer takes a failed read for the end: the file then lacks the phrases after it.
    if (query.lastError().isValid())
        return fail(unreadable(path, sqlErrorText(query.lastError())));
    query.finish();
    if (toOutput) {
        QFile file(name);
        if (!file.open(QIODevice::ReadOnly))
            return fail(unreadable(name, file.errorString()));
        for (QByteArray chunk; !(chunk = file.read(chunkSize)).isEmpty();) {
            if (!write(chunk))
                return 1;
        }
    }
    note(QObject::tr("%n phrase(s) have been exported.", "", written));
    if (notWhole > 0)
        note(notWholeNote(notWhole));
    return 0;
}

int CommandRunner::init(const QString &file)
{
    const QString templateName = programDataFolder() + QStringLiteral("/new.db");
    const auto cannot = [&file](const QString &why) {
        return QObject::tr("Cannot create %1: %2").arg(native(file), why);
    };
    QFile source(templateName);
    if (!source.open(QIODevice::ReadOnly))
        return fail(
            cannot(QObject::tr("the template %1 cannot be read: %2").arg(native(templateName), source.errorString())));
    const QFileInfo info(file);
    if (info.exists() || info.isSymLink())
        return fail(cannot(QObject::tr("the file already exists")));
    // Made new or not at all, even when another program creates the name meanwhile.
    QFile target(file);
    if (!target.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return fail(cannot(target.errorString()));
    const QByteArray bytes = source.readAll();
    if (source.error() != QFileDevice::NoError || target.write(bytes) != bytes.size() || !target.flush()) {
        const QString why = source.error() != QFileDevice::NoError ? source.errorString() : target.errorString();
        target.remove();
        return fail(cannot(why));
    }
    return 0;
}

bool CommandRunner::readInput(QString *text)
{
    if (!in) {
        fail(QObject::tr("Cannot read standard input."));
        return false;
    }
    const QByteArray bytes = in->readAll();
    *text = QString::fromUtf8(bytes);
    // Bytes that are no UTF-8 come back as replacement characters, which would be stored in silence.
    if (text->toUtf8() != bytes) {
        fail(QObject::tr("Standard input is not UTF-8 text."));
        return false;
    }
    return true;
}

bool CommandRunner::copyInput(QIODevice *to)
{
    if (!in) {
        fail(QObject::tr("Cannot read standard input."));
        return false;
    }
    for (QByteArray chunk; !(chunk = in->read(chunkSize)).isEmpty();) {
        if (to->write(chunk) != chunk.size()) {
            fail(QObject::tr("Cannot store standard input in a temporary file: %1").arg(to->errorString()));
            return false;
        }
    }
    return true;
}

bool CommandRunner::write(const QByteArray &bytes)
{
    if (out->write(bytes) == bytes.size())
        return true;
    fail(QObject::tr("Cannot write to standard output: %1").arg(out->errorString()));
    return false;
}

int CommandRunner::fail(const QString &why)
{
    note(why);
    return 1;
}

int CommandRunner::usage(const QString &why)
{
    err->write(CommandLine::usageLine(why).toUtf8() + '\n');
    return 2;
}

void CommandRunner::note(const QString &text)
{
    err->write(QStringLiteral("quillary: ").toUtf8() + sentence(text).toUtf8() + '\n');
}
