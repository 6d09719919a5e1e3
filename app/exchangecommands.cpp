#include "app/commandrunner.h"
#include "app/foundphrases.h"
#include "app/globals.h"
#include "browser/searchcondition.h"
#include "db/sqlerrortext.h"
#include "exchange/databasereader.h"
#include "exchange/databasewriter.h"
#include "exchange/importreport.h"
#include "exchange/inireader.h"
#include "exchange/phrasefilenames.h"
#include "exchange/phrasewriters.h"
#include "exchange/txtreader.h"

#include <QDir>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryFile>

// The commands that move phrases between the database and files: --import and --export.

namespace {

// --format txt or ini whatever the name; standard output, which has none, takes plain text.
PhraseFormat formatOf(const CommandLine &line)
{
    if (line.format == CommandLine::Format::Ini)
        return PhraseFormat::Ini;
    if (line.format == CommandLine::Format::Txt || line.file == CommandLine::stream())
        return PhraseFormat::Txt;
    return importFormat(line.file);
}

} // namespace

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
    const PhraseFormat format = formatOf(line);
    const bool fromInput = line.file == CommandLine::stream();
    int n = -1;
    if (format == PhraseFormat::Database)
        n = importDatabase(file, &report);
    else if (format == PhraseFormat::Ini)
        n = importIni(file, &report);
    else
        n = importTxt(fromInput ? file : txtImportName(file), &report);
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
    const PhraseFormat format = formatOf(line);
    const bool ini = format == PhraseFormat::Ini;
    const bool database = format == PhraseFormat::Database;
    if (!selectFound(query, foundFields(format), line.hasText ? line.text : QString(), -1, &error))
        return fail(unreadable(path, error));
    // The writers replace a file only once it is complete: standard output gets a copy of one.
    QTemporaryFile output(QDir::tempPath() + QStringLiteral("/quillary-XXXXXX"));
    if (toOutput && !output.open())
        return fail(QObject::tr("Cannot write a temporary file for standard output: %1").arg(output.errorString()));
    output.close();
    const QString name = toOutput ? output.fileName() : exportName(line.file, format);
    const PhraseRowSource nextRow = foundRows(query, format);
    int written = 0;
    int notWhole = 0;
    const bool wrote =
        database ? writePhraseDatabase(name, programDataFolder() + QStringLiteral("/new.db"), nextRow, &written, &error)
                 : writePhraseFile(name, ini, nextRow, &written, &error, &notWhole);
    if (!wrote)
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
