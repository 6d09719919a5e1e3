#ifndef PHRASEPAYLOAD_H
#define PHRASEPAYLOAD_H

#include <QByteArray>
#include <QString>
#include <QVector>

// One phrase as it travels on the clipboard under "text/Type". The lower-case
// shadow columns are not carried: the receiver derives them.
struct PhraseRecord
{
    QString str;
    QString labels;
    QString keyWord;
    QString hotKey;
    QString html;
    qint32 rating = 0;
    qint32 frequency = 0;
};

// Records back to back in QDataStream's default encoding; a null string stays null.
QByteArray encodePhraseRecords(const QVector<PhraseRecord> &records);

// Any program may put bytes under "text/Type", so decoding trusts nothing: it
// returns the complete records in front and stops at the first malformed field.
QVector<PhraseRecord> decodePhraseRecords(const QByteArray &data);

#endif // PHRASEPAYLOAD_H
