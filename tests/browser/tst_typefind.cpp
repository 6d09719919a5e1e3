#include "../common/dialogdriver.h"
#include "../common/phrasedatabase.h"
#include "../common/testhome.h"
#include "app/globals.h"
#include "browser/phrasemodel.h"
#include "browser/phrasepayload.h"
#include "browser/searchcondition.h"
#include "browser/sqltable.h"
#include "browser/typefind.h"
#include "db/typewatch.h"

#include <QAction>
#include <QClipboard>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMimeData>
#include <QSignalSpy>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QtTest>

using Cells = QVector<QPoint>; // x: row, y: field

// The operations that write, as the user starts them on the current phrase.
enum class Operation
{
    Copy,
    RowHeader,
    Paste,
    Delete,
    Editor,
    Cell,
};
Q_DECLARE_METATYPE(Operation)

static QStringList L(const char *items, char separator = ',')
{
    return QString::fromUtf8(items).split(QLatin1Char(separator));
}

// The browser dock on a copy of the empty template, in a window whose focus rests
// elsewhere so that the watcher stays quiet. Another connection to the same file
// stands in for another running copy of the program.
class TestTypeFind : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void outsideChangeAndSearch();
    void delete_asksAndMovesCursor_data();
    void delete_asksAndMovesCursor();
    void copy_countsUseInFile();
    void paste_storesRecords();
    void cellEdit_storesWithShadow_data();
    void cellEdit_storesWithShadow();
    void writeHtml_landsOnSentPhrase();
    void writes_data();
    void writes();
    void pendingRow_typedIntoBecomesPhrase_data();
    void pendingRow_typedIntoBecomesPhrase();
    void readOnlyFile_copiesWithoutWriting();
    void longPhrase_showsStartCopiesWhole();
    void bigPaste_asksOnceOneTransaction_data();
    void bigPaste_asksOnceOneTransaction();
    void editorWrite_againstAnotherCopy_data();
    void editorWrite_againstAnotherCopy();
    void editorEntered_showsFileVersion();
    void ownUse_reloadsNothing();
    void cellEdit_againstAnotherCopy_data();
    void newRow_focusAndCursor();
    void cellEdit_againstAnotherCopy();

private:
    void show(const QStringList &phrases);
    int col(PhraseStore::Field field) const { return find->model->column(field); }
    QModelIndex at(int row, PhraseStore::Field field) const { return find->model->index(row, col(field)); }
    void select(const Cells &cells, const QPoint &current);
    void typeInto(const QModelIndex &cell, const QString &typed);
    void runOperation(Operation operation);
    QStringList shown(PhraseStore::Field field = PhraseStore::Str) const;
    static QStringList rows(const QString &sql);
    // A connection of another running copy to the same file.
    static QSqlDatabase otherCopy()
    {
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
        other.setDatabaseName(nameFileDB);
        other.open();
        return other;
    }
    QString lastMessage() const { return messages->isEmpty() ? QString() : messages->last().at(0).toString(); }

    QScopedPointer<TestHome> home;
    QScopedPointer<QMainWindow> window;
    QScopedPointer<QSignalSpy> messages;
    TypeFind *find = nullptr;
};

void TestTypeFind::init()
{
    home.reset(new TestHome);
    nameFileDB = home->path() + QStringLiteral("/phrases.db");
    QVERIFY(PhraseDatabase::create(nameFileDB));
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=50"));
    db.setDatabaseName(nameFileDB);
    QVERIFY(db.open());
    QApplication::clipboard()->clear();
}

void TestTypeFind::cleanup()
{
    messages.reset();
    window.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (const QString &name : QSqlDatabase::connectionNames()) {
        QSqlDatabase::database(name, false).close();
        QSqlDatabase::removeDatabase(name);
    }
    home.reset();
}

// Each phrase is "text" or "text|html|count"; the table shows them sorted by text.
void TestTypeFind::show(const QStringList &phrases)
{
    QSqlQuery query;
    QVERIFY(query.prepare(QStringLiteral("INSERT INTO TypeText (Str, StrLower, Html, Frequency) VALUES (?, ?, ?, ?)")));
    for (const QString &phrase : phrases) {
        const QStringList parts = phrase.split(QLatin1Char('|'));
        query.addBindValue(parts.at(0));
        query.addBindValue(parts.at(0).toLower());
        query.addBindValue(parts.value(1));
        query.addBindValue(parts.value(2).toInt());
        QVERIFY2(query.exec(), qPrintable(query.lastError().text()));
    }
    window.reset(new QMainWindow);
    find = new TypeFind(window.data());
    window->addDockWidget(Qt::TopDockWidgetArea, find);
    find->connectSignals();
    auto *elsewhere = new QLineEdit(window.data());
    window->setCentralWidget(elsewhere);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.data()));
    elsewhere->setFocus();
    find->table->sortByColumn(col(PhraseStore::Str), Qt::AscendingOrder);
    find->table->setCurrentIndex(QModelIndex());
    messages.reset(new QSignalSpy(find, &TypeFind::setMessage));
}

void TestTypeFind::select(const Cells &cells, const QPoint &current)
{
    QItemSelectionModel *selection = find->table->selectionModel();
    selection->setCurrentIndex(at(current.x(), PhraseStore::Field(current.y())), QItemSelectionModel::NoUpdate);
    QItemSelection chosen;
    for (const QPoint &cell : cells)
        chosen.select(at(cell.x(), PhraseStore::Field(cell.y())), at(cell.x(), PhraseStore::Field(cell.y())));
    selection->select(chosen, QItemSelectionModel::ClearAndSelect);
}

QStringList TestTypeFind::shown(PhraseStore::Field field) const
{
    QStringList texts;
    for (int row = 0; row < find->model->rowCount(); ++row)
        texts << find->model->value(row, field).toString();
    return texts;
}

QStringList TestTypeFind::rows(const QString &sql)
{
    QStringList lines;
    QSqlQuery query(sql);
    while (query.next()) {
        QStringList fields;
        for (int i = 0; i < query.record().count(); ++i)
            fields << (query.isNull(i) ? QStringLiteral("<null>") : query.value(i).toString());
        lines << fields.join(QLatin1Char('|'));
    }
    return lines;
}

// What the column's own editor commits, as when the user types into the cell.
void TestTypeFind::typeInto(const QModelIndex &cell, const QString &typed)
{
    QAbstractItemDelegate *delegate = find->table->itemDelegateForColumn(cell.column());
    QScopedPointer<QWidget> editor(delegate->createEditor(find->table, {}, cell));
    editor->setProperty(editor->metaObject()->userProperty().name(), typed);
    delegate->setModelData(editor.data(), find->model, cell);
}

void TestTypeFind::runOperation(Operation operation)
{
    DialogDriver driver;
    switch (operation) {
    case Operation::Copy:
        return find->copyPhrase();
    case Operation::RowHeader:
        return find->copyPhraseIndex(find->table->currentIndex().row());
    case Operation::Paste:
        QApplication::clipboard()->setText(QStringLiteral("pasted"));
        return find->pastePhrase();
    case Operation::Delete:
        driver.answerMessage(QMessageBox::Yes);
        find->deleteRow();
        QVERIFY(driver.done());
        return;
    case Operation::Editor:
        find->currentCh(find->table->currentIndex());
        return find->writeHtml(QStringLiteral("<b>edited</b>"), QStringLiteral("edited"));
    case Operation::Cell:
        return typeInto(at(find->table->currentIndex().row(), PhraseStore::Str), QStringLiteral("edited"));
    }
}

// A phrase another copy adds above keeps the cursor on its phrase; a search finds text as typed.
void TestTypeFind::outsideChangeAndSearch()
{
    show({QStringLiteral("bravo"), QStringLiteral("charlie"), QStringLiteral("Ёлка"), QStringLiteral("ёлка's")});
    find->table->setCurrentIndex(at(1, PhraseStore::Labels));
    QVERIFY(QSqlQuery().exec(QStringLiteral("INSERT INTO TypeText (Str) VALUES ('alpha')")));
    find->changedFile(nameFileDB);
    QCOMPARE(find->table->currentIndex(), at(2, PhraseStore::Labels));
    find->findChild<QLineEdit *>()->setText(QStringLiteral("ЁЛКА'S"));
    find->findStart();
    QCOMPARE(shown(), L("ёлка's"));
    QCOMPARE(lastMessage(), QStringLiteral("1 phrase(s) have been found."));
    // A search SQLite would refuse is refused first, and never reads as "not found".
    find->findChild<QLineEdit *>()->setText(QStringLiteral("x").repeated(maxSearchLength + 1));
    find->findStart();
    QCOMPARE(lastMessage(), searchTooLongNote());
    QCOMPARE(shown(), L("ёлка's"));
}

void TestTypeFind::delete_asksAndMovesCursor_data()
{
    QTest::addColumn<Cells>("selected");
    QTest::addColumn<int>("current");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("question");
    QTest::addColumn<QString>("left");
    QTest::addColumn<int>("currentRow");
    const int s = PhraseStore::Str;
    const QString one = QStringLiteral("Do you want to delete this phrase?");
    QTest::newRow("last row") << Cells{} << 3 << int(QMessageBox::Yes) << one << "a b c" << 2;
    QTest::newRow("rows around the cursor")
        << Cells{{0, s}, {2, s}} << 1 << int(QMessageBox::Yes) << "Do you want to delete 2 phrase(s)?"
        << "b d" << 0;
    QTest::newRow("declined") << Cells{} << 1 << int(QMessageBox::No) << one << "a b c d" << 1;
}

void TestTypeFind::delete_asksAndMovesCursor()
{
    QFETCH(Cells, selected);
    QFETCH(int, current);
    QFETCH(int, answer);
    QFETCH(QString, question);
    QFETCH(QString, left);
    QFETCH(int, currentRow);
    show(QString::fromLatin1("c a d b").split(QLatin1Char(' ')));
    select(selected, QPoint(current, PhraseStore::Str));
    DialogDriver driver;
    driver.answerMessage(QMessageBox::StandardButton(answer));
    find->deleteRow();
    QVERIFY(driver.done());
    QCOMPARE(driver.texts, QStringList{question});
    QCOMPARE(rows(QStringLiteral("SELECT Str FROM TypeText ORDER BY Str")).join(QLatin1Char(' ')), left);
    QCOMPARE(shown().join(QLatin1Char(' ')), left);
    QCOMPARE(find->table->currentIndex(), at(currentRow, PhraseStore::Str));
    QVERIFY(!find->watcher->isHardStopped());
}

void TestTypeFind::copy_countsUseInFile()
{
    show({QStringLiteral("alpha|<b>alpha</b>|1"), QStringLiteral("bravo||5")});
    // Another copy of the program counted uses meanwhile; this one has not reloaded.
    QVERIFY(QSqlQuery().exec(QStringLiteral("UPDATE TypeText SET Frequency = Frequency + 10")));
    select({{0, PhraseStore::Str}, {1, PhraseStore::Labels}}, QPoint(0, PhraseStore::Str));
    find->copyPhrase();

    const QMimeData *mime = QApplication::clipboard()->mimeData();
    QCOMPARE(mime->text() + mime->html(), QStringLiteral("alpha<b>alpha</b>"));
    const QVector<PhraseRecord> records = decodePhraseRecords(mime->data(clipboardFormat));
    QCOMPARE(records.size(), 2);
    QCOMPARE(records.at(1).str, QStringLiteral("bravo"));
    // The payload carries the counts as the file holds them after this use.
    QCOMPARE(records.at(0).frequency, 12);
    QCOMPARE(records.at(1).frequency, 16);
    QCOMPARE(rows(QStringLiteral("SELECT Frequency FROM TypeText ORDER BY Str")), L("12,16"));
    QCOMPARE(shown(PhraseStore::Frequency), L("12,16"));
    QVERIFY(find->pastePhraseAction->isEnabled());
}

// Phrases copied in the program come back whole, null texts as NULL, above the cursor.
void TestTypeFind::paste_storesRecords()
{
    show({QStringLiteral("zulu")});
    const PhraseRecord one{QStringLiteral("One"), QStringLiteral("l"), {}, {}, QString(), 0, 4};
    auto *mime = new QMimeData;
    mime->setData(clipboardFormat, encodePhraseRecords({one, PhraseRecord{QStringLiteral("Two")}}));
    QApplication::clipboard()->setMimeData(mime);
    find->table->setCurrentIndex(at(0, PhraseStore::Labels));
    find->pastePhrase();
    QCOMPARE(rows(QStringLiteral("SELECT Str, StrLower, Labels, Html, Frequency FROM TypeText WHERE id > 1")),
             L("One|one|l|<null>|4,Two|two|||0"));
    QCOMPARE(find->table->currentIndex(), at(shown().indexOf(QStringLiteral("One")), PhraseStore::Labels));
    QVERIFY(!find->watcher->isHardStopped());
}

void TestTypeFind::cellEdit_storesWithShadow_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::newRow("phrase drops its rich text") << int(PhraseStore::Str) << "Ёж Ы"
                                                << "Ёж Ы|ёж ы||||0";
    QTest::newRow("phrase unchanged") << int(PhraseStore::Str) << "Old"
                                      << "Old|old|<i>Old</i>|||0";
    QTest::newRow("labels") << int(PhraseStore::Labels) << "Ёж Ы"
                            << "Old|old|<i>Old</i>|ёж ы||0";
    QTest::newRow("keyword") << int(PhraseStore::KeyWord) << "Ёж Ы"
                             << "Old|old|<i>Old</i>||ёж ы|0";
    QTest::newRow("rating") << int(PhraseStore::Rating) << "42"
                            << "Old|old|<i>Old</i>|||42";
}

void TestTypeFind::cellEdit_storesWithShadow()
{
    QFETCH(int, field);
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    show({QStringLiteral("Old|<i>Old</i>")});
    QSignalSpy html(find, &TypeFind::setHtml);
    // A second binding, as after a switch of file: still one connection to the editor.
    find->setupModel();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const QModelIndex cell = at(0, PhraseStore::Field(field));
    typeInto(cell, typed);
    QCOMPARE(rows(QStringLiteral("SELECT Str, StrLower, Html, LabelLower, KeyLower, Rating FROM TypeText")),
             QStringList{stored});
    QCOMPARE(cell.data().toString(), typed);
    const bool changedPhrase = field == PhraseStore::Str && typed != QLatin1String("Old");
    QCOMPARE(html.count(), changedPhrase ? 1 : 0);
}

void TestTypeFind::writeHtml_landsOnSentPhrase()
{
    show({QStringLiteral("alpha"), QStringLiteral("bravo")});
    find->table->setCurrentIndex(at(0, PhraseStore::Str));
    // The rows move before the editor hands the phrase back.
    find->table->sortByColumn(col(PhraseStore::Str), Qt::DescendingOrder);
    find->writeHtml(QStringLiteral("<p>Ünï</p>"), QStringLiteral("Ünï"));
    QCOMPARE(rows(QStringLiteral("SELECT Str, StrLower, Html FROM TypeText ORDER BY id")),
             L("Ünï|ünï|<p>Ünï</p>,bravo|bravo|<null>"));
    // Hidden by a search, the phrase is still written in the file.
    find->findChild<QLineEdit *>()->setText(QStringLiteral("bravo"));
    find->findStart();
    find->writeHtml(QStringLiteral("<p>again</p>"), QStringLiteral("again"));
    QCOMPARE(rows(QStringLiteral("SELECT Str FROM TypeText ORDER BY id")), L("again,bravo"));
}

// Each writing operation on "bravo", first with an empty row inserted above it and left
// alone, which must hold nothing up; then with the file locked by another program, which
// must show in the status bar while the table keeps what the file holds.
void TestTypeFind::writes_data()
{
    QTest::addColumn<Operation>("operation");
    QTest::addColumn<QStringList>("stored"); // text and uses
    QTest::addColumn<bool>("emptyRowLeft");  // only row operations take it away
    const auto row = [](const char *name, Operation operation, const char *stored, bool emptyRowLeft) {
        QTest::newRow(name) << operation << L(stored) << emptyRowLeft;
    };
    row("copy", Operation::Copy, "alpha 0,bravo 1", false);
    row("row header", Operation::RowHeader, "alpha 0,bravo 1", false);
    row("paste", Operation::Paste, "alpha 0,bravo 0,pasted 0", false);
    row("delete", Operation::Delete, "alpha 0", false);
    row("editor", Operation::Editor, "alpha 0,edited 0", true);
    row("cell", Operation::Cell, "alpha 0,edited 0", true);
}

void TestTypeFind::writes()
{
    QFETCH(Operation, operation);
    QFETCH(bool, emptyRowLeft);
    const QString sql = QStringLiteral("SELECT Str || ' ' || Frequency FROM TypeText ORDER BY Str");
    show({QStringLiteral("alpha"), QStringLiteral("bravo")});
    find->table->setCurrentIndex(at(0, PhraseStore::Str));
    find->insertRow();
    QCOMPARE(find->model->rowCount(), 3);
    find->table->setCurrentIndex(at(2, PhraseStore::Str));
    runOperation(operation);
    QTEST(rows(sql), "stored");
    QCOMPARE(shown().contains(QString()), emptyRowLeft);
    QVERIFY2(!lastMessage().startsWith(QLatin1String("Unable")), qPrintable(lastMessage()));

    find->changedFile(QString());
    find->table->setCurrentIndex(at(0, PhraseStore::Str));
    const QStringList before = rows(sql) + shown(PhraseStore::Frequency);
    QSqlQuery lock(otherCopy());
    QVERIFY(lock.exec(QStringLiteral("BEGIN EXCLUSIVE")));
    runOperation(operation);
    QVERIFY(lock.exec(QStringLiteral("ROLLBACK")));
    // The database's own words, without the driver's tail.
    QCOMPARE(lastMessage(), QStringLiteral("Unable to save the phrase - database is locked"));
    QCOMPARE(rows(sql) + shown(PhraseStore::Frequency), before);
}

// Whichever cell of the new empty row is typed into, the phrase is stored with that field
// alone, its search copy in lower case, and the cursor follows it into that column.
void TestTypeFind::pendingRow_typedIntoBecomesPhrase_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("str");
    QTest::addColumn<QString>("labels");
    QTest::addColumn<QString>("keyWord");
    QTest::addColumn<int>("rating");
    const QString typed = QStringLiteral("Ёж Ы"), none;
    QTest::newRow("phrase") << int(PhraseStore::Str) << typed << typed << none << none << 0;
    QTest::newRow("labels") << int(PhraseStore::Labels) << typed << none << typed << none << 0;
    QTest::newRow("comment") << int(PhraseStore::KeyWord) << typed << none << none << typed << 0;
    QTest::newRow("rating") << int(PhraseStore::Rating) << QStringLiteral("42") << none << none << none << 42;
}

void TestTypeFind::pendingRow_typedIntoBecomesPhrase()
{
    QFETCH(int, field);
    QFETCH(QString, typed);
    show({QStringLiteral("alpha")});
    find->appendRow();
    QCOMPARE(find->table->currentIndex(), at(1, PhraseStore::Str));
    QCOMPARE(rows(QStringLiteral("SELECT count(*) FROM TypeText")), L("1"));
    typeInto(at(1, PhraseStore::Field(field)), typed);
    QSqlQuery added(QStringLiteral("SELECT * FROM TypeText WHERE id > 1"));
    QVERIFY(added.next());
    QTEST(added.value(QStringLiteral("Str")).toString(), "str");
    QTEST(added.value(QStringLiteral("Labels")).toString(), "labels");
    QTEST(added.value(QStringLiteral("KeyWord")).toString(), "keyWord");
    QTEST(added.value(QStringLiteral("Rating")).toInt(), "rating");
    QCOMPARE(added.value(QStringLiteral("StrLower")).toString(),
             added.value(QStringLiteral("Str")).toString().toLower());
    QCOMPARE(added.value(QStringLiteral("LabelLower")).toString(),
             added.value(QStringLiteral("Labels")).toString().toLower());
    QCOMPARE(added.value(QStringLiteral("KeyLower")).toString(),
             added.value(QStringLiteral("KeyWord")).toString().toLower());
    QVERIFY(!added.next());
    const qint64 id = find->model->value(find->table->currentIndex().row(), PhraseStore::Id).toLongLong();
    QCOMPARE(id, 2);
    QCOMPARE(find->table->currentIndex().column(), col(PhraseStore::Field(field)));
    // From the editor, the new phrase takes the rich text too.
    find->appendRow();
    runOperation(Operation::Editor);
    QCOMPARE(rows(QStringLiteral("SELECT Str, Html FROM TypeText WHERE id = 3")), L("edited|<b>edited</b>"));
}

void TestTypeFind::readOnlyFile_copiesWithoutWriting()
{
    QSqlQuery().exec(QStringLiteral("INSERT INTO TypeText (Str, Frequency) VALUES ('alpha', 2)"));
    // A file nobody may write; the connection opens it as SQLite does such a file.
    QFile::setPermissions(nameFileDB, QFile::ReadOwner);
    QSqlDatabase db = QSqlDatabase::database();
    db.close();
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
    QVERIFY(db.open());
    show({});
    find->table->setFocus();
    find->table->setCurrentIndex(at(0, PhraseStore::Str));
    QTRY_VERIFY(find->copyPhraseAction->isEnabled());
    QVERIFY(!(at(0, PhraseStore::Str).flags() & Qt::ItemIsEditable));
    for (QAction *action : {find->pastePhraseAction, find->deletePhraseAction, find->appendPhraseAction})
        QVERIFY2(!action->isEnabled(), qPrintable(action->text()));
    messages->clear();
    find->copyPhrase();
    find->copyPhrase();
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("alpha"));
    QCOMPARE(messages->size(), 1);
    QVERIFY2(lastMessage().contains(QLatin1String("read-only")), qPrintable(lastMessage()));
    find->insertRow();
    QCOMPARE(shown(PhraseStore::Frequency), L("2"));
}

void TestTypeFind::longPhrase_showsStartCopiesWhole()
{
    const QString phrase = QStringLiteral("Ёлка ").repeated(2'000'000); // 10 million characters
    QSqlQuery insert;
    insert.prepare(QStringLiteral("INSERT INTO TypeText (Str, StrLower) VALUES (?, ?)"));
    insert.addBindValue(phrase);
    insert.addBindValue(phrase.toLower());
    QVERIFY(insert.exec());
    show({QStringLiteral("short")});
    const QModelIndex cell = at(shown().indexOf(QStringLiteral("short")) == 0 ? 1 : 0, PhraseStore::Str);
    QVERIFY(cell.data().toString().size() <= PhraseModel::shownLength + 1);
    QVERIFY(!(cell.flags() & Qt::ItemIsEditable));
    QSignalSpy html(find, &TypeFind::setHtml);
    find->table->setCurrentIndex(cell);
    QCOMPARE(html.last().at(0).toString(), phrase);
    find->copyPhrase();
    QCOMPARE(QApplication::clipboard()->text(), phrase);
    QCOMPARE(decodePhraseRecords(QApplication::clipboard()->mimeData()->data(clipboardFormat)).value(0).str, phrase);
}

void TestTypeFind::bigPaste_asksOnceOneTransaction_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("empty");
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("stored");
    QTest::newRow("1000, not asked") << 1000 << false << -1 << 1000;
    QTest::newRow("yes") << 1001 << false << int(QMessageBox::Yes) << 1001;
    QTest::newRow("no") << 1200 << false << int(QMessageBox::No) << 0;
    QTest::newRow("empty records") << 20000 << true << -1 << 0;
    QTest::newRow("refused at the end") << 20000 << false << int(QMessageBox::Yes) << 0;
}

void TestTypeFind::bigPaste_asksOnceOneTransaction()
{
    QFETCH(int, count);
    QFETCH(bool, empty);
    QFETCH(int, answer);
    QFETCH(int, stored);
    show({QStringLiteral("zulu")});
    // The last phrase is refused: in one transaction, none of the others may stay.
    if (count == 20000 && !empty)
        QVERIFY(QSqlQuery().exec(QStringLiteral("CREATE TEMP TRIGGER full BEFORE INSERT ON TypeText WHEN NEW.Str = "
                                                "'p19999' BEGIN SELECT RAISE(ROLLBACK, 'disk full'); END")));
    QVector<PhraseRecord> records(count);
    for (int i = 0; i < count && !empty; ++i)
        records[i].str = QStringLiteral("p%1").arg(i);
    auto *mime = new QMimeData;
    mime->setData(clipboardFormat, encodePhraseRecords(records));
    QApplication::clipboard()->setMimeData(mime);
    find->table->setCurrentIndex(at(0, PhraseStore::Str));
    DialogDriver driver;
    if (answer >= 0)
        driver.answerMessage(QMessageBox::StandardButton(answer));
    find->pastePhrase();
    QCOMPARE(driver.trouble(), QString());
    QCOMPARE(driver.texts, answer >= 0 ? QStringList{QStringLiteral("Paste %1 phrase(s)?").arg(count)} : QStringList());
    QCOMPARE(rows(QStringLiteral("SELECT count(*) - 1 FROM TypeText")), QStringList{QString::number(stored)});
}

// The editor's phrase "base" is written as "mine" after another copy (connection
// "other") did what `theirs` says; a conflict is asked and answered with `answer`.
void TestTypeFind::editorWrite_againstAnotherCopy_data()
{
    QTest::addColumn<QString>("theirs");
    QTest::addColumn<QString>("answer"); // the button pressed; empty: no question may come
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<QString>("editorShows"); // empty: not sent again
    QTest::addColumn<QStringList>("mineUses");
    const QString changed = QStringLiteral("UPDATE TypeText SET Str = 'theirs', Labels = 'their label'");
    const QString deleted = QStringLiteral("DELETE FROM TypeText");
    QTest::newRow("nobody else wrote") << ""
                                       << "" << L("mine|label") << "" << L("5");
    QTest::newRow("changed, keep both") << changed << "&Keep both" << L("mine|label,theirs|their label")
                                        << "<b>mine</b>" << L("0");
    QTest::newRow("changed, overwrite") << changed << "&Overwrite" << L("mine|their label") << "<b>mine</b>" << L("5");
    QTest::newRow("changed, discard mine")
        << changed << "&Discard mine" << L("theirs|their label") << "theirs" << QStringList();
    QTest::newRow("deleted, overwrite") << deleted << "&Overwrite" << L("mine|label") << "<b>mine</b>" << L("0");
    QTest::newRow("deleted, discard mine") << deleted << "&Discard mine" << QStringList() << "" << QStringList();
}

void TestTypeFind::editorWrite_againstAnotherCopy()
{
    QFETCH(QString, theirs);
    QFETCH(QString, answer);
    show({QStringLiteral("base")});
    QVERIFY(QSqlQuery().exec(QStringLiteral("UPDATE TypeText SET Labels = 'label', Frequency = 5")));
    find->changedFile(QString());
    find->table->setCurrentIndex(at(0, PhraseStore::Str));
    if (!theirs.isEmpty())
        QVERIFY(QSqlQuery(otherCopy()).exec(theirs));

    DialogDriver driver;
    QString asked;
    if (!answer.isEmpty()) {
        driver.expect([&asked, answer](QWidget *w) {
            asked = static_cast<QMessageBox *>(w)->text();
            for (auto *button : w->findChildren<QAbstractButton *>())
                if (button->text() == answer)
                    return button->click();
            w->close();
        });
    }
    QSignalSpy stored(find, &TypeFind::htmlStored);
    QSignalSpy editor(find, &TypeFind::setHtml);
    find->writeHtml(QStringLiteral("<b>mine</b>"), QStringLiteral("mine"));
    QCOMPARE(stored.count(), 1);
    QCOMPARE(stored.at(0).at(0).toBool(), answer.isEmpty());
    QTRY_VERIFY(driver.done());
    QCoreApplication::processEvents();
    QVERIFY2(driver.unexpected.isEmpty(), qPrintable(driver.unexpected.join(QLatin1Char('|'))));
    QCOMPARE(asked.contains(QLatin1String("deleted")), theirs == QLatin1String("DELETE FROM TypeText"));
    QTEST(rows(QStringLiteral("SELECT Str || '|' || Labels FROM TypeText ORDER BY Str")), "stored");
    // A phrase kept beside the other starts its own count; whatever the file keeps, the table shows.
    QTEST(rows(QStringLiteral("SELECT Frequency FROM TypeText WHERE Str = 'mine'")), "mineUses");
    QCOMPARE(shown(PhraseStore::Str), rows(QStringLiteral("SELECT Str FROM TypeText ORDER BY Str")));
    QTEST(editor.isEmpty() ? QString() : editor.last().at(0).toString(), "editorShows");
}

// Entered with nothing unsaved, the editor gets its phrase as the file holds it now,
// from one row read again; the next write is based on that.
void TestTypeFind::editorEntered_showsFileVersion()
{
    show({QStringLiteral("alpha"), QStringLiteral("bravo")});
    find->table->setCurrentIndex(at(1, PhraseStore::Str));
    QSignalSpy editor(find, &TypeFind::setHtml);
    QSignalSpy resets(find->model, &QAbstractItemModel::modelReset);
    find->refreshEditor();
    QCOMPARE(editor.count(), 0);
    QVERIFY(QSqlQuery().exec(QStringLiteral("UPDATE TypeText SET Str = 'b2', Html = '<i>b2</i>' WHERE Str = 'bravo'")));
    // While another program holds the file, the editor keeps what it shows, without a word.
    QSqlQuery lock(otherCopy());
    QVERIFY(lock.exec(QStringLiteral("BEGIN EXCLUSIVE")));
    messages->clear();
    find->refreshEditor();
    QVERIFY(lock.exec(QStringLiteral("ROLLBACK")));
    QCOMPARE(editor.count(), 0);
    QCOMPARE(messages->count(), 0);
    find->refreshEditor();
    QCOMPARE(editor.count(), 1);
    QCOMPARE(editor.last().at(0).toString(), QStringLiteral("<i>b2</i>"));
    QCOMPARE(shown(), L("alpha,b2"));
    QCOMPARE(resets.count(), 0);
    DialogDriver driver;
    find->writeHtml(QStringLiteral("<b>b3</b>"), QStringLiteral("b3"));
    QCoreApplication::processEvents();
    QVERIFY(driver.unexpected.isEmpty());
    QCOMPARE(rows(QStringLiteral("SELECT Str FROM TypeText ORDER BY Str")), L("alpha,b3"));
}

// The watcher's next check after the program's own use count leaves the table and a
// selection of several phrases alone; another copy's commit reloads it.
void TestTypeFind::ownUse_reloadsNothing()
{
    show({QStringLiteral("alpha"), QStringLiteral("bravo"), QStringLiteral("charlie")});
    select({{0, PhraseStore::Str}, {1, PhraseStore::Str}}, {1, PhraseStore::Str});
    QSignalSpy resets(find->model, &QAbstractItemModel::modelReset);
    find->copyPhrase();
    find->watcher->period();
    QCOMPARE(resets.count(), 0);
    QCOMPARE(find->table->selectionModel()->selectedIndexes().size(), 2);
    QCOMPARE(shown(PhraseStore::Frequency), L("1,1,0"));
    QVERIFY(QSqlQuery(otherCopy()).exec(QStringLiteral("UPDATE TypeText SET Frequency = 7")));
    find->watcher->period();
    QCOMPARE(shown(PhraseStore::Frequency), L("7,7,7"));
}

// A cell edit is based on the cell as listed: another copy's change of that field meanwhile
// is asked about; "Discard mine" leaves theirs in the file and in the table.
void TestTypeFind::cellEdit_againstAnotherCopy_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("theirs");
    QTest::addColumn<bool>("asked");
    const auto row = [](const char *name, PhraseStore::Field field, const char *typed, const char *theirs, bool asked) {
        QTest::newRow(name) << int(field) << QString::fromUtf8(typed) << QString::fromUtf8(theirs) << asked;
    };
    row("phrase", PhraseStore::Str, "mine", "theirs", true);
    row("labels", PhraseStore::Labels, "mine", "theirs", true);
    row("comment", PhraseStore::KeyWord, "mine", "theirs", true);
    row("rating", PhraseStore::Rating, "40", "30", true);
    row("rating, same value meanwhile", PhraseStore::Rating, "40", "40", false);
}

void TestTypeFind::cellEdit_againstAnotherCopy()
{
    QFETCH(int, field);
    QFETCH(QString, typed);
    QFETCH(QString, theirs);
    QFETCH(bool, asked);
    show({QStringLiteral("base")});
    const QString name = PhraseStore::fieldName(PhraseStore::Field(field));
    QVERIFY(QSqlQuery(otherCopy()).exec(QStringLiteral("UPDATE TypeText SET %1 = '%2'").arg(name, theirs)));
    DialogDriver driver;
    if (asked) {
        driver.expect([](QWidget *w) {
            for (auto *button : w->findChildren<QAbstractButton *>())
                if (button->text() == QLatin1String("&Discard mine"))
                    return button->click();
            w->close();
        });
    }
    const QModelIndex cell = at(0, PhraseStore::Field(field));
    typeInto(cell, typed);
    QTRY_VERIFY(driver.done());
    QCoreApplication::processEvents();
    QVERIFY(driver.unexpected.isEmpty());
    QCOMPARE(rows(QStringLiteral("SELECT %1 FROM TypeText").arg(name)), QStringList{theirs});
    QCOMPARE(at(0, PhraseStore::Field(field)).data().toString(), theirs);
}

// An empty row taken away again returns the cursor to the phrase the user was on; a phrase
// typed into a new row leaves the focus in the table, on the new phrase; an unchanged
// commit of a long rich phrase keeps its rich text.
void TestTypeFind::newRow_focusAndCursor()
{
    const QString longText = QStringLiteral("long ").repeated(120);
    show({QStringLiteral("alpha"), QStringLiteral("bravo"), longText + QStringLiteral("|<b>long</b>")});
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.data()));
    find->table->setFocus();
    find->table->setCurrentIndex(at(1, PhraseStore::Labels));
    find->insertRow();
    find->insertRow();
    QCOMPARE(find->table->currentIndex(), at(1, PhraseStore::Labels));
    QCOMPARE(shown(), L("alpha,bravo") << longText);

    find->appendRow();
    find->table->edit(find->table->currentIndex());
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("typed"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); // committed from the event loop
    QTRY_COMPARE(rows(QStringLiteral("SELECT count(*) FROM TypeText WHERE Str = 'typed'")), L("1"));
    QCOMPARE(find->model->value(find->table->currentIndex().row(), PhraseStore::Str).toString(),
             QStringLiteral("typed"));
    QCOMPARE(QApplication::focusWidget(), find->table);

    const QModelIndex cell = at(shown().indexOf(longText), PhraseStore::Str);
    find->table->setCurrentIndex(cell);
    find->table->edit(cell);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTRY_COMPARE(QApplication::focusWidget(), find->table);
    QCOMPARE(rows(QStringLiteral("SELECT Html FROM TypeText WHERE Str LIKE 'long%'")), L("<b>long</b>"));
}

QTEST_MAIN(TestTypeFind)
#include "tst_typefind.moc"
