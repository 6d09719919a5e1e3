#ifndef INISYNTAX_H
#define INISYNTAX_H

#include <QByteArray>
#include <QHash>
#include <QString>

// The INI syntax of QSettings (IniFormat, UTF-8 codec), read without QSettings.
// QSettings turns every "@Variant(...)" value of a file into an object through
// QDataStream as soon as any key is looked at, which a hostile file can abuse;
// here such values are simply empty.

// The single-letter escapes of a value: "\\n" stands for a line feed and so on.
// Only the written ones are produced on writing; the others are accepted on reading.
struct IniEscape
{
    char letter;
    char character;
    bool written;
};
constexpr IniEscape iniEscapes[] = {{'a', '\a', true},  {'b', '\b', true}, {'f', '\f', true},  {'n', '\n', true},
                                    {'r', '\r', true},  {'t', '\t', true}, {'v', '\v', true},  {'"', '"', true},
                                    {'\\', '\\', true}, {'?', '?', false}, {'\'', '\'', false}};

// One phrase group of the row form: the six keys a phrase file uses.
struct IniPhraseGroup
{
    enum Key
    {
        Str,
        Labels,
        Html,
        KeyWord,
        Rating,
        Frequency,
        KeyCount
    };
    QString values[KeyCount];
};

// The groups of `data` whose names start with "row", keyed by the lower-case
// name. A group is there when the file holds any key in it or below it; keys and
// group names match without regard to case, and a later key wins.
QHash<QString, IniPhraseGroup> parseIniPhraseGroups(const QByteArray &data);

#endif // INISYNTAX_H
