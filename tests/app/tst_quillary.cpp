#include "app/globals.h"
#include "app/quillary.h"
#include "browser/typefind.h"
#include "browser/sqltable.h"
#include "db/typewatch.h"
#include "editor/htmledit.h"
#include "editor/typeedit.h"
#include "../common/dialogdriver.h"
#include "../common/testhome.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlTableModel>
#include <QtTest>

class TestQuillary : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void open_data();
    void open();
    void open_cancelled_changesNothing();
    void newDB_naming_data();
    void newDB_naming();
    void newDB_replacingKeepsBackup();
    void newDB_unopenableFile_reopensPrevious();
    void newDB_cannotMoveAside_changesNothing();
    void saveAs_ontoExistingFile_replacesWithBackup();
    void saveAs_failedCopy_reopensOpenFile();
    void leaving_storesPendingEdit_data();
    void leaving_storesPendingEdit();

private:
    QString makePhraseDatabase(const QString &path, int rows, const QString &tableName = QStringLiteral("TypeText"));
    static int rowsIn(const QString &path);
    int listedRows() const;
    QString programFile(const QString &name) const;

    QScopedPointer<TestHome> home;
    QScopedPointer<QTemporaryDir> work;
    QScopedPointer<Quillary> window;
};

void TestQuillary::initTestCase()
{
    Q_INIT_RESOURCE(images);
}

void TestQuillary::init()
{
    home.reset(new TestHome);
    work.reset(new QTemporaryDir);
    nameFileDB.clear();
    language.clear();
}

void TestQuillary::cleanup()
{
    window.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QSqlDatabase::removeDatabase(QLatin1String(QSqlDatabase::defaultConnection));
    work.reset();
    home.reset();
}

QString TestQuillary::programFile(const QString &name) const
{
    return QCoreApplication::applicationDirPath() + QLatin1Char('/') + name;
}

QString TestQuillary::makePhraseDatabase(const QString &path, int rows, const QString &tableName)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("maker"));
        db.setDatabaseName(path);
        db.open();
        QSqlQuery query(db);
        query.exec(QStringLiteral("CREATE TABLE %1 (id INTEGER PRIMARY KEY AUTOINCREMENT, a TEXT, b TEXT, Str TEXT, "
                                  "Labels TEXT, KeyWord TEXT, HotKey TEXT, Html TEXT, KeyLower TEXT, StrLower TEXT, "
                                  "LabelLower TEXT, Rating INTEGER DEFAULT 0, Frequency INTEGER DEFAULT 0, c TEXT)")
                       .arg(tableName));
        for (int i = 0; i < rows; ++i)
            query.exec(QStringLiteral("INSERT INTO %1 (Str) VALUES ('phrase %2')").arg(tableName).arg(i));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("maker"));
    return path;
}

int TestQuillary::rowsIn(const QString &path)
{
    int rows = -1;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("counter"));
        db.setDatabaseName(path);
        db.open();
        QSqlQuery query(db);
        if (query.exec(QStringLiteral("SELECT count(*) FROM TypeText")) && query.next())
            rows = query.value(0).toInt();
        query.clear();
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("counter"));
    return rows;
}

int TestQuillary::listedRows() const
{
    QSqlTableModel *model = window->browser()->model;
    while (model->canFetchMore())
        model->fetchMore();
    return model->rowCount();
}

void TestQuillary::open_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("switched");

    QTest::newRow("phrase database") << "good" << QString() << true;
    QTest::newRow("table named in another case") << "lowercase" << QString() << true;
    QTest::newRow("database without the table") << "notable" << "Unable to open the base - table not found." << false;
    QTest::newRow("file that is not SQLite") << "text" << "Unable to open the base - " << false;
}

void TestQuillary::open()
{
    QFETCH(QString, kind);
    QFETCH(QString, message);
    QFETCH(bool, switched);

    window.reset(new Quillary);
    const QString before = nameFileDB;
    const int starter = listedRows();

    const QString path = work->filePath(QStringLiteral("other.db"));
    if (kind == QLatin1String("good"))
        makePhraseDatabase(path, 3);
    else if (kind == QLatin1String("lowercase"))
        makePhraseDatabase(path, 3, QStringLiteral("typeTEXT"));
    else if (kind == QLatin1String("notable"))
        makePhraseDatabase(path, 3, QStringLiteral("Elsewhere"));
    else {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray("plain words, no database here\n").repeated(100));
    }

    DialogDriver driver;
    driver.chooseFile(path);
    if (!message.isEmpty())
        driver.answerMessage();
    window->open();

    QVERIFY2(driver.done(), "an expected dialog did not appear");
    QVERIFY2(driver.unexpected.isEmpty(), qPrintable(driver.unexpected.join(QLatin1Char('|'))));
    if (!message.isEmpty()) {
        QCOMPARE(driver.titles, QStringList{QStringLiteral("Error")});
        QVERIFY2(driver.texts.value(0).startsWith(message), qPrintable(driver.texts.value(0)));
    }
    QCOMPARE(nameFileDB, switched ? path : before);
    QCOMPARE(window->windowTitle(), QStringLiteral("Quillary - ") + nameFileDB);
    QCOMPARE(listedRows(), switched ? 3 : starter);
    QVERIFY(window->browser()->watcher->isHardStopped());
}

void TestQuillary::open_cancelled_changesNothing()
{
    window.reset(new Quillary);
    const QString before = nameFileDB;
    DialogDriver driver;
    driver.cancelFileDialog();
    window->open();
    QVERIFY(driver.done());
    QCOMPARE(nameFileDB, before);
    QVERIFY(!window->browser()->watcher->isHardStopped());
    QVERIFY(QSqlDatabase::database().isOpen());
}

void TestQuillary::newDB_naming_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("created");
    QTest::newRow("suffix appended") << "phrases" << "phrases.db";
    QTest::newRow("upper-case suffix kept") << "Phrases.DB" << "Phrases.DB";
}

void TestQuillary::newDB_naming()
{
    QFETCH(QString, typed);
    QFETCH(QString, created);

    window.reset(new Quillary);
    DialogDriver driver;
    driver.chooseFile(work->filePath(typed));
    QVERIFY(window->newDB());
    QVERIFY(driver.done());
    QCOMPARE(nameFileDB, work->filePath(created));
    QCOMPARE(QDir(work->path()).entryList(QDir::Files), QStringList{created});
    QCOMPARE(listedRows(), 0);
    QCOMPARE(window->windowTitle(), QStringLiteral("Quillary - ") + work->filePath(created));
}

void TestQuillary::newDB_replacingKeepsBackup()
{
    window.reset(new Quillary);
    const QString target = makePhraseDatabase(work->filePath(QStringLiteral("letters.db")), 4);
    QFile older(work->filePath(QStringLiteral("letters.bak")));
    QVERIFY(older.open(QIODevice::WriteOnly));
    older.write("an older backup");
    older.close();

    DialogDriver driver;
    driver.chooseFile(target);
    driver.answerMessage(QMessageBox::Yes); // the file dialog asks before replacing
    QVERIFY(window->newDB());
    QVERIFY(driver.done());
    QCOMPARE(nameFileDB, target);
    QCOMPARE(listedRows(), 0);
    QCOMPARE(rowsIn(work->filePath(QStringLiteral("letters.bak"))), 4);
}

void TestQuillary::newDB_unopenableFile_reopensPrevious()
{
    window.reset(new Quillary);
    const QString before = nameFileDB;
    const int starter = listedRows();

    // Spoil the template of this test's own program folder for the length of the test.
    const QString templ = programFile(QStringLiteral("new.db"));
    const QString saved = work->filePath(QStringLiteral("new.db.saved"));
    QVERIFY(QFile::copy(templ, saved));
    QFile::remove(templ);
    QFile spoiled(templ);
    QVERIFY(spoiled.open(QIODevice::WriteOnly));
    spoiled.write(QByteArray("not a database\n").repeated(100));
    spoiled.close();

    DialogDriver driver;
    driver.chooseFile(work->filePath(QStringLiteral("fresh")));
    driver.answerMessage();
    const bool created = window->newDB();

    QFile::remove(templ);
    QVERIFY(QFile::copy(saved, templ));

    QVERIFY(!created);
    QVERIFY(driver.done());
    QVERIFY(driver.texts.value(0).startsWith(QStringLiteral("Unable to open the base - ")));
    QCOMPARE(nameFileDB, before);
    QVERIFY(QSqlDatabase::database().isOpen());
    QCOMPARE(listedRows(), starter);
    QCOMPARE(window->windowTitle(), QStringLiteral("Quillary - ") + before);
}

void TestQuillary::newDB_cannotMoveAside_changesNothing()
{
    window.reset(new Quillary);
    const QString before = nameFileDB;
    const QString target = makePhraseDatabase(work->filePath(QStringLiteral("letters.db")), 2);
    // A folder under the backup name can neither be replaced nor removed.
    QVERIFY(QDir(work->path()).mkpath(QStringLiteral("letters.bak/inside")));

    DialogDriver driver;
    driver.chooseFile(target);
    driver.answerMessage(QMessageBox::Yes);
    QVERIFY(!window->newDB());
    QVERIFY(driver.done());
    QCOMPARE(nameFileDB, before);
    QCOMPARE(rowsIn(target), 2);
    QVERIFY(QSqlDatabase::database().isOpen());
}

void TestQuillary::saveAs_ontoExistingFile_replacesWithBackup()
{
    window.reset(new Quillary);
    const int starter = listedRows();
    const QString target = makePhraseDatabase(work->filePath(QStringLiteral("copy.db")), 1);

    DialogDriver driver;
    driver.chooseFile(target);
    driver.answerMessage(QMessageBox::Yes);
    window->saveAs();
    QVERIFY(driver.done());
    QVERIFY2(driver.unexpected.isEmpty(), qPrintable(driver.unexpected.join(QLatin1Char('|'))));

    QCOMPARE(nameFileDB, target);
    QCOMPARE(listedRows(), starter);
    QCOMPARE(rowsIn(target), starter);
    QCOMPARE(rowsIn(work->filePath(QStringLiteral("copy.bak"))), 1);
    QCOMPARE(window->windowTitle(), QStringLiteral("Quillary - ") + target);
}

void TestQuillary::saveAs_failedCopy_reopensOpenFile()
{
    window.reset(new Quillary);
    const QString before = nameFileDB;
    const int starter = listedRows();
    const QString target = makePhraseDatabase(work->filePath(QStringLiteral("copy.db")), 1);
    QVERIFY(QDir(work->path()).mkpath(QStringLiteral("copy.bak/inside")));

    DialogDriver driver;
    driver.chooseFile(target);
    driver.answerMessage(QMessageBox::Yes);
    driver.answerMessage();
    window->saveAs();
    QVERIFY(driver.done());
    QCOMPARE(driver.titles.value(1), QStringLiteral("Error"));
    QCOMPARE(nameFileDB, before);
    QCOMPARE(listedRows(), starter);
    QCOMPARE(rowsIn(target), 1);
    QCOMPARE(window->windowTitle(), QStringLiteral("Quillary - ") + before);
}

void TestQuillary::leaving_storesPendingEdit_data()
{
    QTest::addColumn<bool>("throughExit");
    QTest::newRow("Exit command") << true;
    QTest::newRow("close button") << false;
}

void TestQuillary::leaving_storesPendingEdit()
{
    QFETCH(bool, throughExit);
    window.reset(new Quillary);
    QVERIFY(QTest::qWaitForWindowActive(window.data()));
    TypeFind *find = window->browser();
    find->table->setFocus();
    find->table->setCurrentIndex(find->model->index(0, TypeFind::ColStr));
    const QVariant id = find->model->index(0, TypeFind::ColId).data();

    HtmlEdit *editor = window->phraseEditor()->editor;
    editor->setFocus();
    QTRY_VERIFY(editor->hasFocus());
    editor->moveCursor(QTextCursor::End);
    QTest::keyClicks(editor, QStringLiteral(" edited"));

    if (throughExit) {
        QAction *exit = nullptr;
        for (QAction *action : window->findChildren<QAction *>()) {
            if (action->text() == QStringLiteral("E&xit"))
                exit = action;
        }
        QVERIFY(exit);
        exit->trigger();
    } else {
        window->close();
    }

    QSqlQuery query;
    query.prepare(QStringLiteral("SELECT Str FROM TypeText WHERE id = ?"));
    query.addBindValue(id);
    QVERIFY(query.exec() && query.next());
    QVERIFY2(query.value(0).toString().endsWith(QStringLiteral(" edited")), qPrintable(query.value(0).toString()));
}

QTEST_MAIN(TestQuillary)
#include "tst_quillary.moc"
