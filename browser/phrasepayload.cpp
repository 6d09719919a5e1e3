#include "browser/phrasepayload.h"

#include <QDataStream>
#include <QtEndian>

const QString clipboardFormat = QStringLiteral("text/Type");

namespace {

constexpr quint32 nullStringLength = 0xFFFFFFFF;

// Reads the fields by hand instead of through QDataStream, which would grow a
// string to whatever length the data claims before finding out it is not there.
class PayloadReader
{
public:
    explicit PayloadReader(const QByteArray &data)
        : data(data)
    {}

    bool atEnd() const { return pos >= data.size(); }

    bool readUInt32(quint32 *value)
    {
        if (remaining() < 4)
            return false;
        *value = qFromBigEndian<quint32>(data.constData() + pos);
        pos += 4;
        return true;
    }

    bool readInt32(qint32 *value)
    {
        quint32 raw = 0;
        if (!readUInt32(&raw))
            return false;
        *value = static_cast<qint32>(raw);
        return true;
    }

    bool readString(QString *value)
    {
        quint32 bytes = 0;
        if (!readUInt32(&bytes))
            return false;
        if (bytes == nullStringLength) {
            *value = QString();
            return true;
        }
        if (bytes % 2 != 0 || bytes > static_cast<quint32>(remaining()))
            return false;
        const int length = static_cast<int>(bytes / 2);
        QString text(length, Qt::Uninitialized);
        const char *source = data.constData() + pos;
        for (int i = 0; i < length; ++i)
            text[i] = QChar(qFromBigEndian<quint16>(source + 2 * i));
        *value = text;
        pos += static_cast<int>(bytes);
        return true;
    }

private:
    int remaining() const { return data.size() - pos; }

    const QByteArray &data;
    int pos = 0;
};

bool readRecord(PayloadReader &reader, PhraseRecord *record)
{
    return reader.readString(&record->str) && reader.readString(&record->labels) &&
           reader.readString(&record->keyWord) && reader.readString(&record->hotKey) &&
           reader.readString(&record->html) && reader.readInt32(&record->rating) &&
           reader.readInt32(&record->frequency);
}

} // namespace

QByteArray encodePhraseRecords(const QVector<PhraseRecord> &records)
{
    QByteArray data;
    QDataStream stream(&data, QIODevice::WriteOnly);
    for (const PhraseRecord &record : records) {
        stream << record.str << record.labels << record.keyWord << record.hotKey << record.html << record.rating
               << record.frequency;
    }
    return data;
}

QVector<PhraseRecord> decodePhraseRecords(const QByteArray &data)
{
    QVector<PhraseRecord> records;
    PayloadReader reader(data);
    while (!reader.atEnd()) {
        PhraseRecord record;
        if (!readRecord(reader, &record))
            break;
        records.append(record);
    }
    return records;
}
