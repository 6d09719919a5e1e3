#include "../common/fifowatch.h"
#include "../common/filebytes.h"
#include "../common/phrasedatabase.h"
#include "../common/testhome.h"
#include "exchange/inireader.h"
#include "exchange/phrasefilenames.h"
#include "exchange/phrasewriters.h"
#include "exchange/txtreader.h"

#include <QtSql>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

Q_DECLARE_METATYPE(PhraseRecord)

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

// Reading, writing and naming both phrase file formats.
class PhraseFilesTest : public QObject
{
    Q_OBJECT

    TestHome home;
    const QDir dir{home.path()};
    // Named pipes, which no reader may open: one would wait for a writer. These come as one and leave, so that a
    // reader that opens one all the same reads an empty file instead of hanging the test.
    FifoWatch txtPipe{dir.filePath(QStringLiteral("pipe"))};
    FifoWatch iniPipe{dir.filePath(QStringLiteral("pipe.ini"))};

private slots:
    void initTestCase()
    {
        QSqlDatabase::addDatabase(QStringLiteral("QSQLITE")).setDatabaseName(QStringLiteral(":memory:"));
    }
    // The program's template, with one phrase already there that every import must leave alone.
    void init()
    {
        QSqlDatabase db = QSqlDatabase::database();
        db.close();
        QVERIFY(db.open() && PhraseDatabase::build(db));
        QVERIFY(QSqlQuery().exec(QStringLiteral("INSERT INTO TypeText (Str, StrLower) VALUES ('kept', 'kept')")));
    }

    // What a file holds is stored; a refused import stores nothing and says why.
    void import_storesWhatItReads_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes"); // null: no file is written
        QTest::addColumn<QByteArrayList>("setup");
        QTest::addColumn<int>("count");
        QTest::addColumn<QByteArrayList>("expected");
        QTest::addColumn<QString>("said");
        const auto add = [](const char *file, const char *name, const QByteArray &bytes, const QByteArrayList &rows) {
            QTest::addRow("%s: %s", file, name)
                << QString::fromUtf8(file) << bytes << QByteArrayList() << rows.size() << rows << QString();
        };
        const auto refuse = [](const char *row, const char *name, const QByteArrayList &setup, const char *said) {
            const QByteArray four("one\t\t\t0\t0\r\ntwo\t\t\t0\t0\r\nthree\t\t\t0\t0\r\nfour\t\t\t0\t0\r\n");
            QTest::newRow(row) << QString::fromUtf8(name) << (setup.isEmpty() ? QByteArray() : four) << setup
                               << (setup.isEmpty() ? -1 : 0) << QByteArrayList() << QString::fromUtf8(said);
        };
        const auto encoded = [](const char *codec, const char *text) {
            return QTextCodec::codecForName(codec)->fromUnicode(QString::fromUtf8(text));
        };

        add("a.txt", "CR LF, LF, lone CR, four fields give count 0, short record at the end",
            "a\rB\tb\tc\t7\r\nd\te\tf\t3\t4\nx\ty", {"a\nB|b|c||7|0", "d|e|f||3|4", "x|y|||0|0"});
        // Enough records of a length prime to any read size for some CR LF to be split between two reads.
        const QByteArrayList split = QVector<QByteArray>(70000, "xyz\nz||||0|0").toList();
        add("a.txt", "CR alone after every record, CR LF within phrases split between reads",
            QByteArray("xyz\r\nz\t\t\t0\t0\r").repeated(split.size()), split);
        add("a.txt", "multi-line phrase, UTF-8, blank lines skipped but a trailing one is an empty phrase",
            "\n\nОдин\r\ntwo\nthree\tМЕТКА\tКлюч\t5\t6\r\n\r\n", {"Один\ntwo\nthree|МЕТКА|Ключ||5|6", "||||0|0"});
        add("a.ini.txt", "UTF-16 LE BOM, an inner dot", encoded("UTF-16LE", "\uFEFFПРИВЕТ\tМЕТКА\t\t3\t4\r\n"),
            {"ПРИВЕТ|МЕТКА|||3|4"});

        add("a.ini", "UTF-8 BOM, CR LF, comments, names in any case, a later key wins",
            "\xEF\xBB\xBF[row0]\r\nstr=a ; note\r\n; note\nLABELS=b\nhtml=<b>x</b>\nKEYWORD=k\nrating=3\nfrequency=4\n"
            "[ROW1]\nStr=x\nStr=B\nFREQUENCY=5\n",
            {"a|b|k|<b>x</b>|3|4", "B||||0|5"});
        add("a.ini", "blanks trimmed unless quoted or escaped, unquoted comma makes a list read as no text",
            "[Row0]\nStr=a, b\n  Html  =   a b  \nLabels= \" c, d \" \nKeyWord=k\\t\\x20 \nRating=1,2\n",
            {"| c, d |k\t |a b|0|0"});
        add("a.ini", "a keyword alone is a phrase, a group without keys ends the list",
            "[Row0]\nKeyWord=k\n[Row1]\nStr=b\n[Row2]\n[Row3]\nStr=d\n", {"||k||0|0", "b||||0|0"});

        // The section form: Windows-1251 with CR CR LF line ends; a ';' line continues the phrase.
        add("a.ini", "sections", encoded("Windows-1251", "[Дом]\r\r\nПР=Привет, Мир\r\r\n;там\r\r\nbye=Пока\r\r\n"),
            {"Привет, Мир\n;там|Дом|ПР||0|0", "Пока|Дом|bye||0|0"});
        add("A.INI", "sections: odd lines",
            "k=v\r\r\n[S]\r\r\nlost\r\r\n  key = text  \r\r\n\r\r\n[T\r\r\nk==v\r\r\n[[x]y\r\r\n=\r\r\n",
            {"v|<NULL>|k||0|0", " text\n|S|key ||0|0", "=v|T|k||0|0", "|[x|||0|0"});
        // Ten megabytes on one line must take no time out of proportion.
        add("a.txt", "huge line of TABs", QByteArray(10 << 20, '\t'), {"||||0|0"});
        add("a.ini", "huge line of brackets", QByteArray(10 << 20, '['), {});

        // A full disk part way: SQLite ends the transaction itself.
        refuse("third phrase refused", "four.txt",
               {"CREATE TRIGGER full BEFORE INSERT ON TypeText WHEN NEW.Str = 'three' "
                "BEGIN SELECT RAISE(ROLLBACK, 'database or disk is full'); END"},
               "3 phrase(s) were read, none of them was stored: database or disk is full");
        // A deferred foreign key fails only at COMMIT, after every phrase went in.
        refuse("commit refused", "four.txt",
               {"PRAGMA foreign_keys = ON",
                "CREATE TABLE child (id REFERENCES TypeText(id) DEFERRABLE INITIALLY DEFERRED)",
                "CREATE TRIGGER orphan AFTER INSERT ON TypeText BEGIN INSERT INTO child VALUES (-1); END"},
               "4 phrase(s) were read, none of them was stored: FOREIGN KEY constraint failed");
        // SQLite tells a table out of ids as it tells a full disk.
        refuse("ids used up", "four.txt",
               {"INSERT INTO TypeText (id) VALUES (9223372036854775807)",
                "DELETE FROM TypeText WHERE id = 9223372036854775807"},
               "1 phrase(s) were read, none of them was stored: no id is left");
        refuse("FIFO as TXT, taken by its own name", "pipe", {}, "FIFO");
        refuse("FIFO as INI", "pipe.ini", {}, "FIFO");
        refuse("missing file, completed in a folder named like INI", "x.ini/notes", {},
               QDir::toNativeSeparators(dir.filePath(QStringLiteral("x.ini/notes.txt"))).toUtf8().constData());
    }

    void import_storesWhatItReads()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArrayList, setup);
        QFETCH(QByteArrayList, expected);
        QFETCH(QString, said);
        for (const QByteArray &statement : setup)
            QVERIFY2(QSqlQuery().exec(QString::fromUtf8(statement)), statement.constData());
        const QString path = dir.filePath(name);
        QVERIFY(bytes.isNull() || writeFile(path, bytes));
        // The format and the file follow the name chosen: a plain-text one may leave its extension out.
        const bool ini = importFormat(path) == PhraseFormat::Ini;
        const QString fileName = ini ? path : txtImportName(path);
        ImportReport report;
        QTEST(ini ? importIni(fileName, &report) : importTxt(fileName, &report), "count");
        QVERIFY2(said.isEmpty() ? report.error.isEmpty() : report.error.contains(said), qPrintable(report.error));
        QCOMPARE(storedPhrases(), QByteArrayList{"kept||||0|0"} + expected);
        QVERIFY(QSqlDatabase::database().transaction()); // none left open
    }

    // A phrase the text form cannot carry is written all the same and counted; every other one reads back as it was.
    void write_readsBack_data()
    {
        QTest::addColumn<bool>("ini");
        QTest::addColumn<PhraseRecord>("phrase"); // the text form carries no rich text
        QTest::addColumn<bool>("whole");
        const auto txt = [](const char *row, const QString &str, const char *labels, const char *keyWord, bool whole) {
            const PhraseRecord phrase{str, QString::fromUtf8(labels), QString::fromUtf8(keyWord), {}, {}, -7, 8};
            QTest::addRow("txt: %s", row) << false << phrase << whole;
        };
        const auto ini = [](const char *row, const QString &text) {
            QTest::addRow("ini: %s", row) << true << PhraseRecord{text, text, text, {}, text, -7, 8} << true;
        };
        txt("LF in every field", QStringLiteral("a\nb"), "\nl\n", "k\n", true);
        txt("TAB in the labels", QStringLiteral("a"), "l\tm", "k", false);
        txt("lone CR in the keyword", QStringLiteral("a"), "", "k\rx", false);
        txt("text starting with LF", QStringLiteral("\na"), "", "", false);
        txt("byte-order mark opening the file", QStringLiteral("\uFEFFa"), "", "", false);
        ini("comma, semicolon, equals", QStringLiteral("a, b; c = d"));
        ini("blanks at both ends", QStringLiteral("  padded  "));
        ini("TAB, line breaks, quotes, backslashes",
            QStringLiteral("\tone\ttwo\nbreak\r\nCR\r[Row5] \"quoted\" back\\slash \\n \\x41"));
        // An escaped control character must not swallow the hex digit after it.
        ini("NUL, control before hex digit",
            QStringLiteral("\u0001ab\u001fF\u00029 ") + QChar(0) + QStringLiteral("1"));
        // A byte-order mark right after an escape, where a chunk-wise decoder would take it for one.
        ini("at Variant, Cyrillic, DEL, outside the BMP, byte-order mark",
            QStringLiteral("@Variant(Съешь ümlaut € \x7f 😀 𝄞 x\n") + QChar(0xFEFF) + QStringLiteral("f)"));
    }

    // Eleven phrases, so that a reader taking the INI groups in QSettings' order (Row10 before Row2) goes wrong.
    // Phrases with empty texts must not end the list, and nothing of a longer, older file may survive.
    void write_readsBack()
    {
        QFETCH(bool, ini);
        QFETCH(PhraseRecord, phrase);
        QFETCH(bool, whole);
        const QString fileName = dir.filePath(ini ? QStringLiteral("back.ini") : QStringLiteral("back.txt"));
        QVector<PhraseRecord> rows(20, {QStringLiteral("old")});
        QVERIFY(ini ? writeIniPhrases(fileName, rows) : writeTxtPhrases(fileName, rows));
        rows.fill({{}, {}, {}, {}, {}, 1, 2}, 11);
        rows[0] = phrase;
        int notWhole = 0; // the INI form carries every phrase
        QVERIFY(ini ? writeIniPhrases(fileName, rows) : writeTxtPhrases(fileName, rows, nullptr, &notWhole));
        QCOMPARE(notWhole, whole ? 0 : 1);
        const int read = ini ? importIni(fileName) : importTxt(fileName);
        const QStringList fields{phrase.str, phrase.labels, phrase.keyWord, phrase.html};
        QCOMPARE(storedPhrases().value(1) == (fields.join(QLatin1Char('|')) + QLatin1String("|-7|8")).toUtf8(), whole);
        if (whole)
            QCOMPARE(read, rows.size());
        if (ini) {
            QSettings settings(fileName, QSettings::IniFormat);
            settings.setIniCodec("UTF-8");
            QCOMPARE(settings.value(QStringLiteral("Row0/Str")).toString(), phrase.str);
        }
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
        QCOMPARE(readFile(fileName), old);
        rlimit before;
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &before), 0);
        const rlimit limit{256 * 1024, before.rlim_max};
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &limit), 0);
        QString error;
        const bool written = writeTxtPhrases(
            fileName, QVector<PhraseRecord>(3000, PhraseRecord{QString(1000, QLatin1Char('x'))}), &error);
        setrlimit(RLIMIT_FSIZE, &before);
        std::signal(SIGXFSZ, oldHandler);

        QVERIFY(!written);
        QCOMPARE(error,
                 QStringLiteral("Cannot write file %1:\nFile too large.").arg(QDir::toNativeSeparators(fileName)));
        QCOMPARE(readFile(fileName), old);
    }

    // An export takes its format from the filter chosen, and the name chosen its extension.
    void exportName_followsFilter()
    {
        const auto name = [](const char *chosen, const char *filter) {
            return exportName(QString::fromUtf8(chosen), exportFormat(QString::fromUtf8(filter)));
        };
        QCOMPARE(name("out.ini", "Text (*.txt)"), QStringLiteral("out.ini.txt"));
        QCOMPARE(name("out.txt", "INI (*.ini)"), QStringLiteral("out.txt.ini"));
        QCOMPARE(name("out.Ini", "INI (*.INI)"), QStringLiteral("out.Ini"));
        QCOMPARE(name("team", "Databases (*.db)"), QStringLiteral("team.db"));
    }
};

QTEST_GUILESS_MAIN(PhraseFilesTest)
#include "tst_phrasefiles.moc"
