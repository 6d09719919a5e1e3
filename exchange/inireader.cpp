#include "exchange/inireader.h"

#include "exchange/eventpacer.h"
#include "exchange/inisyntax.h"
#include "exchange/phraseinserter.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QObject>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTextStream>

namespace {
QString sectionStatement()
{
    return QStringLiteral("INSERT INTO TypeText (Str, Labels, KeyWord, StrLower, LabelLower, KeyLower, Rating, "
                          "Frequency) VALUES (?, ?, ?, ?, ?, ?, ?, ?)");
}

void bindSectionPhrase(QSqlQuery &query, const QString &str, const QString &labels, const QString &keyWord, int rating,
                       int frequency)
{
    query.bindValue(0, str);
    query.bindValue(1, labels);
    query.bindValue(2, keyWord);
    query.bindValue(3, str.toLower());
    query.bindValue(4, labels.toLower());
    query.bindValue(5, keyWord.toLower());
    query.bindValue(6, rating);
    query.bindValue(7, frequency);
}

bool startsSectionForm(QFile &file)
{
    // The section form comes from an editor that wrote CR CR LF: after the line end
    // is cut off, the first line still ends in CR.
    QTextStream in(&file);
    return in.readLine().endsWith(QLatin1Char('\r'));
}

int readSectionForm(QFile &file, ImportReport *report, const ImportProgress &progress)
{
    PhraseInserter inserter(sectionStatement());
    if (!inserter.isReady())
        return inserter.finish(report);

    file.seek(0);
    QTextStream in(&file);
    in.setCodec("Windows-1251");
    const qint64 total = file.size();
    EventPacer pacer(progress);

    QString section;
    QString keyWord;
    QString str;
    bool pending = false;
    const auto insertPending = [&] {
        if (!pending)
            return;
        bindSectionPhrase(inserter.query(), str, section, keyWord, 0, 0);
        inserter.exec();
        pending = false;
    };

    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            insertPending();
            const int close = line.indexOf(QLatin1Char(']'));
            section = line.mid(1, close < 0 ? -1 : close - 1);
        } else if (const int equals = line.indexOf(QLatin1Char('=')); equals >= 0) {
            insertPending();
            keyWord = line.left(equals);
            str = line.mid(equals + 1);
            pending = true;
        } else {
            // Lines before a section's first key line have no phrase to join and are lost.
            str.append(QLatin1Char('\n')).append(line);
        }
        pacer.step(file.pos(), total);
    }
    insertPending();
    pacer.finish(total);
    return inserter.finish(report);
}

int readRowForm(QFile &file, ImportReport *report, const ImportProgress &progress)
{
    file.seek(0);
    const QHash<QString, IniPhraseGroup> groups = parseIniPhraseGroups(file.readAll());
    file.close();

    PhraseInserter inserter(QStringLiteral("INSERT INTO TypeText (Str, Labels, Html, KeyWord, StrLower, LabelLower, "
                                           "KeyLower, Rating, Frequency) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    if (!inserter.isReady())
        return inserter.finish(report);

    QSqlQuery &query = inserter.query();
    const QString empty(QLatin1String(""));
    const auto text = [&empty](const QString &value) { return value.isNull() ? empty : value; };
    const qint64 total = groups.size();
    EventPacer pacer(progress);

    // Only a number with no group at all ends the list: a phrase whose texts are
    // all empty is still a phrase, and everything after it would be lost.
    for (int row = 0;; ++row) {
        const auto group = groups.constFind(QStringLiteral("row%1").arg(row));
        if (group == groups.constEnd())
            break;
        const QString *values = group->values;
        const QString str = text(values[IniPhraseGroup::Str]);
        const QString labels = text(values[IniPhraseGroup::Labels]);
        const QString keyWord = text(values[IniPhraseGroup::KeyWord]);
        query.bindValue(0, str);
        query.bindValue(1, labels);
        query.bindValue(2, text(values[IniPhraseGroup::Html]));
        query.bindValue(3, keyWord);
        query.bindValue(4, text(str.toLower()));
        query.bindValue(5, text(labels.toLower()));
        query.bindValue(6, text(keyWord.toLower()));
        query.bindValue(7, values[IniPhraseGroup::Rating].toInt());
        query.bindValue(8, values[IniPhraseGroup::Frequency].toInt());
        inserter.exec();
        pacer.step(row + 1, total);
    }
    pacer.finish(total);
    return inserter.finish(report);
}
} // namespace

void insertSectionPhrase(const QString &str, const QString &labels, const QString &keyWord, int rating, int frequency)
{
    QSqlQuery query(QSqlDatabase::database());
    query.prepare(sectionStatement());
    bindSectionPhrase(query, str, labels, keyWord, rating, frequency);
    query.exec();
}

int importIni(const QString &fileName, ImportReport *report, const ImportProgress &progress)
{
    QFile file(fileName);
    if (!openPhraseFile(file, report))
        return -1;
    if (startsSectionForm(file))
        return readSectionForm(file, report, progress);
    return readRowForm(file, report, progress);
}
