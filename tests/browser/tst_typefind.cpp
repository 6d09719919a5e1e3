#include "app/globals.h"
#include "browser/sqltable.h"
#include "browser/typefind.h"
#include "db/typewatch.h"
#include "../common/testhome.h"

#include <QAction>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlTableModel>
#include <QtTest>

class TestTypeFind : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void layout_columnsHeadersAndActions();
    void outsideChange_keepsCursorOnPhrase_data();
    void outsideChange_keepsCursorOnPhrase();
    void outsideChange_noCurrentIndex_reloads();
    void watcher_runsOnlyWithTableFocus();

private:
    void outside(const QString &sql);
    QVariant idOf(const QString &str);

    QScopedPointer<TestHome> home;
    QString path;
    QScopedPointer<QMainWindow> window;
    TypeFind *find = nullptr;
};

void TestTypeFind::init()
{
    home.reset(new TestHome);
    path = home->path() + QStringLiteral("/phrases.db");
    nameFileDB = path;
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
    db.setDatabaseName(path);
    QVERIFY(db.open());
    QSqlQuery query;
    QVERIFY(query.exec(QStringLiteral(
        "CREATE TABLE TypeText (id INTEGER PRIMARY KEY AUTOINCREMENT, Created TEXT, Modified TEXT, Str TEXT, "
        "Labels TEXT, KeyWord TEXT, HotKey TEXT, Html TEXT, KeyLower TEXT, StrLower TEXT, LabelLower TEXT, "
        "Rating INTEGER DEFAULT 0, Frequency INTEGER DEFAULT 0, Uid TEXT)")));
    db.transaction();
    for (const char *str : {"mango", "melon", "mint", "nectar", "olive"}) {
        query.prepare(QStringLiteral("INSERT INTO TypeText (Str, Labels, StrLower) VALUES (?, 'fruit', ?)"));
        query.addBindValue(QString::fromLatin1(str));
        query.addBindValue(QString::fromLatin1(str));
        QVERIFY(query.exec());
    }
    db.commit();

    window.reset(new QMainWindow);
    find = new TypeFind(window.data());
    window->addDockWidget(Qt::TopDockWidgetArea, find);
    find->connectSignals();
    // The table must not take the focus on its own: focus decides whether the watcher runs.
    auto *elsewhere = new QLineEdit(window.data());
    window->setCentralWidget(elsewhere);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.data()));
    elsewhere->setFocus();
    QTRY_VERIFY(elsewhere->hasFocus());
    find->table->setCurrentIndex(QModelIndex());
}

void TestTypeFind::cleanup()
{
    window.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QSqlDatabase::database().close();
    QSqlDatabase::removeDatabase(QLatin1String(QSqlDatabase::defaultConnection));
    home.reset();
}

void TestTypeFind::outside(const QString &sql)
{
    {
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other copy"));
        other.setDatabaseName(path);
        QVERIFY(other.open());
        other.transaction();
        for (const QString &statement : sql.split(QLatin1Char(';'), Qt::SkipEmptyParts))
            QVERIFY2(QSqlQuery(other).exec(statement), qPrintable(statement));
        other.commit();
        other.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("other copy"));
}

QVariant TestTypeFind::idOf(const QString &str)
{
    QSqlQuery query;
    query.prepare(QStringLiteral("SELECT id FROM TypeText WHERE Str = ?"));
    query.addBindValue(str);
    return query.exec() && query.next() ? query.value(0) : QVariant();
}

void TestTypeFind::layout_columnsHeadersAndActions()
{
    for (int column = 0; column < 14; ++column) {
        const bool shown = column == 3 || column == 4 || column == 5 || column == 11 || column == 12;
        QCOMPARE(find->table->isColumnHidden(column), !shown);
    }
    QCOMPARE(find->model->headerData(TypeFind::ColKeyWord, Qt::Horizontal).toString(), QStringLiteral("Comment"));
    QCOMPARE(find->model->headerData(TypeFind::ColFrequency, Qt::Horizontal).toString(), QStringLiteral("Count"));
    QCOMPARE(find->windowTitle(), QStringLiteral("Search phrases"));
    QCOMPARE(find->objectName(), QStringLiteral("TypeFind"));
    QCOMPARE(find->contextMenu->actions(),
             (QList<QAction *>{find->copyPhraseAction, find->copyCellsAction, find->pastePhraseAction,
                               find->deletePhraseAction}));
    QVERIFY(find->appendPhraseAction->isEnabled());
    for (QAction *action : find->contextMenu->actions())
        QVERIFY(!action->isEnabled());
}

void TestTypeFind::outsideChange_keepsCursorOnPhrase_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<QString>("expectedStr");
    QTest::addColumn<int>("expectedRow");

    // The table is sorted by phrase, so phrases starting with "a" land above "melon".
    QString many;
    for (int i = 0; i < 600; ++i)
        many += QStringLiteral("INSERT INTO TypeText (Str) VALUES ('a%1');").arg(i, 3, 10, QLatin1Char('0'));
    QTest::newRow("one phrase inserted above") << "INSERT INTO TypeText (Str) VALUES ('apple')"
                                               << "melon" << 2;
    QTest::newRow("more phrases above than one fetch holds") << many << "melon" << 601;
    QTest::newRow("current phrase deleted") << "DELETE FROM TypeText WHERE Str = 'melon'" << "mint" << 1;
    QTest::newRow("phrase edited elsewhere") << "UPDATE TypeText SET Labels = 'changed' WHERE Str = 'melon'"
                                             << "melon" << 1;
}

void TestTypeFind::outsideChange_keepsCursorOnPhrase()
{
    QFETCH(QString, change);
    QFETCH(QString, expectedStr);
    QFETCH(int, expectedRow);

    find->table->sortByColumn(TypeFind::ColStr, Qt::AscendingOrder);
    QCOMPARE(find->model->data(find->model->index(1, TypeFind::ColStr)).toString(), QStringLiteral("melon"));
    find->table->setCurrentIndex(find->model->index(1, TypeFind::ColLabels));

    outside(change);
    QSignalSpy messages(find, &TypeFind::setMessage);
    find->changedFile(path);

    const QModelIndex current = find->table->currentIndex();
    QCOMPARE(current.row(), expectedRow);
    QCOMPARE(current.column(), int(TypeFind::ColLabels));
    QCOMPARE(find->model->data(find->model->index(current.row(), TypeFind::ColStr)).toString(), expectedStr);
    QCOMPARE(find->model->data(find->model->index(current.row(), TypeFind::ColId)), idOf(expectedStr));

    // The count is that of the matching phrases, not of the rows fetched so far.
    QSqlQuery total(QStringLiteral("SELECT count(*) FROM TypeText"));
    QVERIFY(total.next());
    QVERIFY(!messages.isEmpty());
    QCOMPARE(messages.first().at(0).toString(),
             QStringLiteral("%1 phrase(s) have been found.").arg(total.value(0).toInt()));
}

void TestTypeFind::outsideChange_noCurrentIndex_reloads()
{
    QVERIFY(!find->table->currentIndex().isValid());
    outside(QStringLiteral("INSERT INTO TypeText (Str) VALUES ('zucchini')"));
    find->changedFile(path);
    QCOMPARE(find->model->rowCount(), 6);
}

void TestTypeFind::watcher_runsOnlyWithTableFocus()
{
    QVERIFY(!find->watcher->isRunning());
    QSignalSpy spy(find->watcher, &TypeWatch::fileChanged);
    find->table->setCurrentIndex(find->model->index(2, TypeFind::ColStr));
    find->table->setFocus();
    QTRY_VERIFY(find->table->hasFocus());
    QTRY_VERIFY(find->watcher->isRunning());

    outside(QStringLiteral("INSERT INTO TypeText (Id, Str) VALUES (100, 'zucchini')"));
    // Timestamps can be coarse: move the time on so the change is certain to show.
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(5), QFileDevice::FileModificationTime));
    file.close();
    QTRY_COMPARE_WITH_TIMEOUT(spy.count(), 1, 3000);
    QTRY_COMPARE(find->model->rowCount(), 6);
    QCOMPARE(find->table->currentIndex().row(), 2);
}

QTEST_MAIN(TestTypeFind)
#include "tst_typefind.moc"
