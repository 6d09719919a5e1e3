#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QFile>
#include <QtTest>

// The template databases are generated from SQL text at build time; these checks
// hold them to what the program relies on.
class TestTemplates : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void layout_data();
    void layout();
    void starter_shadowColumnsAreLowerCase();
    void starter_offersCyrillicAndRichText();
    void newRow_getsIdAndZeroCounts();

private:
    QSqlDatabase open(const QString &file);
};

QSqlDatabase TestTemplates::open(const QString &file)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("template"));
    db.setDatabaseName(file);
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
    if (!db.open())
        qWarning() << "cannot open" << file;
    return db;
}

void TestTemplates::cleanup()
{
    QSqlDatabase::removeDatabase(QStringLiteral("template"));
}

void TestTemplates::layout_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("empty");
    QTest::newRow("org.db") << QStringLiteral(QUILLARY_PROGRAM_DIR "/org.db") << false;
    QTest::newRow("new.db") << QStringLiteral(QUILLARY_PROGRAM_DIR "/new.db") << true;
}

void TestTemplates::layout()
{
    QFETCH(QString, file);
    QFETCH(bool, empty);
    {
        QSqlDatabase db = open(file);
        const QSqlRecord record = db.record(QStringLiteral("TypeText"));
        QCOMPARE(record.count(), 14);
        const QMap<int, QString> named{{0, QStringLiteral("id")},          {3, QStringLiteral("Str")},
                                       {4, QStringLiteral("Labels")},      {5, QStringLiteral("KeyWord")},
                                       {6, QStringLiteral("HotKey")},      {7, QStringLiteral("Html")},
                                       {8, QStringLiteral("KeyLower")},    {9, QStringLiteral("StrLower")},
                                       {10, QStringLiteral("LabelLower")}, {11, QStringLiteral("Rating")},
                                       {12, QStringLiteral("Frequency")}};
        for (auto it = named.cbegin(); it != named.cend(); ++it)
            QCOMPARE(record.fieldName(it.key()), it.value());
        QSqlQuery count(QStringLiteral("SELECT count(*) FROM TypeText"), db);
        QVERIFY(count.next());
        QCOMPARE(count.value(0).toInt() == 0, empty);
    }
}

void TestTemplates::starter_shadowColumnsAreLowerCase()
{
    QSqlDatabase db = open(QStringLiteral(QUILLARY_PROGRAM_DIR "/org.db"));
    QSqlQuery query(QStringLiteral("SELECT Str, StrLower, Labels, LabelLower, KeyWord, KeyLower FROM TypeText"), db);
    int rows = 0;
    while (query.next()) {
        ++rows;
        for (int column = 0; column < 6; column += 2)
            QCOMPARE(query.value(column + 1).toString(), query.value(column).toString().toLower());
    }
    QVERIFY(rows >= 10);
}

void TestTemplates::starter_offersCyrillicAndRichText()
{
    QSqlDatabase db = open(QStringLiteral(QUILLARY_PROGRAM_DIR "/org.db"));
    QSqlQuery query(QStringLiteral("SELECT Str, Html FROM TypeText"), db);
    int cyrillic = 0, rich = 0;
    while (query.next()) {
        const QString str = query.value(0).toString();
        cyrillic += std::any_of(str.cbegin(), str.cend(), [](QChar c) { return c.script() == QChar::Script_Cyrillic; });
        rich += query.value(1).toString().contains(QStringLiteral("<html>"));
    }
    QVERIFY(cyrillic >= 2);
    QVERIFY(rich >= 2);
}

void TestTemplates::newRow_getsIdAndZeroCounts()
{
    QTemporaryDir dir;
    const QString copy = dir.filePath(QStringLiteral("new.db"));
    QVERIFY(QFile::copy(QStringLiteral(QUILLARY_PROGRAM_DIR "/new.db"), copy));
    QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("template"));
        db.setDatabaseName(copy);
        QVERIFY(db.open());
        QSqlQuery query(db);
        QVERIFY(query.exec(QStringLiteral("INSERT INTO TypeText (Str) VALUES ('x')")));
        QVERIFY(query.exec(QStringLiteral("INSERT INTO TypeText (Str) VALUES ('y')")));
        QVERIFY(query.exec(QStringLiteral("SELECT id, Rating, Frequency, Html FROM TypeText ORDER BY id")));
        QVERIFY(query.next());
        const qlonglong first = query.value(0).toLongLong();
        QCOMPARE(query.value(1).toInt(), 0);
        QCOMPARE(query.value(2).toInt(), 0);
        QCOMPARE(query.value(3).toString(), QString());
        QVERIFY(query.next());
        QVERIFY(query.value(0).toLongLong() > first);
        query.clear();
        db.close();
    }
}

QTEST_GUILESS_MAIN(TestTemplates)
#include "tst_templates.moc"
