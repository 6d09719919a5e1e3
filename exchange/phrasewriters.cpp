#include "exchange/phrasewriters.h"

#include "exchange/eventpacer.h"
#include "exchange/inisyntax.h"

#include <QDir>
#include <QObject>
#include <QSaveFile>

#include <array>
#include <cerrno>

namespace {
constexpr int flushSize = 1 << 20;

// Appends one phrase and tells whether the format carries it whole.
using RecordEncoder = bool (*)(QByteArray &out, const PhraseRecord &row, int number);

// A TAB would split the field on reading, and every CR ends a line there, which comes back as LF.
bool isTxtFieldWhole(const QString &text)
{
    for (const QChar c : text) {
        if (c == QLatin1Char('\t') || c == QLatin1Char('\r'))
            return false;
    }
    return true;
}

bool appendTxtRecord(QByteArray &out, const PhraseRecord &row, int number)
{
    out += row.str.toUtf8();
    out += '\t';
    out += row.labels.toUtf8();
    out += '\t';
    out += row.keyWord.toUtf8();
    out += '\t';
    out += QByteArray::number(row.rating);
    out += '\t';
    out += QByteArray::number(row.frequency);
    out += "\r\n";
    // The reader skips the line breaks a record starts with, and takes U+FEFF opening the file for a byte-order mark.
    const bool startLost =
        row.str.startsWith(QLatin1Char('\n')) || (number == 0 && row.str.startsWith(QChar(QChar::ByteOrderMark)));
    return !startLost && isTxtFieldWhole(row.str) && isTxtFieldWhole(row.labels) && isTxtFieldWhole(row.keyWord);
}

bool isHexDigit(ushort ch)
{
    return (ch >= '0' && ch <= '9') || (ch >= 'a' && ch <= 'f') || (ch >= 'A' && ch <= 'F');
}

// Writes a text value the way QSettings writes it with the UTF-8 codec, so that
// QSettings reads back exactly this text. Unlike QSettings, characters outside
// the Basic Multilingual Plane are encoded whole instead of half by half, which
// is what made them vanish from files QSettings wrote itself.
void appendIniText(QByteArray &out, QString value)
{
    if (value.contains(QChar::Null))
        value = QStringLiteral("@String(") + value + QLatin1Char(')');
    else if (value.startsWith(QLatin1Char('@')))
        value.prepend(QLatin1Char('@'));

    const int start = out.size();
    bool needsQuotes = false;
    // After a numeric escape a following hex digit would be read as part of it.
    bool escapeNextIfDigit = false;
    int plainFrom = 0;
    const auto flushPlain = [&](int to) {
        if (to > plainFrom)
            out += value.midRef(plainFrom, to - plainFrom).toUtf8();
    };

    for (int i = 0; i < value.size(); ++i) {
        const ushort ch = value.at(i).unicode();
        if (ch == ';' || ch == ',' || ch == '=')
            needsQuotes = true;

        QByteArray escape;
        if (escapeNextIfDigit && isHexDigit(ch)) {
            escape = "\\x" + QByteArray::number(ch, 16);
        } else {
            escapeNextIfDigit = false;
            // Looked up per character of every phrase exported: a table by character, made once.
            static const std::array<char, 128> letters = [] {
                std::array<char, 128> byCharacter{};
                for (const IniEscape &named : iniEscapes)
                    if (named.written)
                        byCharacter[uchar(named.character)] = named.letter;
                return byCharacter;
            }();
            if (ch < letters.size() && letters[ch])
                escape = QByteArray("\\") + letters[ch];
            // A reader decoding chunk by chunk would take U+FEFF at a chunk's start for a byte-order mark.
            if (escape.isEmpty() && (ch <= 0x1F || ch == 0xFEFF)) {
                // NUL goes as "\0"; like any numeric escape it swallows hex digits after it.
                escape = ch == 0 ? QByteArray("\\0") : "\\x" + QByteArray::number(ch, 16);
                escapeNextIfDigit = true;
            }
        }
        if (escape.isEmpty())
            continue;
        flushPlain(i);
        plainFrom = i + 1;
        out += escape;
    }
    flushPlain(value.size());

    // Unquoted, blanks at either end would be trimmed on reading.
    if (needsQuotes || (out.size() > start && (out.at(start) == ' ' || out.at(out.size() - 1) == ' '))) {
        out.insert(start, '"');
        out += '"';
    }
}

void appendIniKey(QByteArray &out, const char *key, const QString &value)
{
    out += key;
    out += '=';
    appendIniText(out, value);
    out += "\r\n";
}

bool appendIniGroup(QByteArray &out, const PhraseRecord &row, int number)
{
    if (number > 0)
        out += "\r\n";
    out += "[Row";
    out += QByteArray::number(number);
    out += "]\r\n";
    appendIniKey(out, "Str", row.str);
    appendIniKey(out, "Labels", row.labels);
    appendIniKey(out, "Html", row.html);
    appendIniKey(out, "KeyWord", row.keyWord);
    out += "Rating=";
    out += QByteArray::number(row.rating);
    out += "\r\nFrequency=";
    out += QByteArray::number(row.frequency);
    out += "\r\n";
    return true;
}

// Qt reports some failed flushes and commits as "Unknown error"; the system knows why.
QString reasonOf(const QFileDevice &file, int systemError)
{
    const bool known = file.error() != QFileDevice::NoError && file.errorString() != QLatin1String("Unknown error");
    return known || systemError == 0 ? file.errorString() : qt_error_string(systemError);
}

bool fail(QString *error, const QString &fileName, const QString &reason)
{
    if (error)
        *error = QObject::tr("Cannot write file %1:\n%2.").arg(QDir::toNativeSeparators(fileName), reason);
    return false;
}

bool writePhrases(const QString &fileName, const PhraseRowSource &nextRow, int *written, QString *error, int *notWhole,
                  RecordEncoder encode)
{
    if (written)
        *written = 0;
    if (notWhole)
        *notWhole = 0;
    QSaveFile file(fileName);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly))
        return fail(error, fileName, reasonOf(file, errno));

    QByteArray buffer;
    buffer.reserve(flushSize + flushSize / 4);
    const auto flush = [&] {
        const bool ok = file.write(buffer) == buffer.size();
        buffer.resize(0);
        return ok;
    };
    EventPacer pacer;
    int count = 0;
    int broken = 0;
    PhraseRecord row;
    while (nextRow(&row)) {
        broken += !encode(buffer, row, count);
        ++count;
        row = PhraseRecord();
        if (buffer.size() >= flushSize && !flush())
            return fail(error, fileName, reasonOf(file, errno));
        pacer.step(count, 0);
    }
    if (!flush() || !file.commit())
        return fail(error, fileName, reasonOf(file, errno));
    if (written)
        *written = count;
    if (notWhole)
        *notWhole = broken;
    return true;
}

PhraseRowSource vectorSource(const QVector<PhraseRecord> &rows)
{
    return [&rows, next = 0](PhraseRecord *row) mutable {
        if (next >= rows.size())
            return false;
        *row = rows.at(next++);
        return true;
    };
}
} // namespace

bool writeTxtPhrases(const QString &fileName, const PhraseRowSource &nextRow, int *written, QString *error,
                     int *notWhole)
{
    return writePhrases(fileName, nextRow, written, error, notWhole, appendTxtRecord);
}

bool writeTxtPhrases(const QString &fileName, const QVector<PhraseRecord> &rows, QString *error, int *notWhole)
{
    return writePhrases(fileName, vectorSource(rows), nullptr, error, notWhole, appendTxtRecord);
}

bool writeIniPhrases(const QString &fileName, const PhraseRowSource &nextRow, int *written, QString *error)
{
    return writePhrases(fileName, nextRow, written, error, nullptr, appendIniGroup);
}

bool writeIniPhrases(const QString &fileName, const QVector<PhraseRecord> &rows, QString *error)
{
    return writePhrases(fileName, vectorSource(rows), nullptr, error, nullptr, appendIniGroup);
}

bool writePhraseFile(const QString &fileName, bool ini, const PhraseRowSource &nextRow, int *written, QString *error,
                     int *notWhole)
{
    return writePhrases(fileName, nextRow, written, error, notWhole, ini ? appendIniGroup : appendTxtRecord);
}

QString notWholeNote(int n)
{
    return QObject::tr("%n phrase(s) will not read back as they are: the text format cannot carry some of their "
                       "characters, such as TABs, carriage returns or leading line breaks. Export them as INI to keep "
                       "them whole.",
                       "", n);
}
