#include "exchange/phrasewriters.h"

#include "exchange/eventpacer.h"

#include <QDir>
#include <QObject>
#include <QSaveFile>

#include <cerrno>

namespace {
constexpr int flushSize = 1 << 20;

using RecordEncoder = void (*)(QByteArray &out, const PhraseFileRow &row, int number);

void appendTxtRecord(QByteArray &out, const PhraseFileRow &row, int)
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

        const char *escape = nullptr;
        QByteArray numeric;
        if (escapeNextIfDigit && isHexDigit(ch)) {
            numeric = "\\x" + QByteArray::number(ch, 16);
        } else {
            escapeNextIfDigit = false;
            switch (ch) {
            case '\0':
                escape = "\\0";
                escapeNextIfDigit = true;
                break;
            case '\a':
                escape = "\\a";
                break;
            case '\b':
                escape = "\\b";
                break;
            case '\f':
                escape = "\\f";
                break;
            case '\n':
                escape = "\\n";
                break;
            case '\r':
                escape = "\\r";
                break;
            case '\t':
                escape = "\\t";
                break;
            case '\v':
                escape = "\\v";
                break;
            case '"':
                escape = "\\\"";
                break;
            case '\\':
                escape = "\\\\";
                break;
            default:
                // A reader decoding chunk by chunk would take U+FEFF at a chunk's start for a byte-order mark.
                if (ch <= 0x1F || ch == 0xFEFF) {
                    numeric = "\\x" + QByteArray::number(ch, 16);
                    escapeNextIfDigit = true;
                }
            }
        }
        if (!escape && numeric.isEmpty())
            continue;
        flushPlain(i);
        plainFrom = i + 1;
        if (escape)
            out += escape;
        else
            out += numeric;
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

void appendIniGroup(QByteArray &out, const PhraseFileRow &row, int number)
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

bool writePhrases(const QString &fileName, const PhraseRowSource &nextRow, int *written, QString *error,
                  RecordEncoder encode)
{
    if (written)
        *written = 0;
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
    PhraseFileRow row;
    while (nextRow(&row)) {
        encode(buffer, row, count);
        ++count;
        row = PhraseFileRow();
        if (buffer.size() >= flushSize && !flush())
            return fail(error, fileName, reasonOf(file, errno));
        pacer.step(count, 0);
    }
    if (!flush() || !file.commit())
        return fail(error, fileName, reasonOf(file, errno));
    if (written)
        *written = count;
    return true;
}

PhraseRowSource vectorSource(const QVector<PhraseFileRow> &rows)
{
    return [&rows, next = 0](PhraseFileRow *row) mutable {
        if (next >= rows.size())
            return false;
        *row = rows.at(next++);
        return true;
    };
}
} // namespace

bool writeTxtPhrases(const QString &fileName, const PhraseRowSource &nextRow, int *written, QString *error)
{
    return writePhrases(fileName, nextRow, written, error, appendTxtRecord);
}

bool writeTxtPhrases(const QString &fileName, const QVector<PhraseFileRow> &rows, QString *error)
{
    return writePhrases(fileName, vectorSource(rows), nullptr, error, appendTxtRecord);
}

bool writeIniPhrases(const QString &fileName, const PhraseRowSource &nextRow, int *written, QString *error)
{
    return writePhrases(fileName, nextRow, written, error, appendIniGroup);
}

bool writeIniPhrases(const QString &fileName, const QVector<PhraseFileRow> &rows, QString *error)
{
    return writePhrases(fileName, vectorSource(rows), nullptr, error, appendIniGroup);
}
