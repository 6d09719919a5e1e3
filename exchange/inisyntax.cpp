#include "exchange/inisyntax.h"

#include <QVector>

#include <cstring>

namespace {
bool isSpace(char ch)
{
    return ch == ' ' || ch == '\t' || ch == '\n' || ch == '\r';
}

bool isSpecial(char ch)
{
    return ch == '\n' || ch == '\r' || ch == '"' || ch == ';' || ch == '=' || ch == '\\';
}

// Finds the next logical line. Quoted values and backslash-escaped line ends span
// physical lines; an unquoted ';' starts a comment.
bool readLine(const QByteArray &data, int &pos, int &lineStart, int &lineLen, int &equalsPos)
{
    const int size = data.size();
    bool inQuotes = false;
    equalsPos = -1;
    lineStart = pos;
    while (lineStart < size && isSpace(data.at(lineStart)))
        ++lineStart;

    int i = lineStart;
    while (i < size) {
        char ch = data.at(i);
        while (!isSpecial(ch)) {
            if (++i == size)
                goto done;
            ch = data.at(i);
        }
        ++i;
        if (ch == '=') {
            if (!inQuotes && equalsPos == -1)
                equalsPos = i - 1;
        } else if (ch == '\n' || ch == '\r') {
            if (i == lineStart + 1) {
                ++lineStart;
            } else if (!inQuotes) {
                --i;
                goto done;
            }
        } else if (ch == '\\') {
            if (i < size) {
                const char escaped = data.at(i++);
                if (i < size) {
                    const char next = data.at(i);
                    if ((escaped == '\n' && next == '\r') || (escaped == '\r' && next == '\n'))
                        ++i;
                }
            }
        } else if (ch == '"') {
            inQuotes = !inQuotes;
        } else { // ';'
            if (i == lineStart + 1) {
                while (i < size && data.at(i) != '\n' && data.at(i) != '\r')
                    ++i;
                while (i < size && isSpace(data.at(i)))
                    ++i;
                lineStart = i;
            } else if (!inQuotes) {
                --i;
                goto done;
            }
        }
    }
done:
    pos = i;
    lineLen = i - lineStart;
    return lineLen > 0;
}

// Key and group names: %XX and %UXXXX stand for characters, a backslash for '/'.
QString unescapeKey(const QByteArray &data, int from, int to)
{
    QString result;
    result.reserve(to - from);
    int i = from;
    while (i < to) {
        const char ch = data.at(i);
        if (ch == '\\') {
            result += QLatin1Char('/');
            ++i;
            continue;
        }
        if (ch != '%' || i == to - 1) {
            result += QLatin1Char(ch);
            ++i;
            continue;
        }
        int digits = 2;
        int first = i + 1;
        if (data.at(i + 1) == 'U') {
            ++first;
            digits = 4;
        }
        bool ok = false;
        const int code = first + digits > to ? 0 : data.mid(first, digits).toInt(&ok, 16);
        if (!ok) {
            result += QLatin1Char('%');
            ++i;
            continue;
        }
        result += QChar(code);
        i = first + digits;
    }
    return result;
}

void chopBlanks(QString &text, int limit)
{
    int n = text.size();
    while (n > limit && (text.at(n - 1) == QLatin1Char(' ') || text.at(n - 1) == QLatin1Char('\t')))
        --n;
    text.truncate(n);
}

int hexValue(char ch)
{
    if (ch >= '0' && ch <= '9')
        return ch - '0';
    if (ch >= 'a' && ch <= 'f')
        return ch - 'a' + 10;
    if (ch >= 'A' && ch <= 'F')
        return ch - 'A' + 10;
    return -1;
}

// A value: quotes, C-style escapes, and unquoted commas that make it a list.
// Returns false for a list, which reads as an empty text.
bool unescapeValue(const QByteArray &data, int from, int to, QString &result)
{
    bool isList = false;
    bool inQuotes = false;
    bool quoted = false;
    int i = from;
    const auto skipBlanks = [&] {
        while (i < to && (data.at(i) == ' ' || data.at(i) == '\t'))
            ++i;
    };
    skipBlanks();
    // Blanks written as escapes or inside quotes are kept; only those typed plainly at the end go.
    int chopLimit = 0;
    while (i < to) {
        const char ch = data.at(i);
        if (ch == '\\') {
            if (++i >= to)
                return !isList;
            const char code = data.at(i++);
            bool named = false;
            for (const IniEscape &escape : iniEscapes) {
                if (code == escape.letter) {
                    result += QLatin1Char(escape.character);
                    named = true;
                    break;
                }
            }
            if (!named && (code == 'x' || (code >= '0' && code <= '7'))) {
                const bool hex = code == 'x';
                if (hex && i >= to)
                    return !isList;
                if (!hex || hexValue(data.at(i)) >= 0) {
                    uint value = hex ? 0 : uint(code - '0');
                    for (; i < to; ++i) {
                        const char d = data.at(i);
                        const int digit = hex ? hexValue(d) : (d >= '0' && d <= '7' ? d - '0' : -1);
                        if (digit < 0)
                            break;
                        value = (value << (hex ? 4 : 3)) + uint(digit);
                    }
                    result += QChar(ushort(value));
                }
            } else if (!named && (code == '\n' || code == '\r') && i < to) {
                const char next = data.at(i);
                if ((next == '\n' || next == '\r') && next != code)
                    ++i;
            }
            chopLimit = result.size();
        } else if (ch == '"') {
            ++i;
            quoted = true;
            inQuotes = !inQuotes;
            if (!inQuotes) {
                skipBlanks();
                chopLimit = result.size();
            }
        } else if (ch == ',' && !inQuotes) {
            if (!quoted)
                chopBlanks(result, chopLimit);
            isList = true;
            result.clear();
            quoted = false;
            ++i;
            skipBlanks();
            chopLimit = 0;
        } else {
            int j = i + 1;
            while (j < to && data.at(j) != '\\' && data.at(j) != '"' && data.at(j) != ',')
                ++j;
            result += QString::fromUtf8(data.constData() + i, j - i);
            i = j;
        }
    }
    if (!quoted)
        chopBlanks(result, chopLimit);
    return !isList;
}

// The marks QSettings puts before values that are not plain texts.
QString plainText(const QString &value)
{
    if (!value.startsWith(QLatin1Char('@')))
        return value;
    if (value.endsWith(QLatin1Char(')'))) {
        if (value.startsWith(QLatin1String("@String(")))
            return value.mid(8, value.size() - 9);
        if (value.startsWith(QLatin1String("@ByteArray(")))
            return QString::fromUtf8(value.mid(11, value.size() - 12).toLatin1());
        for (const char *mark : {"@Variant(", "@DateTime(", "@Rect(", "@Size(", "@Point(", "@Invalid("}) {
            if (value.startsWith(QLatin1String(mark)))
                return QString();
        }
    }
    if (value.startsWith(QLatin1String("@@")))
        return value.mid(1);
    return value;
}

int keyIndex(const QString &key)
{
    static const char *const names[IniPhraseGroup::KeyCount] = {"str",     "labels", "html",
                                                                "keyword", "rating", "frequency"};
    for (int k = 0; k < IniPhraseGroup::KeyCount; ++k) {
        if (key.compare(QLatin1String(names[k]), Qt::CaseInsensitive) == 0)
            return k;
    }
    return -1;
}
} // namespace

QHash<QString, IniPhraseGroup> parseIniPhraseGroups(const QByteArray &data)
{
    QHash<QString, IniPhraseGroup> groups;
    int pos = data.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    QString section;
    int lineStart = 0;
    int lineLen = 0;
    int equalsPos = -1;
    while (readLine(data, pos, lineStart, lineLen, equalsPos)) {
        if (data.at(lineStart) == '[') {
            const char *begin = data.constData() + lineStart;
            const char *close = static_cast<const char *>(std::memchr(begin, ']', size_t(lineLen)));
            const int nameEnd = close ? int(close - data.constData()) : lineStart + lineLen;
            const QByteArray name = data.mid(lineStart + 1, nameEnd - lineStart - 1).trimmed();
            if (name.compare("general", Qt::CaseInsensitive) == 0)
                section.clear();
            else if (name.compare("%general", Qt::CaseInsensitive) == 0)
                section = QStringLiteral("General");
            else
                section = unescapeKey(name, 0, name.size());
            continue;
        }
        if (equalsPos < 0)
            continue;
        int keyEnd = equalsPos;
        while (keyEnd > lineStart && (data.at(keyEnd - 1) == ' ' || data.at(keyEnd - 1) == '\t'))
            --keyEnd;
        // Empty components are dropped, so "[Row0]" with "a\b=" names the key b of
        // the group Row0/a, and "/Row0/Str=" at the top the key Str of Row0.
        const QString path = section + QLatin1Char('/') + unescapeKey(data, lineStart, keyEnd);
        QVector<QStringRef> parts;
        for (int from = 0; from < path.size() && parts.size() < 3;) {
            int slash = path.indexOf(QLatin1Char('/'), from);
            if (slash < 0)
                slash = path.size();
            if (slash > from)
                parts.append(path.midRef(from, slash - from));
            from = slash + 1;
        }
        if (parts.size() < 2 || !parts.first().startsWith(QLatin1String("row"), Qt::CaseInsensitive))
            continue;
        IniPhraseGroup &group = groups[parts.first().toString().toLower()];
        const int key = parts.size() == 2 ? keyIndex(parts.at(1).toString()) : -1;
        if (key < 0)
            continue;
        QString value;
        group.values[key] =
            unescapeValue(data, equalsPos + 1, lineStart + lineLen, value) ? plainText(value) : QString();
    }
    return groups;
}
