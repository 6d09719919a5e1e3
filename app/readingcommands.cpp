#include "app/commandrunner.h"
#include "app/foundphrases.h"
#include "browser/searchcondition.h"
#include "db/databasefile.h"
#include "db/phrasestore.h"
#include "db/sqlerrortext.h"

#include <QIODevice>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <array>

// The commands that read phrases: --list, --count and --print.

namespace {

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

} // namespace

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
