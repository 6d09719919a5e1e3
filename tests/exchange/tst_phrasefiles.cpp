#include "../common/phrasedatabase.h"
#include "../common/testhome.h"
#include "exchange/inireader.h"
#include "exchange/phrasefilenames.h"
#include "exchange/phrasewriters.h"
#include "exchange/txtreader.h"

#include <QDir>
#include <QProcess>
#include <QSettings>
#include <QSqlQuery>
#include <QTest>
#include <QTextCodec>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

// The stored phrases in insertion order as lines "Str|Labels|KeyWord|Html|Rating|Frequency"; a NULL
// KeyWord or Html, which no reader may store, empties the whole line.
static QByteArrayList storedPhrases()
{
    QByteArrayList rows;
    QSqlQuery query(QStringLiteral("SELECT ifnull(Str, '<NULL>') || '|' || ifnull(Labels, '<NULL>') || '|' || KeyWord "
                                   "|| '|' || Html || '|' || Rating || '|' || Frequency FROM TypeText ORDER BY id"));
    while (query.next())
        rows << query.value(0).toString().toUtf8();
    return rows;
}

static bool writeBytes(const QString &fileName, const QByteArray &bytes)
{
    QFile file(fileName);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

static QByteArray readBytes(const QString &fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<cannot open>");
}

// Reading, writing and naming both phrase file formats.
class PhraseFilesTest : public QObject
{
    Q_OBJECT

    TestHome home;
    const QDir dir{home.path()};

private slots:
    void initTestCase()
    {
        QSqlDatabase::addDatabase(QStringLiteral("QSQLITE")).setDatabaseName(QStringLiteral(":memory:"));
        QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("pipe"))).constData(), 0600), 0);
    }
    // The program's template, with one phrase already there that every import must leave alone.
    void init()
    {
        QSqlDatabase db = QSqlDatabase::database();
        db.close();
        QVERIFY(db.open() && PhraseDatabase::build(db));
        QVERIFY(QSqlQuery().exec(QStringLiteral("INSERT INTO TypeText (Str, StrLower) VALUES ('kept', 'kept')")));
    }

    void import_readsPhrases_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArrayList>("expected");
        const auto add = [](const char *suffix, const char *name, const QByteArray &bytes, const QByteArrayList &rows) {
            QTest::addRow("%s: %s", suffix, name) << QStringLiteral("a.") + QLatin1String(suffix) << bytes << rows;
        };
        const auto encoded = [](const char *codec, const char *text) {
            return QTextCodec::codecForName(codec)->fromUnicode(QString::fromUtf8(text));
        };

        add("txt", "CR LF, LF, lone CR, four fields give count 0, short record at the end",
            "a\rB\tb\tc\t7\r\nd\te\tf\t3\t4\nx\ty", {"a\nB|b|c||7|0", "d|e|f||3|4", "x|y|||0|0"});
        // Enough records of a length prime to any read size for some CR LF to be split between two reads.
        QByteArrayList split;
        for (int i = 0; i < 70000; ++i)
            split << "xyz\nz||||0|0";
        add("txt", "CR alone after every record, CR LF within phrases split between reads",
            QByteArray("xyz\r\nz\t\t\t0\t0\r").repeated(split.size()), split);
        add("txt", "multi-line phrase, UTF-8, blank lines skipped but a trailing one is an empty phrase",
            "\n\nОдин\r\ntwo\nthree\tМЕТКА\tКлюч\t5\t6\r\n\r\n", {"Один\ntwo\nthree|МЕТКА|Ключ||5|6", "||||0|0"});
        add("txt", "UTF-16 LE BOM", encoded("UTF-16LE", "\uFEFFПРИВЕТ\tМЕТКА\t\t3\t4\r\n"), {"ПРИВЕТ|МЕТКА|||3|4"});

        add("ini", "UTF-8 BOM, CR LF, comments, names in any case, a later key wins",
            "\xEF\xBB\xBF[row0]\r\nstr=a ; note\r\n; note\nLABELS=b\nhtml=<b>x</b>\nKEYWORD=k\nrating=3\nfrequency=4\n"
            "[ROW1]\nStr=x\nStr=B\nFREQUENCY=5\n",
            {"a|b|k|<b>x</b>|3|4", "B||||0|5"});
        add("ini", "blanks trimmed unless quoted or escaped, unquoted comma makes a list read as no text",
            "[Row0]\nStr=a, b\n  Html  =   a b  \nLabels= \" c, d \" \nKeyWord=k\\t\\x20 \nRating=1,2\n",
            {"| c, d |k\t |a b|0|0"});
        add("ini", "a keyword alone is a phrase, a group without keys ends the list",
            "[Row0]\nKeyWord=k\n[Row1]\nStr=b\n[Row2]\n[Row3]\nStr=d\n", {"||k||0|0", "b||||0|0"});

        // The section form: Windows-1251 with CR CR LF line ends; a ';' line continues the phrase.
        add("ini", "sections", encoded("Windows-1251", "[Дом]\r\r\nПР=Привет, Мир\r\r\n;там\r\r\nbye=Пока\r\r\n"),
            {"Привет, Мир\n;там|Дом|ПР||0|0", "Пока|Дом|bye||0|0"});
        add("ini", "sections: odd lines",
            "k=v\r\r\n[S]\r\r\nlost\r\r\n  key = text  \r\r\n\r\r\n[T\r\r\nk==v\r\r\n[[x]y\r\r\n=\r\r\n",
            {"v|<NULL>|k||0|0", " text\n|S|key ||0|0", "=v|T|k||0|0", "|[x|||0|0"});
        // Ten megabytes on one line must take no time out of proportion.
        add("txt", "huge line of TABs", QByteArray(10 << 20, '\t'), {"||||0|0"});
        add("ini", "huge line of brackets", QByteArray(10 << 20, '['), {});
    }

    void import_readsPhrases()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArrayList, expected);
        const QString fileName = dir.filePath(name);
        QVERIFY(writeBytes(fileName, bytes));
        QCOMPARE(name.endsWith(QLatin1String(".ini")) ? importIni(fileName) : importTxt(fileName), expected.size());
        QCOMPARE(storedPhrases(), QByteArrayList{"kept||||0|0"} + expected);
    }

    void import_refusedPhrase_keepsNothing_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("message");
        // A full disk part way: SQLite ends the transaction itself.
        QTest::newRow("third phrase refused")
            << QStringLiteral("CREATE TRIGGER full BEFORE INSERT ON TypeText WHEN NEW.Str = 'three' "
                              "BEGIN SELECT RAISE(ROLLBACK, 'database or disk is full'); END")
            << QStringLiteral("3 phrase(s) were read, none of them was stored: database or disk is full");
        // A deferred foreign key fails only at COMMIT, after every phrase went in.
        QTest::newRow("commit refused")
            << QStringLiteral("PRAGMA foreign_keys = ON\n"
                              "CREATE TABLE child (id REFERENCES TypeText(id) DEFERRABLE INITIALLY DEFERRED)\n"
                              "CREATE TRIGGER orphan AFTER INSERT ON TypeText BEGIN INSERT INTO child VALUES (-1); END")
            << QStringLiteral("4 phrase(s) were read, none of them was stored: FOREIGN KEY constraint failed");
        // SQLite tells a table out of ids as it tells a full disk.
        QTest::newRow("ids used up") << QStringLiteral("INSERT INTO TypeText (id) VALUES (9223372036854775807)\n"
                                                       "DELETE FROM TypeText WHERE id = 9223372036854775807")
                                     << QStringLiteral("1 phrase(s) were read, none of them was stored: no id is left");
    }

    void import_refusedPhrase_keepsNothing()
    {
        QFETCH(QString, setup);
        QFETCH(QString, message);
        for (const QString &statement : setup.split(QLatin1Char('\n')))
            QVERIFY2(QSqlQuery().exec(statement), qPrintable(statement));
        const QString fileName = dir.filePath(QStringLiteral("four.txt"));
        QVERIFY(writeBytes(fileName, "one\t\t\t0\t0\r\ntwo\t\t\t0\t0\r\nthree\t\t\t0\t0\r\nfour\t\t\t0\t0\r\n"));
        ImportReport report;
        QCOMPARE(importTxt(fileName, &report), 0);
        QVERIFY2(report.error.startsWith(message), qPrintable(report.error));
        QCOMPARE(storedPhrases(), QByteArrayList{"kept||||0|0"});
        QVERIFY(QSqlDatabase::database().transaction()); // none left open
    }

    // Neither reader opens what is not a regular file: a FIFO would keep it waiting for a writer.
    void import_refusesWhatIsNotAFile()
    {
        const QString pipe = dir.filePath(QStringLiteral("pipe"));
        for (const bool ini : {false, true}) {
            // A writer, so that a reader that opens the FIFO all the same fails here instead of waiting for ever.
            QProcess writer;
            writer.start(QStringLiteral("sh"),
                         {QStringLiteral("-c"), QStringLiteral("printf 'x\\r\\n' > \"$0\""), pipe});
            ImportReport report;
            const int n = ini ? importIni(pipe, &report) : importTxt(pipe, &report);
            writer.kill();
            writer.waitForFinished();
            QCOMPARE(n, -1);
            QVERIFY2(report.error.contains(QLatin1String("FIFO")), qPrintable(report.error));
        }
    }

    // A phrase the text form cannot carry is written all the same and counted; every other one reads back as it was.
    void writeTxt_countsPhrasesNotReadBackWhole_data()
    {
        QTest::addColumn<QString>("str");
        QTest::addColumn<QString>("labels");
        QTest::addColumn<QString>("keyWord");
        QTest::addColumn<bool>("whole");
        const auto add = [](const char *row, const QString &str, const char *labels, const char *keyWord, bool whole) {
            QTest::newRow(row) << str << QString::fromUtf8(labels) << QString::fromUtf8(keyWord) << whole;
        };
        add("LF in every field", QStringLiteral("a\nb"), "\nl\n", "k\n", true);
        add("TAB in the labels", QStringLiteral("a"), "l\tm", "k", false);
        add("lone CR in the keyword", QStringLiteral("a"), "", "k\rx", false);
        add("text starting with LF", QStringLiteral("\na"), "", "", false);
        add("byte-order mark opening the file", QStringLiteral("\uFEFFa"), "", "", false);
    }

    void writeTxt_countsPhrasesNotReadBackWhole()
    {
        QFETCH(QString, str);
        QFETCH(QString, labels);
        QFETCH(QString, keyWord);
        QFETCH(bool, whole);
        const QString fileName = dir.filePath(QStringLiteral("whole.txt"));
        int notWhole = -1;
        QVERIFY(writeTxtPhrases(fileName, {{str, labels, keyWord, {}, {}, 1, 2}}, nullptr, &notWhole));
        QCOMPARE(notWhole, whole ? 0 : 1);
        QVERIFY(importTxt(fileName) > 0);
        QCOMPARE(storedPhrases().value(1) == str.toUtf8() + '|' + labels.toUtf8() + '|' + keyWord.toUtf8() + "||1|2",
                 whole);
    }

    void writeIni_agreesWithQSettings_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("comma, semicolon, equals") << QStringLiteral("a, b; c = d");
        QTest::newRow("blanks at both ends") << QStringLiteral("  padded  ");
        QTest::newRow("TAB, line breaks, quotes, backslashes")
            << QStringLiteral("\tone\ttwo\nbreak\r\nCR\r[Row5] \"quoted\" back\\slash \\n \\x41");
        // An escaped control character must not swallow the hex digit after it.
        QTest::newRow("NUL, control before hex digit")
            << QStringLiteral("\u0001ab\u001fF\u00029 ") + QChar(0) + QStringLiteral("1");
        // A byte-order mark right after an escape, where a chunk-wise decoder would take it for one.
        QTest::newRow("at Variant, Cyrillic, DEL, outside the BMP, byte-order mark")
            << QStringLiteral("@Variant(Съешь ümlaut € \x7f 😀 𝄞 x\n") + QChar(0xFEFF) + QStringLiteral("f)");
    }

    // Eleven groups, so that a reader taking the groups in QSettings' order (Row10 before Row2) goes wrong.
    // Phrases with empty texts must not end the list, and no group of a longer, older file may survive.
    void writeIni_agreesWithQSettings()
    {
        QFETCH(QString, value);
        const QString fileName = dir.filePath(QStringLiteral("agree.ini"));
        QVERIFY(writeIniPhrases(fileName, QVector<PhraseRecord>(20, {QStringLiteral("old")})));
        QVector<PhraseRecord> rows(11, {{}, {}, {}, {}, {}, 1, 2});
        rows[0] = {value, value, value, {}, value, -7, 8};
        QVERIFY(writeIniPhrases(fileName, rows));
        QCOMPARE(importIni(fileName), rows.size());
        const QByteArray text = value.toUtf8();
        QCOMPARE(storedPhrases().value(1), text + '|' + text + '|' + text + '|' + text + "|-7|8");

        QSettings settings(fileName, QSettings::IniFormat);
        settings.setIniCodec("UTF-8");
        QCOMPARE(settings.value(QStringLiteral("Row0/Str")).toString(), value);
    }

    // A disk that fills up part way must not cost the user the file that was there, here one in the
    // plain-text form: UTF-8, CR LF after every record, line breaks in a phrase as they are.
    void write_failing_keepsOldFile()
    {
        const QString fileName = dir.filePath(QStringLiteral("phrases.txt"));
        QVERIFY(
            writeTxtPhrases(fileName, {{QStringLiteral("a\nb"), QStringLiteral("Ä"), QStringLiteral("k"), {}, {}, 1, 2},
                                       {QStringLiteral("Съешь 😀"), {}, {}, {}, QStringLiteral("<b>html</b>"), -3}}));
        const QByteArray old("a\nb\tÄ\tk\t1\t2\r\nСъешь 😀\t\t\t-3\t0\r\n");
        QCOMPARE(readBytes(fileName), old);
        rlimit before, limit;
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &before), 0);
        limit = {256 * 1024, before.rlim_max};
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &limit), 0);
        QString error;
        const bool written = writeTxtPhrases(
            fileName, QVector<PhraseRecord>(3000, PhraseRecord{QString(1000, QLatin1Char('x'))}), &error);
        setrlimit(RLIMIT_FSIZE, &before);
        std::signal(SIGXFSZ, oldHandler);

        QVERIFY(!written);
        QVERIFY2(error.contains(QDir::toNativeSeparators(fileName)), qPrintable(error));
        QVERIFY2(!error.contains(QLatin1String("Unknown error")), qPrintable(error));
        QCOMPARE(readBytes(fileName), old);
    }

    // An import takes its format from the name chosen, an export from the filter chosen.
    void fileName_givesFileAndFormat_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("ini");
        const auto add = [](const char *filter, const char *chosen, const char *file, bool ini) {
            QTest::addRow("%s %s", filter, chosen)
                << QString::fromUtf8(filter) << QString::fromUtf8(chosen) << QString::fromUtf8(file) << ini;
        };
        QVERIFY(writeBytes(dir.filePath(QStringLiteral("notes")), {})); // x.ini/notes does not exist
        add("import", "pipe", "pipe", false);                           // for the reader to refuse by its own name
        add("import", "a.INI", "a.INI", true);
        add("import", "a.ini.txt", "a.ini.txt", false);
        add("import", "x.ini/notes", "x.ini/notes.txt", false);
        add("import", "notes", "notes", false);
        add("*.txt ", "out.ini", "out.ini.txt", false);
        add(" *.ini", "out.txt", "out.txt.ini", true);
        add(" *.INI", "out.Ini", "out.Ini", true);
    }

    void fileName_givesFileAndFormat()
    {
        QFETCH(QString, filter);
        QFETCH(QString, chosen);
        const QString path = dir.filePath(chosen);
        const bool import = filter == QLatin1String("import");
        const bool ini = import ? isIniImportName(path) : isIniExportFilter(filter);
        const QString file = !import ? exportName(path, ini) : ini ? path : txtImportName(path);
        QTEST(ini, "ini");
        QTEST(dir.relativeFilePath(file), "file");
        if (import && !ini && !QFile::exists(file)) { // a completed name need not exist
            ImportReport report;
            QCOMPARE(importTxt(file, &report), -1);
            QVERIFY2(report.error.contains(QDir::toNativeSeparators(file)), qPrintable(report.error));
        }
    }
};

QTEST_GUILESS_MAIN(PhraseFilesTest)
#include "tst_phrasefiles.moc"
