#include "browser/searchcondition.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlTableModel>
#include <QTemporaryDir>
#include <QtTest>

class TestSearchCondition : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void hasCyrillicLower_data();
    void hasCyrillicLower();
    void buildCondition_data();
    void buildCondition();
    void searchFilter_emptyTextShowsAll();
    void searchFilter_joinsThreeColumns();
    void searchFilter_findsSubstringOnly_data();
    void searchFilter_findsSubstringOnly();

private:
    void addPhrase(const QString &str, const QString &labels, const QString &keyWord);

    QTemporaryDir dir;
    const QString connection = QStringLiteral("tst_searchcondition");
};

void TestSearchCondition::initTestCase()
{
    QVERIFY(dir.isValid());
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
    db.setDatabaseName(dir.filePath(QStringLiteral("search.db")));
    QVERIFY2(db.open(), qPrintable(db.lastError().text()));
    QSqlQuery query(db);
    QVERIFY2(
        query.exec(QStringLiteral("CREATE TABLE TypeText (id INTEGER PRIMARY KEY AUTOINCREMENT, Created, Modified, "
                                  "Str, Labels, KeyWord, HotKey, Html, KeyLower, StrLower, LabelLower, "
                                  "Rating INTEGER DEFAULT 0, Frequency INTEGER DEFAULT 0, Uid)")),
        qPrintable(query.lastError().text()));

    addPhrase(QStringLiteral("50% off"), QString(), QString());
    addPhrase(QStringLiteral("500 off"), QString(), QString());
    addPhrase(QStringLiteral("it's fine"), QString(), QString());
    addPhrase(QStringLiteral("abc"), QString(), QString());
    addPhrase(QStringLiteral("a_c"), QString(), QString());
    addPhrase(QStringLiteral("xABCx"), QString(), QString());
    addPhrase(QStringLiteral("C:\\temp"), QString(), QString());
    addPhrase(QStringLiteral("Привет мир"), QString(), QString());
    addPhrase(QStringLiteral("plain"), QStringLiteral("Work"), QString());
    addPhrase(QStringLiteral("other"), QString(), QStringLiteral("Ключ"));
}

void TestSearchCondition::cleanupTestCase()
{
    QSqlDatabase::database(connection).close();
    QSqlDatabase::removeDatabase(connection);
}

void TestSearchCondition::addPhrase(const QString &str, const QString &labels, const QString &keyWord)
{
    QSqlQuery query(QSqlDatabase::database(connection));
    query.prepare(QStringLiteral("INSERT INTO TypeText (Str, Labels, KeyWord, StrLower, LabelLower, KeyLower) "
                                 "VALUES (?, ?, ?, ?, ?, ?)"));
    query.addBindValue(str);
    query.addBindValue(labels);
    query.addBindValue(keyWord);
    query.addBindValue(str.toLower());
    query.addBindValue(labels.toLower());
    query.addBindValue(keyWord.toLower());
    QVERIFY2(query.exec(), qPrintable(query.lastError().text()));
}

void TestSearchCondition::hasCyrillicLower_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("expected");

    QTest::newRow("empty") << QString() << false;
    QTest::newRow("latin") << QStringLiteral("abc XYZ") << false;
    QTest::newRow("first letter а") << QStringLiteral("\u0430") << true;
    QTest::newRow("last letter я") << QStringLiteral("\u044F") << true;
    QTest::newRow("capital Я before range") << QStringLiteral("\u042F") << false;
    QTest::newRow("ѐ after range") << QStringLiteral("\u0450") << false;
    QTest::newRow("ё is outside") << QStringLiteral("ё") << false;
    QTest::newRow("one among latin") << QStringLiteral("abcд123") << true;
}

void TestSearchCondition::hasCyrillicLower()
{
    QFETCH(QString, text);
    QFETCH(bool, expected);
    QCOMPARE(::hasCyrillicLower(text), expected);
}

void TestSearchCondition::buildCondition_data()
{
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    QTest::newRow("ascii is lower-cased") << QStringLiteral("Str") << QStringLiteral("Abc")
                                          << QStringLiteral("(lower(Str) like '%abc%') or (StrLower like '%abc%')");
    QTest::newRow("cyrillic keeps text as typed")
        << QStringLiteral("Keyword") << QStringLiteral("Дом")
        << QStringLiteral("(Keyword like '%Дом%') or (KeyLower like '%дом%')");
    QTest::newRow("apostrophe doubled") << QStringLiteral("Str") << QStringLiteral("It's")
                                        << QStringLiteral("(lower(Str) like '%it''s%') or (StrLower like '%it''s%')");
    QTest::newRow("percent escaped")
        << QStringLiteral("Str") << QStringLiteral("50%")
        << QStringLiteral("(lower(Str) like '%50\\%%' escape '\\') or (StrLower like '%50\\%%' escape '\\')");
    QTest::newRow("underscore escaped")
        << QStringLiteral("Str") << QStringLiteral("a_c")
        << QStringLiteral("(lower(Str) like '%a\\_c%' escape '\\') or (StrLower like '%a\\_c%' escape '\\')");
    QTest::newRow("escape character escaped")
        << QStringLiteral("Str") << QStringLiteral("a\\b")
        << QStringLiteral("(lower(Str) like '%a\\\\b%' escape '\\') or (StrLower like '%a\\\\b%' escape '\\')");
    QTest::newRow("cyrillic with apostrophe") << QStringLiteral("Str") << QStringLiteral("Д'А")
                                              << QStringLiteral("(Str like '%Д''А%') or (StrLower like '%д''а%')");
}

void TestSearchCondition::buildCondition()
{
    QFETCH(QString, column);
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(::buildCondition(column, text), expected);
}

void TestSearchCondition::searchFilter_emptyTextShowsAll()
{
    QVERIFY(searchFilter(QString()).isEmpty());
}

void TestSearchCondition::searchFilter_joinsThreeColumns()
{
    QCOMPARE(searchFilter(QStringLiteral("Abc")),
             QStringLiteral("((lower(Str) like '%abc%') or (StrLower like '%abc%')) or "
                            "((lower(Labels) like '%abc%') or (LabelLower like '%abc%')) or "
                            "((lower(Keyword) like '%abc%') or (KeyLower like '%abc%'))"));
}

void TestSearchCondition::searchFilter_findsSubstringOnly_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("found");

    QTest::newRow("percent is literal") << QStringLiteral("50%") << QStringList{QStringLiteral("50% off")};
    QTest::newRow("apostrophe") << QStringLiteral("'") << QStringList{QStringLiteral("it's fine")};
    QTest::newRow("underscore is literal") << QStringLiteral("a_c") << QStringList{QStringLiteral("a_c")};
    QTest::newRow("backslash is literal") << QStringLiteral("c:\\t") << QStringList{QStringLiteral("C:\\temp")};
    QTest::newRow("ascii any case") << QStringLiteral("ABC")
                                    << QStringList{QStringLiteral("abc"), QStringLiteral("xABCx")};
    QTest::newRow("cyrillic upper") << QStringLiteral("ПРИВЕТ") << QStringList{QStringLiteral("Привет мир")};
    QTest::newRow("cyrillic lower") << QStringLiteral("привет") << QStringList{QStringLiteral("Привет мир")};
    QTest::newRow("label") << QStringLiteral("work") << QStringList{QStringLiteral("plain")};
    QTest::newRow("keyword cyrillic") << QStringLiteral("КЛЮЧ") << QStringList{QStringLiteral("other")};
    QTest::newRow("nothing") << QStringLiteral("zzz") << QStringList{};
}

void TestSearchCondition::searchFilter_findsSubstringOnly()
{
    QFETCH(QString, text);
    QFETCH(QStringList, found);

    QSqlTableModel model(nullptr, QSqlDatabase::database(connection));
    model.setTable(QStringLiteral("TypeText"));
    model.setFilter(searchFilter(text));
    QVERIFY2(model.select(), qPrintable(model.lastError().text()));

    QStringList phrases;
    for (int row = 0; row < model.rowCount(); ++row)
        phrases << model.index(row, 3).data().toString();
    phrases.sort();
    found.sort();
    QCOMPARE(phrases, found);
}

QTEST_GUILESS_MAIN(TestSearchCondition)
#include "tst_searchcondition.moc"
