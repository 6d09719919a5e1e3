#include "exchange/txtreader.h"

#include "exchange/eventpacer.h"
#include "exchange/phraseinserter.h"

#include <QFile>
#include <QTextStream>

namespace {
constexpr int fieldCount = 5;

// Cuts the first fields off a record without splitting all of it, so that a
// huge line full of TABs costs no more than one pass.
void takeFields(const QString &record, QString (&fields)[fieldCount])
{
    int start = 0;
    for (QString &field : fields) {
        const int tab = record.indexOf(QLatin1Char('\t'), start);
        field = record.mid(start, tab < 0 ? -1 : tab - start);
        if (tab < 0)
            return;
        start = tab + 1;
    }
}

// Reads lines ended by LF, CR LF or a lone CR, the last as old Mac files end them.
// QTextStream knows only the first two.
class LineReader
{
public:
    explicit LineReader(QTextStream &in)
        : in(in)
    {}

    bool atEnd() const { return next >= chunk.size() && in.atEnd(); }

    void readLineInto(QString *line)
    {
        line->clear();
        while (next < chunk.size() || refill()) {
            const QChar *data = chunk.constData();
            int end = next;
            while (end < chunk.size() && data[end] != QLatin1Char('\n') && data[end] != QLatin1Char('\r'))
                ++end;
            line->append(data + next, end - next);
            if (end == chunk.size()) {
                next = end;
                continue;
            }
            next = end + 1;
            // CR LF is one line end, also when the LF comes only with the next chunk.
            if (data[end] == QLatin1Char('\r') && (next < chunk.size() || refill()) &&
                chunk.at(next) == QLatin1Char('\n'))
                ++next;
            return;
        }
    }

private:
    bool refill()
    {
        chunk = in.read(chunkSize);
        next = 0;
        return !chunk.isEmpty();
    }

    static constexpr int chunkSize = 1 << 16;
    QTextStream &in;
    QString chunk;
    int next = 0;
};

} // namespace

int importTxt(const QString &fileName, ImportReport *report, const Progress &progress)
{
    QFile file(fileName);
    if (!openPhraseFile(file, report))
        return -1;

    PhraseInserter inserter;
    // Byte-order marks of every Unicode form are still recognised.
    QTextStream in(&file);
    in.setCodec("UTF-8");
    LineReader lines(in);
    const qint64 total = file.size();
    EventPacer pacer(progress);
    PhraseRecord phrase;
    QString line;
    QString fields[fieldCount];

    while (!lines.atEnd()) {
        // A phrase with line breaks spans several lines; the last of them carries
        // the TABs. Leading empty lines never start a record.
        QString record;
        int tabs = 0;
        do {
            lines.readLineInto(&line);
            if (record.isEmpty())
                record = line;
            else
                record.append(QLatin1Char('\n')).append(line);
            tabs += line.count(QLatin1Char('\t'));
        } while (tabs < fieldCount - 2 && !lines.atEnd());

        for (QString &field : fields)
            field.clear();
        takeFields(record, fields);
        phrase.str = emptyIfNull(fields[0]);
        phrase.labels = emptyIfNull(fields[1]);
        phrase.keyWord = emptyIfNull(fields[2]);
        phrase.rating = fields[3].toInt(nullptr, 10);
        phrase.frequency = fields[4].toInt(nullptr, 10);
        if (!inserter.add(phrase))
            break;
        pacer.step(file.pos(), total);
    }
    pacer.finish(total);
    return inserter.finish(report);
}
