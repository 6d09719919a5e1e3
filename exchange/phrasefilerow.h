#ifndef PHRASEFILEROW_H
#define PHRASEFILEROW_H

#include <QString>
#include <QVector>

#include <functional>

// One phrase as the phrase files carry it. The lower-case shadow columns are not
// here: whoever stores a row derives them.
struct PhraseFileRow
{
    QString str;
    QString labels;
    QString keyWord;
    QString html;
    int rating = 0;
    int frequency = 0;
};
Q_DECLARE_TYPEINFO(PhraseFileRow, Q_MOVABLE_TYPE);

// Hands the writers one row at a time: fills *row and returns true, or returns
// false when there are no more rows. Lets an export stream straight from a query.
using PhraseRowSource = std::function<bool(PhraseFileRow *row)>;

#endif // PHRASEFILEROW_H
