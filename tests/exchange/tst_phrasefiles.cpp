#include "../common/testhome.h"
#include "exchange/inireader.h"
#include "exchange/phrasefilenames.h"
#include "exchange/phrasewriters.h"
#include "exchange/txtreader.h"

#include <QDir>
#include <QProcess>
#include <QScopeGuard>
#include <QSettings>
#include <QSqlQuery>
#include <QTest>
#include <QTextCodec>

#include <algorithm>
#include <csignal>
#include <sys/resource.h>

// Reading, writing and naming both phrase file formats, on a table made from the program's template.
class PhraseFilesTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void import_readsPhrases_data();
    void import_readsPhrases();
    void import_failedCommit_keepsNothing();
    void import_refusedPhrase_keepsNothing();
    void fullDisk_importAndExportSayWhy();
    void writeTxt_writesCrLfUtf8_andReadsBack();
    void writeIni_agreesWithQSettings_data();
    void writeIni_agreesWithQSettings();
    void write_failing_keepsOldFile();
    void fileName_givesFileAndFormat_data();
    void fileName_givesFileAndFormat();

private:
    TestHome home;
    const QDir dir{home.path()};
};

// Phrases as lines "Str|Labels|KeyWord|Html|Rating|Frequency", so that a table can list the rows it expects.
static QByteArrayList describe(const QVector<PhraseFileRow> &rows)
{
    QByteArrayList lines;
    for (const PhraseFileRow &r : rows)
        lines << r.str.toUtf8() + '|' + r.labels.toUtf8() + '|' + r.keyWord.toUtf8() + '|' + r.html.toUtf8() + '|' +
                     QByteArray::number(r.rating) + '|' + QByteArray::number(r.frequency);
    return lines;
}

// The stored phrases in insertion order, read by column name. A NULL text reads
// "<NULL>", and lower-case shadows that do not match their texts mark the row.
static QByteArrayList storedPhrases()
{
    QByteArrayList rows;
    QSqlQuery query(QStringLiteral("SELECT * FROM TypeText ORDER BY id"));
    const auto text = [&query](const char *column) { return query.value(QLatin1String(column)).toString(); };
    while (query.next()) {
        QByteArray line;
        for (const char *column : {"Str", "Labels", "KeyWord", "Html", "Rating", "Frequency"})
            line += (query.isNull(QLatin1String(column)) ? QByteArray("<NULL>") : text(column).toUtf8()) + '|';
        line.chop(1);
        if (text("StrLower") != text("Str").toLower() || text("LabelLower") != text("Labels").toLower() ||
            text("KeyLower") != text("KeyWord").toLower())
            line += " <shadows differ>";
        rows << line;
    }
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

static int importFile(const QString &fileName)
{
    return fileName.endsWith(QLatin1String(".ini")) ? importIni(fileName) : importTxt(fileName);
}

static void openWithSchema(const QString &path)
{
    QSqlDatabase db = QSqlDatabase::database();
    db.close();
    db.setDatabaseName(path);
    QVERIFY(db.open());
    const QString schema = QString::fromUtf8(readBytes(QStringLiteral(QUILLARY_SCHEMA_SQL)));
    for (const QString &statement : schema.split(QStringLiteral(";\n")))
        QVERIFY2(statement.trimmed().isEmpty() || QSqlQuery(db).exec(statement), qPrintable(statement));
}

void PhraseFilesTest::init()
{
    QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
    openWithSchema(QStringLiteral(":memory:"));
}

void PhraseFilesTest::cleanup()
{
    QSqlDatabase::removeDatabase(QLatin1String(QSqlDatabase::defaultConnection));
}

void PhraseFilesTest::import_readsPhrases_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArrayList>("expected");
    const auto add = [](const char *suffix, const char *name, const QByteArray &bytes, const QByteArrayList &expected) {
        QTest::addRow("%s: %s", suffix, name) << QStringLiteral("a.") + QLatin1String(suffix) << bytes << expected;
    };
    const auto encoded = [](const char *codec, const char *text) {
        return QTextCodec::codecForName(codec)->fromUnicode(QString::fromUtf8(text));
    };

    add("txt", "CR LF, LF, four fields give count 0, short record at the end", "a\tb\tc\t7\r\nd\te\tf\t3\t4\nx\ty",
        {"a|b|c||7|0", "d|e|f||3|4", "x|y|||0|0"});
    add("txt", "multi-line phrase, UTF-8, blank lines skipped but a trailing one is an empty phrase",
        "\n\nОдин\r\ntwo\nthree\tМЕТКА\tКлюч\t5\t6\r\n\r\n", {"Один\ntwo\nthree|МЕТКА|Ключ||5|6", "||||0|0"});
    add("txt", "lone CR is text, TAB in a phrase shifts fields, bad number is 0", "a\rB\tcd\tl\tK\t1\t2\r\n",
        {"a\rB|cd|l||0|1"});
    add("txt", "empty file", "", {});
    add("txt", "UTF-16 LE BOM", encoded("UTF-16LE", "\uFEFFПРИВЕТ\tМЕТКА\t\t3\t4\r\n"), {"ПРИВЕТ|МЕТКА|||3|4"});

    add("ini", "UTF-8 BOM, CR LF, comments, names in any case",
        "\xEF\xBB\xBF[row0]\r\nstr=a ; note\r\n; note\nLABELS=b\nhtml=<b>x</b>\nKEYWORD=k\nrating=3\nfrequency=4\n"
        "[ROW1]\nStr=B\nFREQUENCY=5\n",
        {"a|b|k|<b>x</b>|3|4", "B||||0|5"});
    add("ini", "blanks trimmed unless quoted or escaped, unquoted comma makes a list read as no text",
        "[Row0]\nStr=a, b\n  Html  =   a b  \nLabels= \" c, d \" \nKeyWord=k\\t\\x20 \nRating=1,2\n",
        {"| c, d |k\t |a b|0|0"});
    add("ini", "escapes, quoted number, marks of other types",
        "[Row0]\nStr=\\a\\b\\f\\n\\r\\t\\v\\?\\'\\\"\\\\\\101\\x42\nRating=\"12\"\nFrequency=@Invalid()\n"
        "Labels=@ByteArray(b\\xc3\\xa4)\nHtml=@Rect(1 2 3 4)\nKeyWord=@@at\n",
        {"\a\b\f\n\r\t\v?'\"\\AB|bä|@at||12|0"});
    add("ini", "escaped group names, a later key wins",
        "[Row%30]\nStr=x\nStr=a\n[%52ow%U0031]\nStr=b\n[General]\nRow2\\Str=c\n", {"a||||0|0", "b||||0|0", "c||||0|0"});
    add("ini", "a keyword alone is a phrase, a group without keys ends the list",
        "[Row0]\nKeyWord=k\n[Row1]\n[Row2]\nStr=c\n", {"||k||0|0"});

    // The section form: Windows-1251 with CR CR LF line ends; a ';' line continues the phrase.
    add("ini", "sections", encoded("Windows-1251", "[Дом]\r\r\nПР=Привет, Мир\r\r\n;там\r\r\nbye=Пока\r\r\n"),
        {"Привет, Мир\n;там|Дом|ПР||0|0", "Пока|Дом|bye||0|0"});
    add("ini", "sections: odd lines",
        "k=v\r\r\n[S]\r\r\nlost\r\r\n  key = text  \r\r\n\r\r\n[T\r\r\nk==v\r\r\n[[x]y\r\r\n=\r\r\n",
        {"v|<NULL>|k||0|0", " text\n|S|key ||0|0", "=v|T|k||0|0", "|[x|||0|0"});
    // Ten megabytes on one line must take no time out of proportion.
    add("txt", "huge line of letters", QByteArray(10 << 20, 'x'), {QByteArray(10 << 20, 'x') + "||||0|0"});
    add("txt", "huge line of TABs", QByteArray(10 << 20, '\t'), {"||||0|0"});
    add("ini", "huge line of brackets", QByteArray(10 << 20, '['), {});
}

void PhraseFilesTest::import_readsPhrases()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArrayList, expected);
    QVERIFY(writeBytes(dir.filePath(name), bytes));
    QCOMPARE(importFile(dir.filePath(name)), expected.size());
    QCOMPARE(storedPhrases(), expected);
}

void PhraseFilesTest::import_failedCommit_keepsNothing()
{
    const QString fileName = dir.filePath(QStringLiteral("commit.ini"));
    QVERIFY(writeBytes(fileName, "[Row0]\nStr=one\n[Row1]\nStr=two\n"));
    // A deferred foreign key fails only at COMMIT, after every phrase went in.
    for (const char *sql : {"PRAGMA foreign_keys = ON", "CREATE TABLE parent (id INTEGER PRIMARY KEY)",
                            "CREATE TABLE child (pid INTEGER REFERENCES parent(id) DEFERRABLE INITIALLY DEFERRED)",
                            "CREATE TRIGGER orphan AFTER INSERT ON TypeText BEGIN INSERT INTO child VALUES (1); END"})
        QVERIFY2(QSqlQuery().exec(QLatin1String(sql)), sql);
    QVERIFY(importIni(fileName) <= 0);
    QCOMPARE(storedPhrases(), QByteArrayList());
    QVERIFY(QSqlDatabase::database().transaction()); // none left open
}

// A full disk part way: SQLite ends the transaction itself, and nothing may stay.
void PhraseFilesTest::import_refusedPhrase_keepsNothing()
{
    QVERIFY(QSqlQuery().exec(QStringLiteral("INSERT INTO TypeText (Str, StrLower) VALUES ('kept', 'kept')")));
    QVERIFY(QSqlQuery().exec(QStringLiteral("CREATE TRIGGER full BEFORE INSERT ON TypeText WHEN NEW.Str = 'three' "
                                            "BEGIN SELECT RAISE(ROLLBACK, 'database or disk is full'); END")));
    const QString fileName = dir.filePath(QStringLiteral("five.txt"));
    QVERIFY(writeBytes(fileName, "one\t\t\t0\t0\r\ntwo\t\t\t0\t0\r\nthree\t\t\t0\t0\r\nfour\t\t\t0\t0\r\n"));
    ImportReport report;
    QCOMPARE(importTxt(fileName, &report), 0);
    QVERIFY2(
        report.error.startsWith(QLatin1String("3 phrase(s) were read, none of them was stored: database or disk is "
                                              "full")),
        qPrintable(report.error));
    QCOMPARE(storedPhrases(), QByteArrayList{"kept||||0|0"});
}

// The real thing, where this machine lets the test mount a small file system.
void PhraseFilesTest::fullDisk_importAndExportSayWhy()
{
    const QString disk = dir.filePath(QStringLiteral("disk"));
    QVERIFY(QDir().mkpath(disk));
    if (QProcess::execute(QStringLiteral("mount"), {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                                                    QStringLiteral("size=256k"), QStringLiteral("tmpfs"), disk}) != 0)
        QSKIP("cannot mount a small file system here");
    const auto unmount = qScopeGuard([&disk] {
        QSqlDatabase::database().close();
        QProcess::execute(QStringLiteral("umount"), {disk});
    });
    openWithSchema(disk + QStringLiteral("/phrases.db"));
    QVERIFY(QSqlQuery().exec(QStringLiteral("INSERT INTO TypeText (Str, StrLower) VALUES ('kept', 'kept')")));
    const QString fileName = dir.filePath(QStringLiteral("many.txt"));
    QVERIFY(
        writeTxtPhrases(fileName, QVector<PhraseFileRow>(20000, PhraseFileRow{QStringLiteral("phrase").repeated(9)})));
    ImportReport report;
    QCOMPARE(importTxt(fileName, &report), 0);
    QVERIFY2(report.error.contains(QLatin1String("full")), qPrintable(report.error));
    QCOMPARE(storedPhrases(), QByteArrayList{"kept||||0|0"});

    QString error;
    QVERIFY(!writeTxtPhrases(disk + QStringLiteral("/out.txt"),
                             QVector<PhraseFileRow>(20000, PhraseFileRow{QStringLiteral("phrase").repeated(9)}),
                             &error));
    QVERIFY2(error.contains(QLatin1String("No space left")), qPrintable(error));
}

void PhraseFilesTest::writeTxt_writesCrLfUtf8_andReadsBack()
{
    const QVector<PhraseFileRow> rows{
        {QStringLiteral("a\nb"), QStringLiteral("Ä"), QStringLiteral("k"), {}, 1, 2},
        {QStringLiteral("c")},
        {QStringLiteral("Съешь 😀 = ; \" \\ %"), {}, QStringLiteral("Ключ"), {}, -3, 2147483647}};
    const QString fileName = dir.filePath(QStringLiteral("out.txt"));
    int next = 0;
    const auto source = [&](PhraseFileRow *out) { return next < rows.size() && (*out = rows[next++], true); };
    int written = -1;
    QVERIFY(writeTxtPhrases(fileName, source, &written));
    QCOMPARE(written, rows.size());
    QCOMPARE(readBytes(fileName),
             QByteArray("a\nb\tÄ\tk\t1\t2\r\nc\t\t\t0\t0\r\nСъешь 😀 = ; \" \\ %\t\tКлюч\t-3\t2147483647\r\n"));
    QCOMPARE(importTxt(fileName), rows.size());
    QCOMPARE(storedPhrases(), describe(rows));
}

void PhraseFilesTest::writeIni_agreesWithQSettings_data()
{
    QTest::addColumn<QString>("value");
    QTest::newRow("comma") << QStringLiteral("a, b");
    QTest::newRow("semicolon, equals") << QStringLiteral("a; b = c");
    QTest::newRow("blanks at both ends") << QStringLiteral("  padded  ");
    QTest::newRow("TAB, line breaks, quotes, backslashes")
        << QStringLiteral("\tone\ttwo\nbreak\r\nCR\r[Row5] \"quoted\" back\\slash \\n \\x41");
    // An escaped control character must not swallow the hex digit after it.
    QTest::newRow("NUL, control before hex digit")
        << QStringLiteral("\u0001ab\u001fF\u00029 ") + QChar(0) + QStringLiteral("1");
    QTest::newRow("at Variant, Cyrillic, Latin-1 and DEL") << QStringLiteral("@Variant(Съешь ümlaut € \x7f)");
    QTest::newRow("outside the BMP") << QStringLiteral("emoji 😀 and 𝄞");
    // Right after an escape, where a chunk-wise decoder would take it for a byte-order mark.
    QTest::newRow("byte-order mark character") << QStringLiteral("x\n") + QChar(0xFEFF) + QStringLiteral("f");
}

// Eleven groups, so that QSettings' own order (Row10 before Row2) comes into play. Phrases
// with empty texts must not end the list, and no group of a longer, older file may survive.
void PhraseFilesTest::writeIni_agreesWithQSettings()
{
    QFETCH(QString, value);
    const QString fileName = dir.filePath(QStringLiteral("agree.ini"));
    QVERIFY(writeIniPhrases(fileName, QVector<PhraseFileRow>(20, {QStringLiteral("old")})));
    QVector<PhraseFileRow> rows(11, {{}, {}, {}, {}, 1, 2});
    rows[0] = {value, value, value, value, -7, 8};
    QVERIFY(writeIniPhrases(fileName, rows));
    QCOMPARE(importIni(fileName), rows.size());
    QCOMPARE(storedPhrases(), describe(rows));

    // QSettings must read back every value, and a file it has rewritten must import the same.
    QSettings settings(fileName, QSettings::IniFormat);
    settings.setIniCodec("UTF-8");
    for (const char *key : {"Str", "Labels", "Html", "KeyWord"})
        QCOMPARE(settings.value(QStringLiteral("Row0/") + QLatin1String(key)).toString(), value);
    if (std::any_of(value.begin(), value.end(), [](QChar ch) { return ch.isSurrogate() || ch.unicode() == 0xFEFF; }))
        QSKIP("QSettings itself loses this character when writing; our own file was read back");
    settings.setValue(QStringLiteral("Row10/Str"), QStringLiteral("again"));
    settings.sync();
    rows[10].str = QStringLiteral("again");
    QCOMPARE(importIni(fileName), rows.size());
    QCOMPARE(storedPhrases().mid(rows.size()), describe(rows));
}

// A disk that fills up part way must not cost the user the file that was there.
void PhraseFilesTest::write_failing_keepsOldFile()
{
    const QString fileName = dir.filePath(QStringLiteral("phrases.txt"));
    QVERIFY(writeBytes(fileName, "old"));
    struct rlimit limit;
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &limit), 0);
    const struct rlimit before = limit;
    limit.rlim_cur = 256 * 1024;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &limit), 0);
    QString error;
    const bool written =
        writeTxtPhrases(fileName, QVector<PhraseFileRow>(3000, PhraseFileRow{QString(1000, QLatin1Char('x'))}), &error);
    setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, oldHandler);

    QVERIFY(!written);
    QVERIFY2(error.contains(QDir::toNativeSeparators(fileName)), qPrintable(error));
    QVERIFY2(!error.contains(QLatin1String("Unknown error")), qPrintable(error));
    QCOMPARE(readBytes(fileName), QByteArray("old"));
}

// An import takes its format from the name chosen, an export from the filter chosen.
void PhraseFilesTest::fileName_givesFileAndFormat_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("expected");
    const auto add = [](const char *filter, const char *chosen, const char *expected) {
        QTest::addRow("%s %s", filter, chosen)
            << QString::fromUtf8(filter) << QString::fromUtf8(chosen) << QString::fromUtf8(expected);
    };
    QVERIFY(writeBytes(dir.filePath(QStringLiteral("notes")), {})); // "other" does not exist
    add("import", "a.INI", "a.INI as INI");
    add("import", "a.ini.txt", "a.ini.txt as text");
    add("import", "x.ini/notes", "x.ini/notes.txt as text");
    add("import", "notes", "notes as text");
    add("import", "other", "other.txt as text");
    add("*.txt ", "out", "out.txt as text");
    add("*.txt ", "out.ini", "out.ini.txt as text");
    add(" *.ini", "out.txt", "out.txt.ini as INI");
    add(" *.INI", "out.Ini", "out.Ini as INI");
}

void PhraseFilesTest::fileName_givesFileAndFormat()
{
    QFETCH(QString, filter);
    QFETCH(QString, chosen);
    QFETCH(QString, expected);
    const QString path = dir.filePath(chosen);
    const bool import = filter == QLatin1String("import");
    const bool ini = import ? isIniImportName(path) : isIniExportFilter(filter);
    const QString file = !import ? exportName(path, ini) : ini ? path : txtImportName(path);
    QCOMPARE(QDir(dir.path()).relativeFilePath(file) + QLatin1String(ini ? " as INI" : " as text"), expected);
    if (import && !ini && !QFile::exists(file)) { // a completed name need not exist
        ImportReport report;
        QCOMPARE(importTxt(file, &report), -1);
        QVERIFY2(report.error.contains(QDir::toNativeSeparators(file)), qPrintable(report.error));
    }
}

QTEST_GUILESS_MAIN(PhraseFilesTest)
#include "tst_phrasefiles.moc"
