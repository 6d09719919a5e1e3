#include "exchange/inireader.h"
#include "exchange/phrasewriters.h"
#include "phrasedb.h"

#include <QSettings>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCodec>

Q_DECLARE_METATYPE(QVector<PhraseFileRow>)

class IniReaderTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void writeIniPhrases_isReadBackExactly_data() { nastyValues(); }
    void writeIniPhrases_isReadBackExactly();
    void importIni_readsWhatQSettingsWrites_data() { nastyValues(); }
    void importIni_readsWhatQSettingsWrites();
    void writeIniPhrases_replacesWholeFile();
    void importIni_groupWithEmptyTextsDoesNotEndList();
    void importIni_rowForm_data();
    void importIni_rowForm();
    void importIni_sectionForm_data();
    void importIni_sectionForm();
    void insertSectionPhrase_storesShadowsAndNullLabels();

private:
    static void nastyValues();
    QString filePath() const { return dir->filePath(QStringLiteral("phrases.ini")); }
    QTemporaryDir *dir = nullptr;
};

void IniReaderTest::init()
{
    dir = new QTemporaryDir;
    QVERIFY(dir->isValid());
    QString error;
    QVERIFY2(openPhraseDatabase(dir->filePath(QStringLiteral("test.db")), &error), qPrintable(error));
}

void IniReaderTest::cleanup()
{
    closePhraseDatabase();
    delete dir;
    dir = nullptr;
}

void IniReaderTest::nastyValues()
{
    QTest::addColumn<QString>("value");

    QTest::newRow("plain") << QStringLiteral("plain text");
    QTest::newRow("comma semicolon equals") << QStringLiteral("a, b; c = d");
    QTest::newRow("list-like") << QStringLiteral("a,b");
    QTest::newRow("blanks at both ends") << QStringLiteral("  padded  ");
    QTest::newRow("trailing blank") << QStringLiteral("trailing ");
    QTest::newRow("only blanks") << QStringLiteral("   ");
    QTest::newRow("TABs") << QStringLiteral("\tone\ttwo\t");
    QTest::newRow("line breaks") << QStringLiteral("line\nbreak\r\nand CR\r");
    QTest::newRow("quotes and backslashes") << QStringLiteral("\"quoted\" back\\slash \\n \\x41");
    QTest::newRow("NUL") << QStringLiteral("nul ") + QChar(0) + QStringLiteral("1 byte");
    QTest::newRow("control before hex digit") << QStringLiteral("\x01"
                                                                "ab\x1f"
                                                                "F\x02"
                                                                "9");
    QTest::newRow("at sign") << QStringLiteral("@at start");
    QTest::newRow("at String") << QStringLiteral("@String(x)");
    QTest::newRow("at Variant") << QStringLiteral("@Variant(x)");
    QTest::newRow("at only") << QStringLiteral("@");
    QTest::newRow("Cyrillic") << QStringLiteral("Съешь же ещё этих мягких булок");
    QTest::newRow("outside the BMP") << QStringLiteral("emoji 😀 and 𝄞");
    // Right after an escape, where a chunk-wise decoder would take it for a byte-order mark.
    QTest::newRow("byte-order mark character") << QStringLiteral("x\n") + QChar(0xFEFF) + QStringLiteral("f");
    QTest::newRow("Latin-1 and DEL") << QStringLiteral("ümlaut € \x7f");
    QTest::newRow("group header inside") << QStringLiteral("x\n[Row5]\nStr=injected");
    QTest::newRow("percent and slash") << QStringLiteral("100% a/b");
    QTest::newRow("empty") << QString();
    QTest::newRow("HTML") << QStringLiteral("<p style=\"margin:0; color:#ff0000\">Hi, <b>you</b></p>");
}

void IniReaderTest::writeIniPhrases_isReadBackExactly()
{
    QFETCH(QString, value);
    const QVector<PhraseFileRow> rows{phrase(value, value, value, 7, 8, value),
                                      phrase(QStringLiteral("after"), QString(), QString(), 1, 2)};
    QString error;
    QVERIFY2(writeIniPhrases(filePath(), rows, &error), qPrintable(error));

    // The format is QSettings': QSettings itself must read back every value.
    {
        QSettings settings(filePath(), QSettings::IniFormat);
        settings.setIniCodec("UTF-8");
        QCOMPARE(settings.status(), QSettings::NoError);
        settings.beginGroup(QStringLiteral("Row0"));
        for (const QString &key :
             {QStringLiteral("Str"), QStringLiteral("Labels"), QStringLiteral("Html"), QStringLiteral("KeyWord")})
            QCOMPARE(settings.value(key).toString(), value);
        QCOMPARE(settings.value(QStringLiteral("Rating")).toInt(), 7);
        QCOMPARE(settings.value(QStringLiteral("Frequency")).toInt(), 8);
        settings.endGroup();
        QCOMPARE(settings.childGroups(), QStringList({QStringLiteral("Row0"), QStringLiteral("Row1")}));
    }

    QCOMPARE(importIni(filePath()), 2);
    bool shadowsOk = false;
    QCOMPARE(storedPhrases(&shadowsOk), rows);
    QVERIFY(shadowsOk);
}

void IniReaderTest::importIni_readsWhatQSettingsWrites()
{
    QFETCH(QString, value);
    for (const QChar ch : value) {
        if (ch.isSurrogate() || ch.unicode() == 0xFEFF)
            QSKIP("QSettings itself loses this character");
    }
    {
        QSettings settings(filePath(), QSettings::IniFormat);
        settings.setIniCodec("UTF-8");
        for (const QString &group : {QStringLiteral("Row0"), QStringLiteral("Row1")}) {
            settings.beginGroup(group);
            settings.setValue(QStringLiteral("Str"), value);
            settings.setValue(QStringLiteral("Labels"), value);
            settings.setValue(QStringLiteral("Html"), value);
            settings.setValue(QStringLiteral("KeyWord"), value);
            settings.setValue(QStringLiteral("Rating"), -7);
            settings.setValue(QStringLiteral("Frequency"), 8);
            settings.endGroup();
        }
    }
    QCOMPARE(importIni(filePath()), 2);
    const PhraseFileRow expected = phrase(value, value, value, -7, 8, value);
    QCOMPARE(storedPhrases(), QVector<PhraseFileRow>({expected, expected}));
}

void IniReaderTest::writeIniPhrases_replacesWholeFile()
{
    QVector<PhraseFileRow> rows;
    for (int i = 0; i < 5; ++i)
        rows.append(phrase(QStringLiteral("old %1").arg(i)));
    QVERIFY(writeIniPhrases(filePath(), rows));
    const QVector<PhraseFileRow> fewer{phrase(QStringLiteral("new 0")), phrase(QStringLiteral("new 1"))};
    QVERIFY(writeIniPhrases(filePath(), fewer));

    QCOMPARE(importIni(filePath()), 2);
    QCOMPARE(storedPhrases(), fewer);
}

void IniReaderTest::importIni_groupWithEmptyTextsDoesNotEndList()
{
    const QVector<PhraseFileRow> rows{phrase(QStringLiteral("a")),
                                      phrase(QString(), QString(), QStringLiteral("kw"), 3), phrase(QString()),
                                      phrase(QStringLiteral("d"))};
    QVERIFY(writeIniPhrases(filePath(), rows));
    ImportReport report;
    QCOMPARE(importIni(filePath(), &report), 4);
    QCOMPARE(storedPhrases(), rows);
}

void IniReaderTest::importIni_rowForm_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QVector<PhraseFileRow>>("expected");
    using Rows = QVector<PhraseFileRow>;

    QTest::newRow("key names in any case")
        << QByteArray("[Row0]\nstr=a\nLABELS=b\nhtml=<b>x</b>\nKEYWORD=k\nrating=3\nfrequency=4\n")
        << Rows{
               phrase(QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("k"), 3, 4, QStringLiteral("<b>x</b>"))};
    QTest::newRow("count spelled three ways")
        << QByteArray("[Row0]\nStr=a\nFrequency=1\n[Row1]\nStr=b\nfrequency=2\n[Row2]\nStr=c\nFREQUENCY=3\n")
        << Rows{phrase(QStringLiteral("a"), {}, {}, 0, 1), phrase(QStringLiteral("b"), {}, {}, 0, 2),
                phrase(QStringLiteral("c"), {}, {}, 0, 3)};
    QTest::newRow("group names in any case") << QByteArray("[row0]\nStr=a\n[ROW1]\nStr=b\n")
                                             << Rows{phrase(QStringLiteral("a")), phrase(QStringLiteral("b"))};
    QTest::newRow("missing or non-numeric rating") << QByteArray("[Row0]\nStr=a\nRating=abc\n[Row1]\nStr=b\n")
                                                   << Rows{phrase(QStringLiteral("a")), phrase(QStringLiteral("b"))};
    QTest::newRow("unquoted comma makes a list, read as no text")
        << QByteArray("[Row0]\nStr=a, b\nLabels=\"c, d\"\nRating=1,2\n") << Rows{phrase({}, QStringLiteral("c, d"))};
    QTest::newRow("blanks trimmed unless quoted or escaped")
        << QByteArray("[Row0]\n  Str  =   a b  \nLabels= \" c \" \nKeyWord=k\\t\\x20 \n")
        << Rows{phrase(QStringLiteral("a b"), QStringLiteral(" c "), QStringLiteral("k\t "))};
    QTest::newRow("only a keyword") << QByteArray("[Row0]\nKeyWord=k\n[Row1]\nStr=b\n")
                                    << Rows{phrase({}, {}, QStringLiteral("k")), phrase(QStringLiteral("b"))};
    QTest::newRow("list ends at the first missing number")
        << QByteArray("[Row0]\nStr=a\n[Row2]\nStr=c\n") << Rows{phrase(QStringLiteral("a"))};
    QTest::newRow("a group without keys is missing")
        << QByteArray("[Row0]\nStr=a\n[Row1]\n[Row2]\nStr=c\n") << Rows{phrase(QStringLiteral("a"))};
    QTest::newRow("no Row0") << QByteArray("[Row1]\nStr=b\n") << Rows{};
    QTest::newRow("empty file") << QByteArray() << Rows{};
    QTest::newRow("not INI at all") << QByteArray("hello world\nthis is text\n") << Rows{};
    QTest::newRow("UTF-8 BOM and CR LF") << QByteArray("\xEF\xBB\xBF[Row0]\r\nStr=\xC3\xA4 \\\"q\\\"\r\n")
                                         << Rows{phrase(QStringLiteral("ä \"q\""))};
}

void IniReaderTest::importIni_rowForm()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QVector<PhraseFileRow>, expected);
    QVERIFY(writeBytes(filePath(), bytes));
    QCOMPARE(importIni(filePath()), expected.size());
    bool shadowsOk = false;
    QCOMPARE(storedPhrases(&shadowsOk), expected);
    QVERIFY(shadowsOk);
}

void IniReaderTest::importIni_sectionForm_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QVector<PhraseFileRow>>("expected");
    QTest::addColumn<int>("withoutLabels");
    using Rows = QVector<PhraseFileRow>;
    const QString greetings = QStringLiteral("Greetings");

    QTest::newRow("greetings") << QStringLiteral("[Greetings]\r\r\nhi=Hello\r\r\nthere\r\r\nbye=Good bye\r\r\n")
                               << Rows{phrase(QStringLiteral("Hello\nthere"), greetings, QStringLiteral("hi")),
                                       phrase(QStringLiteral("Good bye"), greetings, QStringLiteral("bye"))}
                               << 0;
    QTest::newRow("blanks around the equals sign are kept")
        << QStringLiteral("[S]\r\r\n  key = text  \r\r\n")
        << Rows{phrase(QStringLiteral(" text"), QStringLiteral("S"), QStringLiteral("key "))} << 0;
    QTest::newRow("blank line after a key line")
        << QStringLiteral("[S]\r\r\nk=v\r\r\n\r\r\n")
        << Rows{phrase(QStringLiteral("v\n"), QStringLiteral("S"), QStringLiteral("k"))} << 0;
    QTest::newRow("key line before the first section")
        << QStringLiteral("k=v\r\r\n[S]\r\r\nk2=v2\r\r\n")
        << Rows{phrase(QStringLiteral("v"), {}, QStringLiteral("k")),
                phrase(QStringLiteral("v2"), QStringLiteral("S"), QStringLiteral("k2"))}
        << 1;
    QTest::newRow("lines before a section's first key are lost")
        << QStringLiteral("[S]\r\r\nlost\r\r\nk=v\r\r\n[T]\r\r\n")
        << Rows{phrase(QStringLiteral("v"), QStringLiteral("S"), QStringLiteral("k"))} << 0;
    QTest::newRow("comment line continues the phrase")
        << QStringLiteral("[S]\r\r\nk=v\r\r\n;note\r\r\n")
        << Rows{phrase(QStringLiteral("v\n;note"), QStringLiteral("S"), QStringLiteral("k"))} << 0;
    QTest::newRow("Cyrillic") << QStringLiteral("[Приветствия]\r\r\nПР=Привет, Мир\r\r\n")
                              << Rows{phrase(QStringLiteral("Привет, Мир"), QStringLiteral("Приветствия"),
                                             QStringLiteral("ПР"))}
                              << 0;
}

void IniReaderTest::importIni_sectionForm()
{
    QFETCH(QString, text);
    QFETCH(QVector<PhraseFileRow>, expected);
    QFETCH(int, withoutLabels);
    QVERIFY(writeBytes(filePath(), QTextCodec::codecForName("Windows-1251")->fromUnicode(text)));

    QCOMPARE(importIni(filePath()), expected.size());
    bool shadowsOk = false;
    QCOMPARE(storedPhrases(&shadowsOk), expected);
    QVERIFY(shadowsOk);
    QSqlQuery query(QStringLiteral("SELECT count(*) FROM TypeText WHERE Labels IS NULL"));
    QVERIFY(query.next());
    QCOMPARE(query.value(0).toInt(), withoutLabels);
}

void IniReaderTest::insertSectionPhrase_storesShadowsAndNullLabels()
{
    insertSectionPhrase(QStringLiteral("Ёлка"), QString(), QStringLiteral("KW"), 3, 4);
    QSqlQuery query(QStringLiteral("SELECT Str, StrLower, Labels IS NULL, KeyLower, Rating, Frequency FROM TypeText"));
    QVERIFY(query.next());
    QCOMPARE(query.value(0).toString(), QStringLiteral("Ёлка"));
    QCOMPARE(query.value(1).toString(), QStringLiteral("ёлка"));
    QCOMPARE(query.value(2).toInt(), 1);
    QCOMPARE(query.value(3).toString(), QStringLiteral("kw"));
    QCOMPARE(query.value(4).toInt(), 3);
    QCOMPARE(query.value(5).toInt(), 4);
}

QTEST_GUILESS_MAIN(IniReaderTest)
#include "tst_inireader.moc"
