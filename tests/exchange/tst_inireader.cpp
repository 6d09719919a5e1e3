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
    void iniPhrases_agreeWithQSettings_data();
    void iniPhrases_agreeWithQSettings();
    void writeIniPhrases_replacesWholeFileAndKeepsEmptyGroups();
    void importIni_readsBothForms_data();
    void importIni_readsBothForms();
    void insertSectionPhrase_storesShadowsAndNullLabels();

private:
    QString filePath() const { return dir.filePath(QStringLiteral("phrases.ini")); }
    QTemporaryDir dir;
};

void IniReaderTest::init()
{
    QString error;
    QVERIFY2(openPhraseDatabase(QStringLiteral(":memory:"), &error), qPrintable(error));
}

void IniReaderTest::cleanup()
{
    closePhraseDatabase();
}

static PhraseFileRow row(const char *str, const char *labels = "", const char *keyWord = "", int rating = 0,
                         int frequency = 0, const char *html = "")
{
    return phrase(QString::fromUtf8(str), QString::fromUtf8(labels), QString::fromUtf8(keyWord), rating, frequency,
                  QString::fromUtf8(html));
}

static int storedWithoutLabels()
{
    QSqlQuery query(QStringLiteral("SELECT count(*) FROM TypeText WHERE Labels IS NULL"));
    return query.next() ? query.value(0).toInt() : -1;
}

void IniReaderTest::iniPhrases_agreeWithQSettings_data()
{
    QTest::addColumn<QString>("value");

    QTest::newRow("comma semicolon equals") << QStringLiteral("a, b; c = d");
    QTest::newRow("blanks at both ends") << QStringLiteral("  padded  ");
    QTest::newRow("TAB and line breaks") << QStringLiteral("\tone\ttwo\nbreak\r\nand CR\r");
    QTest::newRow("quotes and backslashes") << QStringLiteral("\"quoted\" back\\slash \\n \\x41");
    QTest::newRow("NUL") << QStringLiteral("nul ") + QChar(0) + QStringLiteral("1 byte");
    // An escaped control character must not swallow the hex digit after it.
    QTest::newRow("control before hex digit") << QStringLiteral("\u0001ab\u001fF\u00029");
    QTest::newRow("at Variant") << QStringLiteral("@Variant(x)");
    QTest::newRow("Cyrillic, Latin-1 and DEL") << QStringLiteral("Съешь ümlaut € \x7f");
    QTest::newRow("outside the BMP") << QStringLiteral("emoji 😀 and 𝄞");
    // Right after an escape, where a chunk-wise decoder would take it for a byte-order mark.
    QTest::newRow("byte-order mark character") << QStringLiteral("x\n") + QChar(0xFEFF) + QStringLiteral("f");
    QTest::newRow("group header inside") << QStringLiteral("x\n[Row5]\nStr=injected");
    QTest::newRow("empty") << QString();
}

void IniReaderTest::iniPhrases_agreeWithQSettings()
{
    QFETCH(QString, value);
    const QVector<PhraseFileRow> rows{phrase(value, value, value, -7, 8, value), row("after", "", "", 1, 2)};
    QString error;
    QVERIFY2(writeIniPhrases(filePath(), rows, &error), qPrintable(error));
    QCOMPARE(importIni(filePath()), 2);
    bool shadowsOk = false;
    QCOMPARE(storedPhrases(&shadowsOk), rows);
    QVERIFY(shadowsOk);

    // The format is QSettings': QSettings must read back every value, and a file it
    // has rewritten in its own way must import the same.
    QSettings settings(filePath(), QSettings::IniFormat);
    settings.setIniCodec("UTF-8");
    QCOMPARE(settings.status(), QSettings::NoError);
    QCOMPARE(settings.childGroups(), QStringList({QStringLiteral("Row0"), QStringLiteral("Row1")}));
    for (const char *key : {"Str", "Labels", "Html", "KeyWord"})
        QCOMPARE(settings.value(QStringLiteral("Row0/") + QLatin1String(key)).toString(), value);
    QCOMPARE(settings.value(QStringLiteral("Row0/Rating")).toInt(), -7);
    QCOMPARE(settings.value(QStringLiteral("Row0/Frequency")).toInt(), 8);
    for (const QChar ch : value) {
        if (ch.isSurrogate() || ch.unicode() == 0xFEFF)
            QSKIP("QSettings itself loses this character when writing; our own file was read back");
    }
    settings.setValue(QStringLiteral("Row1/Str"), QStringLiteral("again"));
    settings.sync();
    QCOMPARE(settings.status(), QSettings::NoError);
    QCOMPARE(importIni(filePath()), 2);
    QCOMPARE(storedPhrases().mid(2), QVector<PhraseFileRow>({rows[0], row("again", "", "", 1, 2)}));
}

// A shorter export must not leave old groups behind, and a group whose texts are all
// empty must not end the list.
void IniReaderTest::writeIniPhrases_replacesWholeFileAndKeepsEmptyGroups()
{
    QVERIFY(writeIniPhrases(filePath(), QVector<PhraseFileRow>(6, row("old"))));
    const QVector<PhraseFileRow> rows{row("a"), row("", "", "kw", 3), row(""), row("d")};
    QVERIFY(writeIniPhrases(filePath(), rows));
    QCOMPARE(importIni(filePath()), 4);
    QCOMPARE(storedPhrases(), rows);
}

void IniReaderTest::importIni_readsBothForms_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QVector<PhraseFileRow>>("expected");
    QTest::addColumn<int>("withoutLabels");
    using Rows = QVector<PhraseFileRow>;

    QTest::newRow("key and group names in any case")
        << QByteArray("[row0]\nstr=a\nLABELS=b\nhtml=<b>x</b>\nKEYWORD=k\nrating=3\nfrequency=4\n[ROW1]\nStr=b\n"
                      "FREQUENCY=5\n")
        << Rows{row("a", "b", "k", 3, 4, "<b>x</b>"), row("b", "", "", 0, 5)} << 0;
    QTest::newRow("blanks trimmed unless quoted or escaped, unquoted comma makes a list read as no text")
        << QByteArray("[Row0]\nStr=a, b\n  Html  =   a b  \nLabels= \" c, d \" \nKeyWord=k\\t\\x20 \nRating=1,2\n")
        << Rows{row("", " c, d ", "k\t ", 0, 0, "a b")} << 0;
    QTest::newRow("a keyword alone is a phrase, a group without keys ends the list")
        << QByteArray("[Row0]\nKeyWord=k\n[Row1]\n[Row2]\nStr=c\n") << Rows{row("", "", "k")} << 0;
    QTest::newRow("not INI at all") << QByteArray("hello world\nthis is text\n") << Rows{} << 0;
    QTest::newRow("UTF-8 BOM and CR LF") << QByteArray("\xEF\xBB\xBF[Row0]\r\nStr=\xC3\xA4 \\\"q\\\"\r\n")
                                         << Rows{row("ä \"q\"")} << 0;

    // The section form: Windows-1251 with CR CR LF line ends.
    const auto cp1251 = [](const char *text) {
        return QTextCodec::codecForName("Windows-1251")->fromUnicode(QString::fromUtf8(text));
    };
    // A comment line is no comment here: it continues the phrase.
    QTest::newRow("greetings") << cp1251("[Приветствия]\r\r\nПР=Привет, Мир\r\r\n;там\r\r\nbye=Good bye\r\r\n")
                               << Rows{row("Привет, Мир\n;там", "Приветствия", "ПР"),
                                       row("Good bye", "Приветствия", "bye")}
                               << 0;
    QTest::newRow("blanks around the equals sign are kept, a blank line continues")
        << cp1251("[S]\r\r\n  key = text  \r\r\n\r\r\n") << Rows{row(" text\n", "S", "key ")} << 0;
    QTest::newRow("key line before the first section, lines before a section's first key are lost")
        << cp1251("k=v\r\r\n[S]\r\r\nlost\r\r\nk2=v2\r\r\n[T]\r\r\n") << Rows{row("v", "", "k"), row("v2", "S", "k2")}
        << 1;
}

void IniReaderTest::importIni_readsBothForms()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QVector<PhraseFileRow>, expected);
    QFETCH(int, withoutLabels);
    QVERIFY(writeBytes(filePath(), bytes));

    QCOMPARE(importIni(filePath()), expected.size());
    bool shadowsOk = false;
    QCOMPARE(storedPhrases(&shadowsOk), expected);
    QVERIFY(shadowsOk);
    QCOMPARE(storedWithoutLabels(), withoutLabels);
}

void IniReaderTest::insertSectionPhrase_storesShadowsAndNullLabels()
{
    insertSectionPhrase(QStringLiteral("Ёлка"), QString(), QStringLiteral("KW"), 3, 4);
    bool shadowsOk = false;
    QCOMPARE(storedPhrases(&shadowsOk), QVector<PhraseFileRow>{row("Ёлка", "", "KW", 3, 4)});
    QVERIFY(shadowsOk);
    QCOMPARE(storedWithoutLabels(), 1);
}

QTEST_GUILESS_MAIN(IniReaderTest)
#include "tst_inireader.moc"
