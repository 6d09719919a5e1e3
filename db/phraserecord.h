#ifndef PHRASERECORD_H
#define PHRASERECORD_H

#include <QString>

// One phrase with every field the program reads or writes, apart from its id and
// the lower-case shadow columns, which whoever stores it derives. Texts start out
// empty rather than null: a null one is stored as NULL.
struct PhraseRecord
{
    QString str = QLatin1String("");
    QString labels = QLatin1String("");
    QString keyWord = QLatin1String("");
    QString hotKey = QLatin1String("");
    QString html = QLatin1String("");
    qint32 rating = 0;
    qint32 frequency = 0;
};

#endif // PHRASERECORD_H
