#include "browser/searchcondition.h"

#include <QObject>

namespace {

const QChar escapeChar = QLatin1Char('\\');

// The quoted LIKE pattern "%text%". The user's text only ever matches itself:
// quotes are doubled, wildcards and the escape character escaped.
QString containsPattern(const QString &text)
{
    QString escaped;
    escaped.reserve(text.size() + 8);
    bool needsEscapeClause = false;
    for (const QChar c : text) {
        if (c == QLatin1Char('\'')) {
            escaped += QLatin1String("''");
            continue;
        }
        if (c == QLatin1Char('%') || c == QLatin1Char('_') || c == escapeChar) {
            escaped += escapeChar;
            needsEscapeClause = true;
        }
        escaped += c;
    }
    QString pattern = QLatin1String("'%") + escaped + QLatin1String("%'");
    if (needsEscapeClause)
        pattern += QLatin1String(" escape '") + escapeChar + QLatin1Char('\'');
    return pattern;
}

QString shadowColumn(const QString &column)
{
    if (column == QLatin1String("Str"))
        return QStringLiteral("StrLower");
    if (column == QLatin1String("Keyword"))
        return QStringLiteral("KeyLower");
    if (column == QLatin1String("Labels"))
        return QStringLiteral("LabelLower");
    return QString();
}

} // namespace

bool hasCyrillicLower(const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() >= 0x0430 && c.unicode() <= 0x044F)
            return true;
    }
    return false;
}

QString buildCondition(const QString &column, const QString &text)
{
    const QString lower = text.toLower();
    // SQLite folds only ASCII; with Cyrillic letters the source column is compared
    // as typed and the shadow column catches the other case.
    const QString first =
        hasCyrillicLower(lower)
            ? QLatin1Char('(') + column + QLatin1String(" like ") + containsPattern(text) + QLatin1Char(')')
            : QLatin1String("(lower(") + column + QLatin1String(") like ") + containsPattern(lower) + QLatin1Char(')');
    return first + QLatin1String(" or (") + shadowColumn(column) + QLatin1String(" like ") + containsPattern(lower) +
           QLatin1Char(')');
}

QString searchFilter(const QString &text)
{
    if (text.isEmpty())
        return QString();
    return QLatin1Char('(') + buildCondition(QStringLiteral("Str"), text) + QLatin1String(") or (") +
           buildCondition(QStringLiteral("Labels"), text) + QLatin1String(") or (") +
           buildCondition(QStringLiteral("Keyword"), text) + QLatin1Char(')');
}

bool searchTooLong(const QString &text)
{
    return text.size() > maxSearchLength;
}

QString searchTooLongNote()
{
    return QObject::tr("The search text is too long: a search takes at most %n character(s).", "", maxSearchLength);
}
