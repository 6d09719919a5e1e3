#include "browser/phrasepayload.h"

#include <QtTest>

// One record as another running copy writes it, spelled out by hand: "Hi", null labels, empty keyword,
// hot key U+20AC, html U+1F600 (a surrogate pair), rating 7, usage count -2.
static const QByteArray knownBytes =
    QByteArray::fromHex("00000004 00480069 ffffffff 00000000 00000002 20ac 00000004 d83dde00 00000007 fffffffe");

class TestPhrasePayload : public QObject
{
    Q_OBJECT

private slots:
    void encode_writesDataStreamBytes()
    {
        const PhraseRecord record{
            QStringLiteral("Hi"), {}, QStringLiteral(""), QStringLiteral("€"), QStringLiteral("😀"), 7, -2};
        QCOMPARE(encodePhraseRecords({record}).toHex(), knownBytes.toHex());
    }

    // The encoder is pinned to the bytes above, so encoding what was decoded shows
    // every field, null or empty strings included.
    void decode_keepsCompleteRecordsOfCutData()
    {
        const QByteArray payload = knownBytes + knownBytes;
        for (int cut = 0; cut <= payload.size(); ++cut) {
            const QByteArray whole = payload.left(cut / knownBytes.size() * knownBytes.size());
            QVERIFY2(encodePhraseRecords(decodePhraseRecords(payload.left(cut))) == whole,
                     qPrintable(QString::number(cut)));
        }
    }

    void decode_stopsAtMalformedString_data()
    {
        QTest::addColumn<QByteArray>("bad");
        QTest::newRow("odd length") << QByteArray::fromHex("00000003004800");
        QTest::newRow("longer than the data") << QByteArray::fromHex("000000100048");
        // Sizing the string before checking would try to allocate gigabytes here.
        QTest::newRow("huge length") << QByteArray::fromHex("fffffff000480069");
        QTest::newRow("largest positive length") << QByteArray::fromHex("7ffffffe");
    }

    void decode_stopsAtMalformedString()
    {
        QFETCH(QByteArray, bad);
        QCOMPARE(encodePhraseRecords(decodePhraseRecords(knownBytes + bad + knownBytes)).toHex(), knownBytes.toHex());
    }
};

QTEST_GUILESS_MAIN(TestPhrasePayload)
#include "tst_phrasepayload.moc"
