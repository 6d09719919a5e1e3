#include "browser/phrasepayload.h"

#include <QRandomGenerator>
#include <QtTest>

Q_DECLARE_METATYPE(PhraseRecord)

namespace {

bool sameString(const QString &a, const QString &b)
{
    return a == b && a.isNull() == b.isNull();
}

bool sameRecord(const PhraseRecord &a, const PhraseRecord &b)
{
    return sameString(a.str, b.str) && sameString(a.labels, b.labels) && sameString(a.keyWord, b.keyWord) &&
           sameString(a.hotKey, b.hotKey) && sameString(a.html, b.html) && a.rating == b.rating &&
           a.frequency == b.frequency;
}

PhraseRecord knownRecord()
{
    PhraseRecord record;
    record.str = QStringLiteral("Hi");
    record.keyWord = QStringLiteral("");
    record.hotKey = QStringLiteral("\u20AC");
    record.html = QString::fromUtf8("\xF0\x9F\x98\x80"); // one character outside the BMP: a surrogate pair
    record.rating = 7;
    record.frequency = -2;
    return record;
}

// The bytes another running copy writes for knownRecord(), spelled out by hand.
QByteArray knownBytes()
{
    return QByteArray::fromHex("00000004"
                               "00480069" // "Hi"
                               "ffffffff" // null labels
                               "00000000" // empty keyword
                               "00000002"
                               "20ac" // hot key U+20AC
                               "00000004"
                               "d83dde00"   // html U+1F600
                               "00000007"   // rating
                               "fffffffe"); // frequency -2
}

PhraseRecord secondRecord()
{
    PhraseRecord record;
    record.str = QStringLiteral("Привет");
    record.labels = QStringLiteral("greeting");
    record.keyWord = QStringLiteral("hello");
    record.html = QStringLiteral("<p>Привет</p>");
    record.rating = 100;
    record.frequency = 12;
    return record;
}

} // namespace

class TestPhrasePayload : public QObject
{
    Q_OBJECT

private slots:
    void encode_writesDataStreamBytes();
    void decode_readsDataStreamBytes();
    void roundTrip_data();
    void roundTrip();
    void decode_truncatedKeepsCompleteRecords();
    void decode_malformedStringEndsDecoding_data();
    void decode_malformedStringEndsDecoding();
    void decode_randomBytesAreSafe();
};

void TestPhrasePayload::encode_writesDataStreamBytes()
{
    QCOMPARE(encodePhraseRecords({knownRecord()}).toHex(), knownBytes().toHex());
}

void TestPhrasePayload::decode_readsDataStreamBytes()
{
    const QVector<PhraseRecord> records = decodePhraseRecords(knownBytes());
    QCOMPARE(records.size(), 1);
    QVERIFY(sameRecord(records.at(0), knownRecord()));
    QVERIFY(records.at(0).labels.isNull());
    QVERIFY(!records.at(0).keyWord.isNull());
}

void TestPhrasePayload::roundTrip_data()
{
    QTest::addColumn<QVector<PhraseRecord>>("records");

    QTest::newRow("none") << QVector<PhraseRecord>{};
    QTest::newRow("all null") << QVector<PhraseRecord>{PhraseRecord()};
    QTest::newRow("two") << QVector<PhraseRecord>{knownRecord(), secondRecord()};
    PhraseRecord extremes = secondRecord();
    extremes.rating = std::numeric_limits<qint32>::min();
    extremes.frequency = std::numeric_limits<qint32>::max();
    QTest::newRow("integer extremes") << QVector<PhraseRecord>{extremes, knownRecord()};
}

void TestPhrasePayload::roundTrip()
{
    QFETCH(QVector<PhraseRecord>, records);

    const QVector<PhraseRecord> decoded = decodePhraseRecords(encodePhraseRecords(records));
    QCOMPARE(decoded.size(), records.size());
    for (int i = 0; i < records.size(); ++i)
        QVERIFY2(sameRecord(decoded.at(i), records.at(i)), qPrintable(QString::number(i)));
}

void TestPhrasePayload::decode_truncatedKeepsCompleteRecords()
{
    const int firstSize = encodePhraseRecords({knownRecord()}).size();
    const QByteArray payload = encodePhraseRecords({knownRecord(), secondRecord()});

    for (int cut = 0; cut <= payload.size(); ++cut) {
        const QVector<PhraseRecord> records = decodePhraseRecords(payload.left(cut));
        const int expected = cut == payload.size() ? 2 : (cut >= firstSize ? 1 : 0);
        QVERIFY2(records.size() == expected, qPrintable(QStringLiteral("cut at %1").arg(cut)));
        if (expected > 0)
            QVERIFY(sameRecord(records.at(0), knownRecord()));
    }
}

void TestPhrasePayload::decode_malformedStringEndsDecoding_data()
{
    QTest::addColumn<QByteArray>("tail");

    QTest::newRow("odd length") << QByteArray::fromHex("00000003"
                                                       "004800");
    QTest::newRow("longer than the data") << QByteArray::fromHex("00000010"
                                                                 "0048");
    // A decoder that sized the string before checking would try to allocate 4 GB here.
    QTest::newRow("huge length") << QByteArray::fromHex("fffffff0"
                                                        "00480069");
    QTest::newRow("largest positive length") << QByteArray::fromHex("7ffffffe");
}

void TestPhrasePayload::decode_malformedStringEndsDecoding()
{
    QFETCH(QByteArray, tail);

    const QVector<PhraseRecord> records = decodePhraseRecords(knownBytes() + tail + knownBytes());
    QCOMPARE(records.size(), 1);
    QVERIFY(sameRecord(records.at(0), knownRecord()));
}

void TestPhrasePayload::decode_randomBytesAreSafe()
{
    // Whatever the input, decoding consumes whole records from the front, so
    // encoding the result again must give a prefix of the input.
    QRandomGenerator random(20240611);
    const QByteArray valid = encodePhraseRecords({knownRecord(), secondRecord(), knownRecord()});
    for (int round = 0; round < 2000; ++round) {
        QByteArray data;
        if (round % 2 == 0) {
            data.resize(random.bounded(0, 96));
            for (char &byte : data)
                byte = static_cast<char>(random.bounded(256));
        } else {
            data = valid.left(random.bounded(valid.size() + 1));
            for (int flips = random.bounded(1, 4); flips > 0 && !data.isEmpty(); --flips)
                data[random.bounded(data.size())] = static_cast<char>(random.bounded(256));
        }
        const QByteArray again = encodePhraseRecords(decodePhraseRecords(data));
        QVERIFY2(data.startsWith(again),
                 qPrintable(QStringLiteral("round %1: %2").arg(round).arg(QString::fromLatin1(data.toHex()))));
    }
}

QTEST_GUILESS_MAIN(TestPhrasePayload)
#include "tst_phrasepayload.moc"
