// quillary-bench [--phrases N] [--keep]
// Times importing, exporting and searching N generated phrases, in the window's
// code and through the built program's --list and --export, and sets each
// figure against a limit: the sqlite3 shell doing the same work on the same
// data, or a fixed goal where the shell has no counterpart. Prints one line per
// operation, "name ours_s limit_s ratio", and last the worst ratio.

#include "app/globals.h"
#include "browser/phrasemodel.h"
#include "browser/phrasepayload.h"
#include "browser/sqltable.h"
#include "browser/typefind.h"
#include "db/typewatch.h"
#include "editor/typeedit.h"
#include "exchange/inireader.h"
#include "exchange/phrasewriters.h"
#include "exchange/txtreader.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
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
QVector<PhraseRecord> generatePhrases(int count)
{
    std::mt19937 random(20240607);
    const auto pick = [&random](int n) { return int(random() % unsigned(n)); };
    QVector<PhraseRecord> rows;
    rows.reserve(count);
    for (int i = 0; i < count; ++i) {
        const bool cyrillic = pick(10) < 3;
        const int kind = pick(100);
        const int words = kind < 70 ? 2 + pick(11) : kind < 95 ? 20 + pick(61) : 200 + pick(401);
        const bool multiLine = pick(100) < 15;
        PhraseRecord row;
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
        const PhraseRowSource source = [&query](PhraseRecord *row) {
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
double shellImport(const Shell &shell, const QString &templateDb, const QDir &dir, const QVector<PhraseRecord> &rows)
{
    // ASCII mode separates with 0x1F and 0x1E, so TABs and line breaks need no quoting.
    const QString dataName = dir.filePath(QStringLiteral("shell-import.dat"));
    {
        QByteArray data;
        for (const PhraseRecord &row : rows) {
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

QString rowsSql(const QString &filter)
{
    return QStringLiteral("SELECT * FROM TypeText") +
           (filter.isEmpty() ? QString() : QStringLiteral(" WHERE ") + filter);
}

qint64 residentBytes()
{
#ifdef Q_OS_LINUX
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : status.readAll().split('\n')) {
            if (line.startsWith("VmRSS:"))
                return line.mid(6).trimmed().split(' ').value(0).toLongLong() * 1024;
        }
    }
#endif
    return -1;
}

// What the browser does on start-up, a search or a reload: the phrase model selects
// with the filter and reads every row. *extraBytes gets the memory the rows hold.
double oursSelect(const QString &filter, int *found, qint64 *extraBytes = nullptr)
{
    double best = std::numeric_limits<double>::max();
    for (int r = 0; r < repetitions; ++r) {
        const qint64 before = residentBytes();
        PhraseModel model(nullptr, QSqlDatabase::database());
        model.setTable(QStringLiteral("TypeText"));
        model.setFilter(filter);
        QElapsedTimer timer;
        timer.start();
        if (!model.select())
            die(model.lastError().text());
        *found = model.rowCount();
        best = std::min(best, seconds(timer));
        if (extraBytes && r == 0 && before >= 0)
            *extraBytes = residentBytes() - before;
    }
    return best;
}

// The shell's time for the same statement, from its own timer.
double shellSearch(const Shell &shell, const QString &dbName, const QString &filter, int *found)
{
    QString script = QStringLiteral(".timer on\n");
    for (int r = 0; r < repetitions; ++r) {
        script += QStringLiteral("SELECT count(*) FROM (%1);\n").arg(rowsSql(filter));
        script += QStringLiteral(".output %1\n").arg(QProcess::nullDevice());
        script += rowsSql(filter) + QStringLiteral(";\n.output stdout\n");
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
    double bestRows = std::numeric_limits<double>::max();
    for (int r = 0; r < repetitions; ++r)
        bestRows = std::min(bestRows, times[2 * r + 1]);
    // The shell prints milliseconds; a zero would make every ratio infinite.
    return std::max(bestRows, 0.0005);
}
// The browser and the editor as the window wires them, on the open database.
struct Browser
{
    Browser()
    {
        nameFileDB = QSqlDatabase::database().databaseName();
        find = new TypeFind;
        edit = new TypeEdit;
        QObject::connect(find, &TypeFind::setHtml, edit, &TypeEdit::setHtml);
        find->connectSignals();
    }
    ~Browser()
    {
        delete find;
        delete edit;
    }
    TypeFind *find;
    TypeEdit *edit;
};

template <typename Action> double timed(Action action)
{
    QElapsedTimer timer;
    timer.start();
    action();
    QCoreApplication::processEvents();
    return seconds(timer);
}

// The slowest answer of the window with one phrase of 50 MB among short ones:
// start-up, selecting the phrase, a search and a copy.
double longPhrase(const QString &templateDb, const QString &dbName)
{
    openDatabase(templateDb, dbName);
    const QString phrase = QStringLiteral("Long phrase ").repeated(50 * 1024 * 1024 / 24);
    QSqlQuery insert;
    insert.prepare(QStringLiteral("INSERT INTO TypeText (Str, StrLower, Html) VALUES (?, ?, ?)"));
    for (const QString &text : {QStringLiteral("short"), phrase}) {
        insert.addBindValue(text);
        insert.addBindValue(text.toLower());
        insert.addBindValue(QStringLiteral("<html><body>") + text + QStringLiteral("</body></html>"));
        if (!insert.exec())
            die(insert.lastError().text());
    }
    double worst = 0;
    QStringList steps;
    const auto step = [&worst, &steps](const char *name, double time) {
        worst = std::max(worst, time);
        steps << QStringLiteral("%1 %2").arg(QLatin1String(name)).arg(time, 0, 'f', 3);
    };
    Browser *browser = nullptr;
    step("start", timed([&] { browser = new Browser; }));
    TypeFind *find = browser->find;
    step("select", timed([&] { find->table->setCurrentIndex(find->model->index(1, 3)); }));
    step("search", timed([&] {
             find->findChild<QLineEdit *>()->setText(QStringLiteral("long"));
             find->findStart();
             find->table->setCurrentIndex(find->model->index(0, 3));
         }));
    step("copy", timed([&] { find->copyPhrase(); }));
    std::printf("# long_phrase: %s\n", qPrintable(steps.join(QStringLiteral(", "))));
    if (QApplication::clipboard()->text() != phrase)
        die(QStringLiteral("the long phrase was not copied whole"));
    delete browser;
    return worst;
}

// Pasting 20,000 phrases copied in the program, the question answered at once.
double paste20k(const QString &templateDb, const QString &dbName, const QVector<PhraseRecord> &rows)
{
    openDatabase(templateDb, dbName);
    QVector<PhraseRecord> records;
    for (int i = 0; i < 20000; ++i) {
        const PhraseRecord &row = rows.at(i % rows.size());
        PhraseRecord record;
        record.str = row.str;
        record.labels = row.labels;
        record.keyWord = row.keyWord;
        record.html = row.html;
        records << record;
    }
    auto *mime = new QMimeData;
    mime->setData(clipboardFormat, encodePhraseRecords(records));
    QApplication::clipboard()->setMimeData(mime);
    QSqlQuery(QStringLiteral("INSERT INTO TypeText (Str) VALUES ('first')"));
    Browser browser;
    browser.find->table->setCurrentIndex(browser.find->model->index(0, 3));
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()))
            box->button(QMessageBox::Yes)->click();
    });
    answer.start(1);
    const double time = timed([&] { browser.find->pastePhrase(); });
    QSqlQuery count(QStringLiteral("SELECT count(*) FROM TypeText"));
    if (!count.next() || count.value(0).toInt() != 20001)
        die(QStringLiteral("the paste stored %1 phrases").arg(count.value(0).toInt()));
    return time;
}

// Frequency of one phrase as the file holds it.
int storedFrequency(qint64 id)
{
    QSqlQuery query;
    query.prepare(QStringLiteral("SELECT Frequency FROM TypeText WHERE id = ?"));
    query.addBindValue(id);
    if (!query.exec() || !query.next())
        die(QStringLiteral("phrase %1 is not in the file: %2").arg(id).arg(query.lastError().text()));
    return query.value(0).toInt();
}

// Space on a phrase far down the table, up to an idle window: the use counted, and
// the watcher's next poll, which must not take the program's own write for another
// copy's and reload every row.
double ownUse(const QString &filledDb, const QString &dbName, int count)
{
    openDatabase(filledDb, dbName);
    Browser browser;
    TypeFind *find = browser.find;
    if (find->model->rowCount() != count)
        die(QStringLiteral("own_use: the table lists %1 of %2 phrases").arg(find->model->rowCount()).arg(count));
    const int row = count * 9 / 10;
    const int strColumn = find->model->column(PhraseStore::Str);
    // An idle window has polled already: the first poll after start-up reports no touched time stamp.
    find->watcher->period();
    QCoreApplication::processEvents();
    double best = std::numeric_limits<double>::max();
    for (int r = 0; r < repetitions; ++r) {
        find->table->setCurrentIndex(find->model->index(row, strColumn));
        QCoreApplication::processEvents();
        const qint64 id = find->model->value(row, PhraseStore::Id).toLongLong();
        const int before = storedFrequency(id);
        best = std::min(best, timed([find] {
                            find->copyPhrase();
                            find->watcher->period();
                        }));
        const int after = storedFrequency(id);
        if (after != before + 1)
            die(QStringLiteral("own_use: the use of phrase %1 left its frequency at %2, was %3")
                    .arg(id)
                    .arg(after)
                    .arg(before));
    }
    return best;
}
// A script's use of the command line: the built program run as a process on the
// bench's database, writing the same bytes as the shell does; both timed whole,
// start-up included. Without settings the rows come in the file's order, as the
// shell's do. An export is on disk before it replaces the old file, so the shell's
// copy is synced as well: else the figure would time the disk's backlog, not the work.
void commandLine(const Shell &shell, const QString &dbName, const QDir &dir, QVector<Figure> *figures)
{
    const QString program = QStringLiteral(QUILLARY_PROGRAM_DIR "/quillary");
    if (!QFileInfo(program).isExecutable() || !shell.isAvailable()) {
        std::printf("# cli_list, cli_export skipped: %s\n",
                    shell.isAvailable() ? "the quillary program is not built" : "no sqlite3 shell");
        return;
    }
    QTemporaryDir home;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home.path());
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path() + QStringLiteral("/.config"));
    const auto escaped = [](const char *column) {
        return QStringLiteral("replace(replace(replace(replace(%1, '\\', '\\\\'), char(10), '\\n'), char(13), '\\r'), "
                              "char(9), '\\t')")
            .arg(QLatin1String(column));
    };
    const QString ours = dir.filePath(QStringLiteral("cli-ours.txt"));
    const QString theirs = dir.filePath(QStringLiteral("cli-shell.txt"));
    const QString output = QStringLiteral(".output '%1'\n").arg(theirs);
    const struct
    {
        const char *name;
        QStringList arguments;
        QString shellScript;
    } runs[] = {
        {"cli_list",
         {QStringLiteral("--db"), dbName, QStringLiteral("--list")},
         output +
             QStringLiteral(".separator \"\\t\" \"\\n\"\nSELECT id, %1, %2, %3, Rating, Frequency FROM TypeText;\n")
                 .arg(escaped("Str"), escaped("Labels"), escaped("KeyWord"))},
        {"cli_export",
         {QStringLiteral("--db"), dbName, QStringLiteral("--export"), ours},
         output + QStringLiteral(
                      ".separator \"\\t\" \"\\r\\n\"\nSELECT Str, Labels, KeyWord, Rating, Frequency FROM TypeText;\n"
                      ".output stdout\n.shell sync -d '%1'\n")
                      .arg(theirs)},
    };
    for (const auto &run : runs) {
        double oursTime = std::numeric_limits<double>::max();
        double shellTime = std::numeric_limits<double>::max();
        for (int r = 0; r < repetitions; ++r) {
            QFile::remove(ours);
            QFile::remove(theirs);
            QProcess process;
            process.setProcessEnvironment(environment);
            if (!run.arguments.contains(ours))
                process.setStandardOutputFile(ours);
            QElapsedTimer timer;
            timer.start();
            process.start(program, run.arguments);
            if (!process.waitForFinished(-1) || process.exitCode() != 0)
                die(QStringLiteral("%1 failed: %2")
                        .arg(QLatin1String(run.name), QString::fromUtf8(process.readAllStandardError())));
            oursTime = std::min(oursTime, seconds(timer));
            shellTime = std::min(shellTime, shell.run(dbName, run.shellScript));
        }
        QFile oursFile(ours);
        QFile theirsFile(theirs);
        if (!oursFile.open(QIODevice::ReadOnly) || !theirsFile.open(QIODevice::ReadOnly) ||
            oursFile.readAll() != theirsFile.readAll())
            die(QStringLiteral("%1 wrote other bytes than the shell").arg(QLatin1String(run.name)));
        figures->append({QLatin1String(run.name), oursTime, shellTime});
    }
}

// The editor shown with rich text built to freeze it: tables nested 20 deep, lengths past
// what Qt's layout counts in, and 20,000 images that are not there.
void hostileHtml(QVector<Figure> *figures)
{
    TypeEdit edit;
    edit.resize(600, 400);
    edit.show();
    const int depth = 20;
    const QString deepTables = QStringLiteral("<table><tr><td>").repeated(depth) + QStringLiteral("x") +
                               QStringLiteral("</td></tr></table>").repeated(depth);
    const QString hugeLengths = QStringLiteral("<table cellpadding=\"100000000\" width=\"100000000\"><tr><td "
                                               "style=\"padding:1e8px\">x</td></tr></table>");
    const QString manyImages = QStringLiteral("<img src=\"missing.png\">").repeated(20000);
    const std::pair<const char *, QString> shapes[] = {
        {"html_deep_tables", deepTables}, {"html_huge_lengths", hugeLengths}, {"html_many_images", manyImages}};
    for (const auto &shape : shapes) {
        const QString html = QStringLiteral("<html>") + shape.second + QStringLiteral("</html>");
        figures->append({QLatin1String(shape.first), timed([&edit, &html] {
                             edit.setHtml(html);
                             edit.grab();
                         }),
                         1.0});
    }
}
} // namespace

int main(int argc, char *argv[])
{
    // The browser and the editor need widgets, never a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
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

    const QString templateDb = QStringLiteral(QUILLARY_PROGRAM_DIR "/new.db");
    if (!QFile::exists(templateDb))
        die(templateDb + QStringLiteral(" is missing; build the templates first"));
    QTemporaryDir tempDir;
    tempDir.setAutoRemove(!parser.isSet(keepOption));
    const QDir dir(tempDir.path());
    const Shell shell;

    const QVector<PhraseRecord> rows = generatePhrases(count);
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

    {
        int oursFound = 0;
        qint64 extra = -1;
        const double ours = oursSelect(QString(), &oursFound, &extra);
        double limit = -1;
        if (shell.isAvailable()) {
            QSqlDatabase::database().close();
            int shellFound = 0;
            limit = shellSearch(shell, dbName, QString(), &shellFound);
            QSqlDatabase::database().open();
        }
        figures.append({QStringLiteral("reload"), ours, limit});
        std::printf("# reload holds %.1f MB more resident memory\n", double(extra) / (1024 * 1024));
    }

#ifdef QUILLARY_BENCH_SEARCH
    for (const QString &term : {QStringLiteral("lorem"), QStringLiteral("QUICK"), QStringLiteral("привет"),
                                QStringLiteral("Ёлка"), QStringLiteral("zzzq")}) {
        const QString filter = searchFilter(term);
        int oursFound = 0;
        const double ours = oursSelect(filter, &oursFound);
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

    commandLine(shell, dbName, dir, &figures);

    // The window must answer within a second, and a paste store 10,000 phrases a second.
    figures.append(
        {QStringLiteral("long_phrase"), longPhrase(templateDb, dir.filePath(QStringLiteral("long.db"))), 1.0});
    figures.append(
        {QStringLiteral("paste_20k"), paste20k(templateDb, dir.filePath(QStringLiteral("paste.db")), rows), 2.0});
    // A use counted with Space answers within 50 ms, whatever the table's size.
    figures.append(
        {QStringLiteral("own_use"), ownUse(dbName, dir.filePath(QStringLiteral("own-use.db")), count), 0.05});
    // Any phrase is shown within a second, however its rich text is built.
    hostileHtml(&figures);

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
