#include "browser/searchcondition.h"

#include "db/phrasestore.h"

#include <QObject>
#include <QStringList>

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
    const int field = PhraseStore::fieldNamed(column);
    return field < 0 ? QString() : PhraseStore::fieldName(PhraseStore::shadowOf(PhraseStore::Field(field)));
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
    QStringList conditions;
    for (const PhraseStore::Field field : {PhraseStore::Str, PhraseStore::Labels, PhraseStore::KeyWord})
        conditions << QLatin1Char('(') + buildCondition(PhraseStore::fieldName(field), text) + QLatin1Char(')');
    return conditions.join(QLatin1String(" or "));
}

bool searchTooLong(const QString &text)
{
    return text.size() > maxSearchLength;
}

QString searchTooLongNote()
{
    return QObject::tr("The search text is too long: a search takes at most %n character(s).", "", maxSearchLength);
}
