#ifndef PHRASECONFLICT_H
#define PHRASECONFLICT_H

#include "db/phraserecord.h"
#include "db/phrasestore.h"

#include <QVariant>

class QWidget;

// An edit the file no longer fits: another window or program changed or deleted the
// phrase after this one began editing it.
struct PhraseConflict
{
    qint64 id = 0;
    // Str for the text (with its rich text), else the one field written.
    PhraseStore::Field field = PhraseStore::Str;
    QVariant value;
    QString html;
    // The phrase as this writer saw it, with its edit: what "Keep both" stores.
    PhraseRecord mine;
    bool gone = false;
};

enum class ConflictChoice
{
    KeepBoth,
    Overwrite,
    DiscardMine,
};

// Asks the user what becomes of their edit; "Keep both" is the default and what
// closing the box chooses, so that no answer loses a text.
ConflictChoice askConflict(QWidget *parent, const PhraseConflict &conflict);

#endif // PHRASECONFLICT_H
