#include "exchange/inireader.h"

#include "exchange/eventpacer.h"
#include "exchange/inisyntax.h"
#include "exchange/phraseinserter.h"

#include <QFile>
#include <QHash>
#include <QTextStream>

namespace {
PhraseRecord sectionPhrase(const QString &str, const QString &labels, const QString &keyWord, int rating, int frequency)
{
    PhraseRecord phrase;
    phrase.str = str;
    phrase.labels = labels;
    phrase.keyWord = keyWord;
    phrase.rating = rating;
    phrase.frequency = frequency;
    return phrase;
}

bool startsSectionForm(QFile &file)
{
    // The section form comes from an editor that wrote CR CR LF: after the line end
    // is cut off, the first line still ends in CR.
    QTextStream in(&file);
    return in.readLine().endsWith(QLatin1Char('\r'));
}

int readSectionForm(QFile &file, ImportReport *report, const Progress &progress)
{
    PhraseInserter inserter;
    file.seek(0);
    QTextStream in(&file);
    in.setCodec("Windows-1251");
    const qint64 total = file.size();
    EventPacer pacer(progress);

    QString section;
    QString keyWord;
    QString str;
    bool pending = false;
    bool ok = true;
    const auto insertPending = [&] {
        if (pending)
            ok = inserter.add(sectionPhrase(str, section, keyWord, 0, 0));
        pending = false;
    };

    while (ok && !in.atEnd()) {
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

int readRowForm(QFile &file, ImportReport *report, const Progress &progress)
{
    file.seek(0);
    const QHash<QString, IniPhraseGroup> groups = parseIniPhraseGroups(file.readAll());
    file.close();

    PhraseInserter inserter;
    PhraseRecord phrase;
    const qint64 total = groups.size();
    EventPacer pacer(progress);

    // Only a number with no group at all ends the list: a phrase whose texts are
    // all empty is still a phrase, and everything after it would be lost.
    for (int row = 0;; ++row) {
        const auto group = groups.constFind(QStringLiteral("row%1").arg(row));
        if (group == groups.constEnd())
            break;
        const QString *values = group->values;
        phrase.str = emptyIfNull(values[IniPhraseGroup::Str]);
        phrase.labels = emptyIfNull(values[IniPhraseGroup::Labels]);
        phrase.keyWord = emptyIfNull(values[IniPhraseGroup::KeyWord]);
        phrase.html = emptyIfNull(values[IniPhraseGroup::Html]);
        phrase.rating = values[IniPhraseGroup::Rating].toInt();
        phrase.frequency = values[IniPhraseGroup::Frequency].toInt();
        if (!inserter.add(phrase))
            break;
        pacer.step(row + 1, total);
    }
    pacer.finish(total);
    return inserter.finish(report);
}
} // namespace

int importIni(const QString &fileName, ImportReport *report, const Progress &progress)
{
    QFile file(fileName);
    if (!openPhraseFile(file, report))
        return -1;
    if (startsSectionForm(file))
        return readSectionForm(file, report, progress);
    return readRowForm(file, report, progress);
}
