#include "browser/keylayouttable.h"

namespace {

QMap<ushort, ushort> &table()
{
    static QMap<ushort, ushort> keyLayout;
    return keyLayout;
}

bool isDigit(ushort code)
{
    return code >= u'0' && code <= u'9';
}

} // namespace

const QMap<ushort, ushort> &keyLayoutTable()
{
    return table();
}

void recordKeyPair(ushort character, ushort keyCode)
{
    if (table().contains(character) || isDigit(keyCode) || isDigit(character))
        return;
    table().insert(character, keyCode);
}

void recordKeyPairs(const QString &characters, const QString &keyCodes)
{
    const int count = qMin(characters.size(), keyCodes.size());
    for (int i = 0; i < count; ++i)
        recordKeyPair(characters.at(i).unicode(), keyCodes.at(i).unicode());
}

void fillDefaultKeyLayout()
{
    const QString letterRow = QStringLiteral("ÀZXCVBNM<>?QWERTYUIOP{}\\");
    const QString homeRow = QStringLiteral("ASDFGHJKL:\"");
    const QString punctuation = QStringLiteral("-=\\{}<>=:\"?*");

    recordKeyPairs(QStringLiteral("ёzxcvbnm,./qwertyuiop[]|"), letterRow);
    recordKeyPairs(QStringLiteral("ЁЯЧСМИТЬБЮ,ЙЦУКЕНГШЩЗХЪ/"), letterRow);
    recordKeyPairs(QStringLiteral("`ячсмитьбю.йцукенгшщзхъ"), letterRow.left(23));
    recordKeyPairs(QStringLiteral("~"), letterRow);
    recordKeyPairs(QStringLiteral("asdfghjkl;'"), homeRow);
    recordKeyPairs(QStringLiteral("ФЫВАПРОЛДЖЭ"), homeRow);
    recordKeyPairs(QStringLiteral("фывапролджэ"), homeRow);
    recordKeyPairs(punctuation, punctuation);
    recordKeyPairs(QStringLiteral("_+"), punctuation);
}

QPair<QString, QString> keyLayoutStrings()
{
    QString keyCodes;
    QString characters;
    keyCodes.reserve(table().size());
    characters.reserve(table().size());
    for (auto it = table().cbegin(); it != table().cend(); ++it) {
        keyCodes.append(QChar(it.value()));
        characters.append(QChar(it.key()));
    }
    return qMakePair(keyCodes, characters);
}

void clearKeyLayout()
{
    table().clear();
}
