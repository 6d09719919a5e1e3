#ifndef KEYLAYOUTTABLE_H
#define KEYLAYOUTTABLE_H

#include <QMap>
#include <QPair>
#include <QString>

// Which native key code produced which character, learned while keywords are typed.
// One table for the whole process; entries, once present, never change.
const QMap<ushort, ushort> &keyLayoutTable();

// Adds the pair unless the character already has a code or a digit is involved.
void recordKeyPair(ushort character, ushort keyCode);
// Pairs the strings position by position; extra positions of the longer one are ignored.
void recordKeyPairs(const QString &characters, const QString &keyCodes);
// The built-in Russian/US layout that a first run starts with.
void fillDefaultKeyLayout();
// The table as two strings of equal length in ascending character order:
// first the key codes, then the characters.
QPair<QString, QString> keyLayoutStrings();

void clearKeyLayout();

#endif // KEYLAYOUTTABLE_H
