#include "browser/emptyrecord.h"

#include <QtTest>

#include <functional>

Q_DECLARE_METATYPE(PhraseRecord)

class TestEmptyRecord : public QObject
{
    Q_OBJECT

private slots:
    void anyFieldMakesAPhrase_data()
    {
        QTest::addColumn<PhraseRecord>("record");
        QTest::addColumn<bool>("empty");

        const auto with = [](const std::function<void(PhraseRecord &)> &set) {
            PhraseRecord record;
            set(record);
            return record;
        };
        QTest::newRow("nothing") << PhraseRecord() << true;
        QTest::newRow("null texts") << with([](PhraseRecord &r) { r.str = r.html = QString(); }) << true;
        QTest::newRow("phrase") << with([](PhraseRecord &r) { r.str = QStringLiteral(" "); }) << false;
        QTest::newRow("labels") << with([](PhraseRecord &r) { r.labels = QStringLiteral("a"); }) << false;
        QTest::newRow("comment") << with([](PhraseRecord &r) { r.keyWord = QStringLiteral("a"); }) << false;
        QTest::newRow("hot key") << with([](PhraseRecord &r) { r.hotKey = QStringLiteral("a"); }) << false;
        QTest::newRow("rich text") << with([](PhraseRecord &r) { r.html = QStringLiteral("<p></p>"); }) << false;
        QTest::newRow("rating") << with([](PhraseRecord &r) { r.rating = 1; }) << false;
        QTest::newRow("count") << with([](PhraseRecord &r) { r.frequency = -1; }) << false;
    }

    void anyFieldMakesAPhrase()
    {
        QFETCH(PhraseRecord, record);
        QFETCH(bool, empty);

        QCOMPARE(isEmptyRecord(record), empty);
        const PhraseRecord kept{QStringLiteral("kept")};
        const QVector<PhraseRecord> left = withoutEmptyRecords({record, kept});
        QCOMPARE(left.size(), empty ? 1 : 2);
        QCOMPARE(left.last().str, kept.str);
    }
};

QTEST_GUILESS_MAIN(TestEmptyRecord)
#include "tst_emptyrecord.moc"
