#include "../common/phrasedatabase.h"
#include "browser/searchcondition.h"

#include <QtSql>
#include <QtTest>

// The filters run in real SQLite, whose lower() and LIKE fold only ASCII letters.
class TestSearchCondition : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
        db.setDatabaseName(QStringLiteral(":memory:"));
        QVERIFY(db.open() && PhraseDatabase::build(db));
        QVERIFY(QSqlQuery().exec(QString::fromUtf8(
            "INSERT INTO TypeText (Str, StrLower) VALUES ('50% off', '50% off'), ('500 off', '500 off'), "
            "('abc', 'abc'), ('it''s fine', 'it''s fine'), ('a_c', 'a_c'), ('xABCx', 'xabcx'), "
            "('C:\\my_file', 'c:\\my_file'), ('Привет', 'привет'), ('Дом XyZ', NULL)")));
        QVERIFY(QSqlQuery().exec(QString::fromUtf8("INSERT INTO TypeText (Str, Labels, KeyWord, StrLower, LabelLower, "
                                                   "KeyLower) VALUES ('plain', 'Работа', '', 'plain', 'работа', ''), "
                                                   "('other', '', 'Ключ', 'other', '', 'ключ')")));
    }

    void hasCyrillicLower_onlyAToYa()
    {
        QVERIFY(hasCyrillicLower(QStringLiteral("\u0430")));
        QVERIFY(hasCyrillicLower(QStringLiteral("x\u044F")));
        QVERIFY(!hasCyrillicLower(QStringLiteral("\u042F\u0450ё abc")));
        QVERIFY(!hasCyrillicLower(QString()));
    }

    // The row name is the search text; "Дом" and "xyz" find the phrase without a lower-case copy.
    void searchFilter_findsTextAsSubstring_data()
    {
        QTest::addColumn<QStringList>("found");
        const auto search = [](const char *text, const QStringList &found) { QTest::newRow(text) << found; };
        search("50%", {QStringLiteral("50% off")});
        search("'", {QStringLiteral("it's fine")});
        search("a_c", {QStringLiteral("a_c")});
        search("c:\\my_", {QStringLiteral("C:\\my_file")});
        search("ABC", {QStringLiteral("abc"), QStringLiteral("xABCx")});
        search("ПРИВЕТ", {QStringLiteral("Привет")});
        search("РАБОТА", {QStringLiteral("plain")});
        search("КЛЮЧ", {QStringLiteral("other")});
        search("Дом", {QStringLiteral("Дом XyZ")});
        search("xyz", {QStringLiteral("Дом XyZ")});
    }

    void searchFilter_findsTextAsSubstring()
    {
        const QString text = QString::fromUtf8(QTest::currentDataTag());
        QSqlQuery query(QStringLiteral("SELECT Str FROM TypeText WHERE ") + searchFilter(text));
        QStringList phrases;
        while (query.next())
            phrases << query.value(0).toString();
        QTEST(phrases, "found");
    }

    void searchTooLong_refusesWhatSQLiteCannotTake_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("refused");
        // Three bytes of pattern for each UTF-16 unit, the most any character takes.
        QTest::newRow("longest allowed") << QString(maxSearchLength, QChar(0x4E2D)) << false;
        // SQLite refuses LIKE patterns over 50,000 bytes.
        QTest::newRow("too long for SQLite") << QString(25000, QChar(0x044F)) << true;
    }

    void searchTooLong_refusesWhatSQLiteCannotTake()
    {
        QFETCH(QString, text);
        QFETCH(bool, refused);
        QCOMPARE(searchTooLong(text), refused);
        QSqlQuery query;
        if (!refused)
            QVERIFY2(query.exec(QStringLiteral("SELECT Str FROM TypeText WHERE ") + searchFilter(text)),
                     qPrintable(query.lastError().text()));
    }
};

QTEST_GUILESS_MAIN(TestSearchCondition)
#include "tst_searchcondition.moc"
