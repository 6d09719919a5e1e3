#include "app/globals.h"
#include "app/quillary.h"
#include "browser/sqltable.h"
#include "browser/typefind.h"
#include "db/typewatch.h"
#include "../common/dialogdriver.h"
#include "../common/testhome.h"

#include <QFile>
#include <QItemSelectionModel>
#include <QLabel>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlTableModel>
#include <QStatusBar>
#include <QtTest>

// The File menu's Import and Export commands, driven through their real dialogs.
class TestExchangeCommands : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void import_data();
    void import();
    void import_newDatabaseCancelled_importsNothing();
    void import_intoNewDatabase();
    void exportFormat_data();
    void exportFormat();
    void export_listsEveryMatchingPhrase();
    void export_selectedRows();
    void export_unwritableFile_reportsError();
    void export_completedNameExists_asks_data();
    void export_completedNameExists_asks();

private:
    static int phrasesIn(const QString &path);
    QString statusText() const;
    void writeFile(const QString &name, const QByteArray &bytes);

    QScopedPointer<TestHome> home;
    QScopedPointer<QTemporaryDir> work;
    QScopedPointer<Quillary> window;
};

namespace {

QByteArray txtRecords(int count, const QString &prefix)
{
    QByteArray bytes;
    for (int i = 0; i < count; ++i)
        bytes += QStringLiteral("%1 %2\tlabel\tkey\t5\t1\r\n").arg(prefix).arg(i).toUtf8();
    return bytes;
}

const QByteArray twoIniRows = "[Row0]\nStr=first ini\nLabels=x\n[Row1]\nStr=second ini\n";

} // namespace

void TestExchangeCommands::initTestCase()
{
    Q_INIT_RESOURCE(images);
}

void TestExchangeCommands::init()
{
    home.reset(new TestHome);
    work.reset(new QTemporaryDir);
    nameFileDB.clear();
    language.clear();
    window.reset(new Quillary);
}

void TestExchangeCommands::cleanup()
{
    window.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QSqlDatabase::removeDatabase(QLatin1String(QSqlDatabase::defaultConnection));
    work.reset();
    home.reset();
}

int TestExchangeCommands::phrasesIn(const QString &path)
{
    int rows = -1;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("counter"));
        db.setDatabaseName(path);
        if (db.open()) {
            QSqlQuery query(db);
            if (query.exec(QStringLiteral("SELECT count(*) FROM TypeText")) && query.next())
                rows = query.value(0).toInt();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("counter"));
    return rows;
}

QString TestExchangeCommands::statusText() const
{
    // The second of the status bar's two fields carries the browser's messages.
    const QList<QLabel *> labels = window->statusBar()->findChildren<QLabel *>();
    return labels.size() >= 2 ? labels.at(1)->text() : QString();
}

void TestExchangeCommands::writeFile(const QString &name, const QByteArray &bytes)
{
    QFile file(work->filePath(name));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

void TestExchangeCommands::import_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<int>("added");
    QTest::addColumn<bool>("errorShown");

    QTest::newRow("txt") << "a.txt" << txtRecords(3, QStringLiteral("p")) << "a.txt" << 3 << false;
    QTest::newRow("upper-case TXT under its own name") << "B.TXT" << txtRecords(2, QStringLiteral("p")) << "B.TXT"
                                                       << 2 << false;
    QTest::newRow("ini row form") << "d.ini" << twoIniRows << "d.ini" << 2 << false;
    QTest::newRow("upper-case INI read as INI") << "E.INI" << twoIniRows << "E.INI" << 2 << false;
    QTest::newRow("empty file reports zero") << "f.txt" << QByteArray() << "f.txt" << 0 << false;
}

void TestExchangeCommands::import()
{
    QFETCH(QString, fileName);
    QFETCH(QByteArray, content);
    QFETCH(QString, chosen);
    QFETCH(int, added);
    QFETCH(bool, errorShown);

    writeFile(fileName, content);
    const int before = phrasesIn(nameFileDB);
    const QString statusBefore = statusText();
    QSignalSpy changes(window->browser()->watcher, &TypeWatch::fileChanged);

    DialogDriver driver;
    driver.chooseFile(work->filePath(chosen));
    driver.answerMessage(QMessageBox::No);
    if (errorShown)
        driver.answerMessage();
    window->importDB();

    QVERIFY2(driver.done(), "an expected dialog did not appear");
    QVERIFY2(driver.unexpected.isEmpty(), qPrintable(driver.unexpected.join(QLatin1Char('|'))));
    QCOMPARE(driver.texts.value(0), QStringLiteral("Create a new database for importing?"));
    QCOMPARE(phrasesIn(nameFileDB), before + added);
    if (errorShown) {
        QCOMPARE(driver.titles.value(1), QStringLiteral("Error"));
        QCOMPARE(statusText(), statusBefore);
    } else {
        QCOMPARE(statusText(), QStringLiteral("%1 phrase(s) have been imported.").arg(added));
    }
    // The import's own writes are not an outside change.
    QTest::qWait(3 * TypeWatch::interval);
    QCOMPARE(changes.count(), 0);
}

void TestExchangeCommands::import_newDatabaseCancelled_importsNothing()
{
    writeFile(QStringLiteral("a.txt"), txtRecords(3, QStringLiteral("p")));
    const QString open = nameFileDB;
    const int before = phrasesIn(open);

    DialogDriver driver;
    driver.chooseFile(work->filePath(QStringLiteral("a.txt")));
    driver.answerMessage(QMessageBox::Yes);
    driver.cancelFileDialog();
    window->importDB();

    QVERIFY(driver.done());
    QVERIFY2(driver.unexpected.isEmpty(), qPrintable(driver.unexpected.join(QLatin1Char('|'))));
    QCOMPARE(nameFileDB, open);
    QCOMPARE(phrasesIn(open), before);
}

void TestExchangeCommands::import_intoNewDatabase()
{
    writeFile(QStringLiteral("a.txt"), txtRecords(3, QStringLiteral("p")));
    const QString old = nameFileDB;
    const int oldCount = phrasesIn(old);
    const QString fresh = work->filePath(QStringLiteral("fresh.db"));

    DialogDriver driver;
    driver.chooseFile(work->filePath(QStringLiteral("a.txt")));
    driver.answerMessage(QMessageBox::Yes);
    driver.chooseFile(fresh);
    window->importDB();

    QVERIFY(driver.done());
    QVERIFY2(driver.unexpected.isEmpty(), qPrintable(driver.unexpected.join(QLatin1Char('|'))));
    QCOMPARE(nameFileDB, fresh);
    QCOMPARE(phrasesIn(fresh), 3);
    QCOMPARE(phrasesIn(old), oldCount);
}

void TestExchangeCommands::exportFormat_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("written");
    QTest::addColumn<QByteArray>("start");

    QTest::newRow("txt") << "*.txt" << "out" << "out.txt" << QByteArray();
    QTest::newRow("ini filter on a txt name") << "*.ini" << "out.txt" << "out.txt.ini" << QByteArray("[Row0]");
    QTest::newRow("txt filter on an ini name") << "*.txt" << "out.ini" << "out.ini.txt" << QByteArray();
}

void TestExchangeCommands::exportFormat()
{
    QFETCH(QString, filter);
    QFETCH(QString, typed);
    QFETCH(QString, written);
    QFETCH(QByteArray, start);

    const int count = phrasesIn(nameFileDB);
    DialogDriver driver;
    driver.chooseFile(work->filePath(typed), filter);
    window->exportDB();

    QVERIFY(driver.done());
    QVERIFY2(driver.unexpected.isEmpty(), qPrintable(driver.unexpected.join(QLatin1Char('|'))));
    QFile file(work->filePath(written));
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(written));
    const QByteArray bytes = file.readAll();
    if (start.isEmpty())
        QCOMPARE(bytes.count("\r\n") >= count, true);
    else
        QVERIFY(bytes.startsWith(start));
    QCOMPARE(statusText(), QStringLiteral("%1 phrase(s) have been exported.").arg(count));
}

void TestExchangeCommands::export_listsEveryMatchingPhrase()
{
    // More matching phrases than the model fetches at once, plus some that do not match.
    writeFile(QStringLiteral("many.txt"), txtRecords(700, QStringLiteral("zebra")) + txtRecords(5, QStringLiteral("yak")));
    DialogDriver driver;
    driver.chooseFile(work->filePath(QStringLiteral("many.txt")));
    driver.answerMessage(QMessageBox::No);
    window->importDB();
    QVERIFY(driver.done());

    auto *search = window->browser()->findChild<QLineEdit *>();
    QVERIFY(search);
    search->setText(QStringLiteral("zebra"));
    window->browser()->findStart(false);
    QVERIFY(window->browser()->model->rowCount() < 700);

    driver.chooseFile(work->filePath(QStringLiteral("zebras.txt")), QStringLiteral("*.txt"));
    window->exportDB();
    QVERIFY(driver.done());
    QFile file(work->filePath(QStringLiteral("zebras.txt")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    QCOMPARE(lines.size() - 1, 700);
    // In the table's order: the model read to its end lists the same phrases.
    QSqlTableModel *model = window->browser()->model;
    while (model->canFetchMore())
        model->fetchMore();
    QCOMPARE(model->rowCount(), 700);
    for (int row : {0, 1, 350, 699})
        QCOMPARE(QString::fromUtf8(lines.at(row).split('\t').first()),
                 model->index(row, TypeFind::ColStr).data().toString());
    QCOMPARE(statusText(), QStringLiteral("700 phrase(s) have been exported."));
}

void TestExchangeCommands::export_selectedRows()
{
    TypeFind *find = window->browser();
    find->table->selectionModel()->select(find->model->index(0, TypeFind::ColStr), QItemSelectionModel::Select);
    find->table->selectionModel()->select(find->model->index(2, TypeFind::ColStr), QItemSelectionModel::Select);
    const QString first = find->model->index(0, TypeFind::ColStr).data().toString();

    DialogDriver driver;
    driver.chooseFile(work->filePath(QStringLiteral("two.ini")), QStringLiteral("*.ini"));
    window->exportDB();
    QVERIFY(driver.done());

    QSettings ini(work->filePath(QStringLiteral("two.ini")), QSettings::IniFormat);
    QCOMPARE(ini.childGroups(), (QStringList{QStringLiteral("Row0"), QStringLiteral("Row1")}));
    QCOMPARE(ini.value(QStringLiteral("Row0/Str")).toString(), first);
    QCOMPARE(statusText(), QStringLiteral("2 phrase(s) have been exported."));
}

void TestExchangeCommands::export_unwritableFile_reportsError()
{
    // A file where a folder should be: no export can be written below it.
    writeFile(QStringLiteral("blocker"), "x");
    DialogDriver driver;
    driver.chooseFile(work->filePath(QStringLiteral("blocker/out.txt")), QStringLiteral("*.txt"));
    driver.answerMessage();
    window->exportDB();

    // The file dialog itself may refuse the name; if it lets it through, the export must say it failed.
    if (!driver.done())
        QSKIP("the file dialog refused the name before the export ran");
    QCOMPARE(driver.titles, QStringList{QStringLiteral("Error")});
    QVERIFY(!statusText().contains(QStringLiteral("exported")));
}

void TestExchangeCommands::export_completedNameExists_asks_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("replaced");
    QTest::newRow("keep") << int(QMessageBox::No) << false;
    QTest::newRow("replace") << int(QMessageBox::Yes) << true;
}

void TestExchangeCommands::export_completedNameExists_asks()
{
    QFETCH(int, answer);
    QFETCH(bool, replaced);
    writeFile(QStringLiteral("out.txt"), "precious\r\n");

    DialogDriver driver;
    driver.chooseFile(work->filePath(QStringLiteral("out")), QStringLiteral("*.txt"));
    driver.answerMessage(QMessageBox::StandardButton(answer));
    window->exportDB();

    QVERIFY(driver.done());
    QVERIFY(driver.texts.value(0).contains(QStringLiteral("already exists")));
    QFile file(work->filePath(QStringLiteral("out.txt")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll() != "precious\r\n", replaced);
}

QTEST_MAIN(TestExchangeCommands)
#include "tst_exchangecommands.moc"
