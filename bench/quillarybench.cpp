// quillary-bench [--phrases N] [--keep]
// Times importing, exporting and searching N generated phrases and sets each
// figure against a limit: the sqlite3 shell doing the same work on the same
// data, or a fixed goal where the shell has no counterpart. Prints one line per
// operation, "name ours_s limit_s ratio", and last the worst ratio.

#include "exchange/inireader.h"
#include "exchange/phrasewriters.h"
#include "exchange/txtreader.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QVariant>

#if __has_include("browser/searchcondition.h")
#include "browser/searchcondition.h"
#define QUILLARY_BENCH_SEARCH 1
#endif

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <limits>
#include <random>

namespace {
constexpr double exportGoal = 1.0;
constexpr double iniImportGoal = 3.0;
constexpr int repetitions = 3;

const char *const latinWords[] = {"lorem",    "ipsum",  "dolor",  "sit",     "amet",    "quick",    "brown",
                                  "fox",      "jumps",  "over",   "lazy",    "dog",     "Thank",    "you",
                                  "for",      "your",   "letter", "Regards", "meeting", "tomorrow", "invoice",
                                  "attached", "Please", "find",   "the",     "report",  "a",        "of"};
const char *const cyrillicWords[] = {"Привет",     "мир",     "спасибо", "за",     "письмо", "С",
                                     "уважением",  "встреча", "завтра",  "счёт",   "во",     "вложении",
                                     "Пожалуйста", "отчёт",   "Ёлка",    "быстрая"};
const char *const labelWords[] = {"work", "home", "letters", "answers", "Письма", "Работа", "signatures", "misc"};

struct Figure
{
    QString name;
    double ours;
    double limit; // negative when there is nothing to compare with
};

double seconds(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e9;
}

[[noreturn]] void die(const QString &message)
{
    std::fprintf(stderr, "quillary-bench: %s\n", qPrintable(message));
    std::exit(1);
}

// Fixed seed: every run times the same phrases.
QVector<PhraseFileRow> generatePhrases(int count)
{
    std::mt19937 random(20240607);
    const auto pick = [&random](int n) { return int(random() % unsigned(n)); };
    QVector<PhraseFileRow> rows;
    rows.reserve(count);
    for (int i = 0; i < count; ++i) {
        const bool cyrillic = pick(10) < 3;
        const int kind = pick(100);
        const int words = kind < 70 ? 2 + pick(11) : kind < 95 ? 20 + pick(61) : 200 + pick(401);
        const bool multiLine = pick(100) < 15;
        PhraseFileRow row;
        for (int w = 0; w < words; ++w) {
            if (w > 0)
                row.str += multiLine && pick(8) == 0 ? QLatin1Char('\n') : QLatin1Char(' ');
            row.str += cyrillic ? QString::fromUtf8(cyrillicWords[pick(std::size(cyrillicWords))])
                                : QLatin1String(latinWords[pick(std::size(latinWords))]);
        }
        const int labels = pick(4);
        for (int l = 0; l < labels; ++l) {
            if (l > 0)
                row.labels += QStringLiteral(", ");
            row.labels += QString::fromUtf8(labelWords[pick(std::size(labelWords))]);
        }
        if (pick(2) == 0)
            row.keyWord = QLatin1String(latinWords[pick(std::size(latinWords))]) + QString::number(pick(100));
        if (pick(2) == 0)
            row.html = QStringLiteral("<p>") + QString(row.str).replace(QLatin1Char('\n'), QStringLiteral("<br/>")) +
                       QStringLiteral("</p>");
        row.rating = pick(101);
        row.frequency = pick(500);
        rows.append(row);
    }
    return rows;
}

void openDatabase(const QString &templateDb, const QString &fileName)
{
    QFile::remove(fileName);
    if (!QFile::copy(templateDb, fileName))
        die(QStringLiteral("cannot copy %1 to %2").arg(templateDb, fileName));
    QSqlDatabase db = QSqlDatabase::database(QLatin1String(QSqlDatabase::defaultConnection), false);
    if (!db.isValid())
        db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
    db.close();
    db.setDatabaseName(fileName);
    if (!db.open())
        die(db.lastError().text());
}

template <typename Import>
double timeImport(const QString &templateDb, const QString &dbName, int expected, Import import)
{
    double best = std::numeric_limits<double>::max();
    for (int r = 0; r < 2; ++r) {
        openDatabase(templateDb, dbName);
        QElapsedTimer timer;
        timer.start();
        const int stored = import();
        best = std::min(best, seconds(timer));
        if (stored != expected)
            die(QStringLiteral("import stored %1 of %2 phrases").arg(stored).arg(expected));
    }
    return best;
}

template <typename Write> double timeExport(Write write)
{
    double best = std::numeric_limits<double>::max();
    for (int r = 0; r < repetitions; ++r) {
        QSqlQuery query(QSqlDatabase::database());
        query.setForwardOnly(true);
        QElapsedTimer timer;
        timer.start();
        if (!query.exec(
                QStringLiteral("SELECT Str, Labels, KeyWord, Html, Rating, Frequency FROM TypeText ORDER BY id")))
            die(query.lastError().text());
        QString error;
        const PhraseRowSource source = [&query](PhraseFileRow *row) {
            if (!query.next())
                return false;
            row->str = query.value(0).toString();
            row->labels = query.value(1).toString();
            row->keyWord = query.value(2).toString();
            row->html = query.value(3).toString();
            row->rating = query.value(4).toInt();
            row->frequency = query.value(5).toInt();
            return true;
        };
        if (!write(source, &error))
            die(error);
        best = std::min(best, seconds(timer));
    }
    return best;
}

class Shell
{
public:
    Shell()
        : program(QStandardPaths::findExecutable(QStringLiteral("sqlite3")))
    {}
    bool isAvailable() const { return !program.isEmpty(); }

    // Wall time of one shell run, its output in *output.
    double run(const QString &dbName, const QString &script, QByteArray *output = nullptr) const
    {
        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        QElapsedTimer timer;
        timer.start();
        process.start(program, {dbName});
        if (!process.waitForStarted())
            die(QStringLiteral("cannot start sqlite3"));
        process.write(script.toUtf8());
        process.closeWriteChannel();
        process.waitForFinished(-1);
        const double elapsed = seconds(timer);
        const QByteArray out = process.readAll();
        if (process.exitCode() != 0 || out.contains("Error") || out.contains("error"))
            die(QStringLiteral("sqlite3 failed: ") + QString::fromUtf8(out.left(500)));
        if (output)
            *output = out;
        return elapsed;
    }

private:
    QString program;
};

// The shell's bulk import: .import of the same rows through a view, one
// transaction. Its start-up is measured apart and taken off.
double shellImport(const Shell &shell, const QString &templateDb, const QDir &dir, const QVector<PhraseFileRow> &rows)
{
    // ASCII mode separates with 0x1F and 0x1E, so TABs and line breaks need no quoting.
    const QString dataName = dir.filePath(QStringLiteral("shell-import.dat"));
    {
        QByteArray data;
        for (const PhraseFileRow &row : rows) {
            const QString fields[] = {row.str,
                                      row.labels,
                                      row.keyWord,
                                      row.str.toLower(),
                                      row.labels.toLower(),
                                      row.keyWord.toLower(),
                                      QString(),
                                      QString::number(row.rating),
                                      QString::number(row.frequency)};
            for (int f = 0; f < 9; ++f) {
                data += fields[f].toUtf8();
                data += f < 8 ? '\x1f' : '\x1e';
            }
        }
        QFile file(dataName);
        if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size())
            die(QStringLiteral("cannot write ") + dataName);
    }
    const QString setup = QStringLiteral(
        ".mode ascii\n"
        "CREATE TEMP VIEW Staging AS SELECT Str, Labels, KeyWord, StrLower, LabelLower, KeyLower, Html, Rating, "
        "Frequency FROM TypeText;\n"
        "CREATE TEMP TRIGGER StagingInsert INSTEAD OF INSERT ON Staging BEGIN INSERT INTO TypeText (Str, Labels, "
        "KeyWord, StrLower, LabelLower, KeyLower, Html, Rating, Frequency) VALUES (NEW.Str, NEW.Labels, NEW.KeyWord, "
        "NEW.StrLower, NEW.LabelLower, NEW.KeyLower, NEW.Html, NEW.Rating, NEW.Frequency); END;\n");
    const QString dbName = dir.filePath(QStringLiteral("shell.db"));
    double best = std::numeric_limits<double>::max();
    for (int r = 0; r < 2; ++r) {
        QFile::remove(dbName);
        QFile::copy(templateDb, dbName);
        const double startUp = shell.run(dbName, setup);
        QFile::remove(dbName);
        QFile::copy(templateDb, dbName);
        const double total = shell.run(dbName, setup + QStringLiteral(".import '%1' Staging\n").arg(dataName));
        best = std::min(best, std::max(total - startUp, 1e-6));
    }
    return best;
}

QString countSql(const QString &filter)
{
    return QStringLiteral("SELECT count(*) FROM TypeText WHERE ") + filter;
}

QString firstRowsSql(const QString &filter)
{
    return QStringLiteral("SELECT * FROM TypeText WHERE ") + filter + QStringLiteral(" LIMIT 256");
}

// Our search: the count the status bar shows, then the first rows the table loads.
double oursSearch(const QString &filter, int *found)
{
    double best = std::numeric_limits<double>::max();
    for (int r = 0; r < repetitions; ++r) {
        QElapsedTimer timer;
        timer.start();
        QSqlQuery count(QSqlDatabase::database());
        count.setForwardOnly(true);
        if (!count.exec(countSql(filter)) || !count.next())
            die(count.lastError().text());
        *found = count.value(0).toInt();
        QSqlQuery rows(QSqlDatabase::database());
        rows.setForwardOnly(true);
        if (!rows.exec(firstRowsSql(filter)))
            die(rows.lastError().text());
        while (rows.next()) {
            for (int c = 0; c < 14; ++c)
                rows.value(c);
        }
        best = std::min(best, seconds(timer));
    }
    return best;
}

// The shell's time for the same two statements, from its own timer.
double shellSearch(const Shell &shell, const QString &dbName, const QString &filter, int *found)
{
    QString script = QStringLiteral(".timer on\n");
    for (int r = 0; r < repetitions; ++r) {
        script += countSql(filter) + QStringLiteral(";\n.output %1\n").arg(QProcess::nullDevice());
        script += firstRowsSql(filter) + QStringLiteral(";\n.output stdout\n");
    }
    QByteArray output;
    shell.run(dbName, script, &output);
    const QRegularExpression runTime(QStringLiteral("^Run Time: real ([0-9.]+)"));
    QVector<double> times;
    *found = -1;
    for (const QByteArray &line : output.split('\n')) {
        const QString text = QString::fromUtf8(line).trimmed();
        const QRegularExpressionMatch match = runTime.match(text);
        if (match.hasMatch())
            times.append(match.captured(1).toDouble());
        else if (!text.isEmpty())
            *found = text.toInt();
    }
    if (times.size() != 2 * repetitions)
        die(QStringLiteral("unexpected sqlite3 output: ") + QString::fromUtf8(output.left(500)));
    double bestCount = std::numeric_limits<double>::max();
    double bestRows = std::numeric_limits<double>::max();
    for (int r = 0; r < repetitions; ++r) {
        bestCount = std::min(bestCount, times[2 * r]);
        bestRows = std::min(bestRows, times[2 * r + 1]);
    }
    // The shell prints milliseconds; a zero would make every ratio infinite.
    return std::max(bestCount + bestRows, 0.0005);
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption phrasesOption(QStringLiteral("phrases"), QStringLiteral("Number of phrases."),
                                           QStringLiteral("N"), QStringLiteral("100000"));
    const QCommandLineOption keepOption(QStringLiteral("keep"), QStringLiteral("Keep the generated files."));
    parser.addOption(phrasesOption);
    parser.addOption(keepOption);
    parser.process(app);
    bool ok = false;
    const int count = parser.value(phrasesOption).toInt(&ok);
    if (!ok || count < 1)
        die(QStringLiteral("--phrases needs a positive number"));

    const QString templateDb = QCoreApplication::applicationDirPath() + QStringLiteral("/new.db");
    if (!QFile::exists(templateDb))
        die(templateDb + QStringLiteral(" is missing; build the templates first"));
    QTemporaryDir tempDir;
    tempDir.setAutoRemove(!parser.isSet(keepOption));
    const QDir dir(tempDir.path());
    const Shell shell;

    const QVector<PhraseFileRow> rows = generatePhrases(count);
    const QString txtName = dir.filePath(QStringLiteral("phrases.txt"));
    const QString iniName = dir.filePath(QStringLiteral("phrases.ini"));
    QString error;
    if (!writeTxtPhrases(txtName, rows, &error) || !writeIniPhrases(iniName, rows, &error))
        die(error);

    QVector<Figure> figures;
    const double shellBulk = shell.isAvailable() ? shellImport(shell, templateDb, dir, rows) : -1;
    figures.append({QStringLiteral("txt_import"),
                    timeImport(templateDb, dir.filePath(QStringLiteral("txt.db")), count,
                               [&txtName] { return importTxt(txtName); }),
                    shellBulk});

    const QString dbName = dir.filePath(QStringLiteral("ini.db"));
    figures.append({QStringLiteral("ini_import"),
                    timeImport(templateDb, dbName, count, [&iniName] { return importIni(iniName); }), iniImportGoal});

    const QString txtOut = dir.filePath(QStringLiteral("export.txt"));
    const QString iniOut = dir.filePath(QStringLiteral("export.ini"));
    figures.append({QStringLiteral("txt_export"), timeExport([&txtOut](const PhraseRowSource &source, QString *e) {
                        return writeTxtPhrases(txtOut, source, nullptr, e);
                    }),
                    exportGoal});
    figures.append({QStringLiteral("ini_export"), timeExport([&iniOut](const PhraseRowSource &source, QString *e) {
                        return writeIniPhrases(iniOut, source, nullptr, e);
                    }),
                    exportGoal});

#ifdef QUILLARY_BENCH_SEARCH
    for (const QString &term : {QStringLiteral("lorem"), QStringLiteral("QUICK"), QStringLiteral("привет"),
                                QStringLiteral("Ёлка"), QStringLiteral("zzzq")}) {
        const QString filter = searchFilter(term);
        int oursFound = 0;
        const double ours = oursSearch(filter, &oursFound);
        double limit = -1;
        if (shell.isAvailable()) {
            QSqlDatabase::database().close();
            int shellFound = 0;
            limit = shellSearch(shell, dbName, filter, &shellFound);
            if (shellFound != oursFound)
                die(QStringLiteral("search %1: %2 found, the shell found %3").arg(term).arg(oursFound).arg(shellFound));
            QSqlDatabase::database().open();
        }
        figures.append({QStringLiteral("search:") + term, ours, limit});
    }
#else
    std::printf("# search skipped: browser/searchcondition.h is not there\n");
#endif

    std::printf("# %d phrases%s\n", count, shell.isAvailable() ? "" : ", sqlite3 shell not found");
    double worst = 0;
    for (const Figure &figure : figures) {
        if (figure.limit > 0) {
            const double ratio = figure.ours / figure.limit;
            worst = std::max(worst, ratio);
            std::printf("%s %.3f %.3f %.2f\n", qPrintable(figure.name), figure.ours, figure.limit, ratio);
        } else {
            std::printf("%s %.3f n/a n/a\n", qPrintable(figure.name), figure.ours);
        }
    }
    std::printf("worst ratio %.2f\n", worst);
    QSqlDatabase::database().close();
    return 0;
}
