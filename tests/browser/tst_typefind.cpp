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
#include <QMainWindow>
#include <QMimeData>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QtTest>

#include <functional>

// A writing operation, as the user starts it on the current phrase.
using Operation = std::function<void()>;
Q_DECLARE_METATYPE(Operation)

static QStringList L(const char *items)
{
    return QString::fromUtf8(items).split(QLatin1Char(','));
}

// The browser dock's wiring: its slots on a copy of the empty template, in a window whose focus rests
// elsewhere so that the watcher stays quiet. What the slots hand the work to (the row after a deletion,
// the action states, the search text, the conditional writes) has tests of its own. Another
// connection to the same file stands in for another running copy of the program.
class TestTypeFind : public QObject
{
    Q_OBJECT

    QScopedPointer<TestHome> home;
    QScopedPointer<QMainWindow> window;
    QScopedPointer<QSignalSpy> messages;
    TypeFind *find = nullptr;

    // Each phrase is "text" or "text|html|count"; the table shows them sorted by text.
    void show(const QStringList &phrases)
    {
        QSqlQuery query;
        query.prepare(QStringLiteral("INSERT INTO TypeText (Str, StrLower, Html, Frequency) VALUES (?, ?, ?, ?)"));
        for (const QString &phrase : phrases) {
            const QStringList parts = phrase.split(QLatin1Char('|'));
            query.addBindValue(parts.at(0));
            query.addBindValue(parts.at(0).toLower());
            query.addBindValue(parts.value(1));
            query.addBindValue(parts.value(2).toInt());
            QVERIFY(query.exec());
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
    int col(PhraseStore::Field field) const { return find->model->column(field); }
    QModelIndex at(int row, PhraseStore::Field field) const { return find->model->index(row, col(field)); }
    QString current(PhraseStore::Field field = PhraseStore::Str) const
    {
        return find->model->value(find->table->currentIndex().row(), field).toString();
    }
    void search(const QString &text)
    {
        find->findChild<QLineEdit *>()->setText(text);
        find->findStart();
    }
    QStringList shown(PhraseStore::Field field = PhraseStore::Str) const
    {
        QStringList texts;
        for (int row = 0; row < find->model->rowCount(); ++row)
            texts << find->model->value(row, field).toString();
        return texts;
    }
    // Each row of the result as its fields joined by "|".
    static QStringList rows(const QString &sql)
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
    // A connection of another running copy to the same file.
    static QSqlDatabase otherCopy()
    {
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
        other.setDatabaseName(nameFileDB);
        other.open();
        return other;
    }
    QString lastMessage() const { return messages->isEmpty() ? QString() : messages->last().at(0).toString(); }

    // What the column's own editor commits, as when the user types into the cell.
    void typeInto(const QModelIndex &cell, const QString &typed)
    {
        QAbstractItemDelegate *delegate = find->table->itemDelegateForColumn(cell.column());
        QScopedPointer<QWidget> editor(delegate->createEditor(find->table, {}, cell));
        editor->setProperty(editor->metaObject()->userProperty().name(), typed);
        delegate->setModelData(editor.data(), find->model, cell);
    }

    // Presses the conflict question's button of that text; `asked` gets the question.
    static void answerConflict(DialogDriver *driver, const QString &button, QString *asked = nullptr)
    {
        driver->expect([button, asked](QWidget *w) {
            if (asked)
                *asked = static_cast<QMessageBox *>(w)->text();
            for (auto *candidate : w->findChildren<QAbstractButton *>())
                if (candidate->text() == button)
                    return candidate->click();
            w->close();
        });
    }

private slots:
    void init()
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

    void cleanup()
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

    // A phrase another copy adds above keeps the cursor on its phrase; a search reports what it found,
    // and one SQLite would refuse is refused first, never reading as "not found".
    void outsideChangeAndSearch()
    {
        show(L("bravo,charlie,delta"));
        find->table->setCurrentIndex(at(1, PhraseStore::Labels));
        QVERIFY(QSqlQuery(otherCopy()).exec(QStringLiteral("INSERT INTO TypeText (Str) VALUES ('alpha')")));
        find->changedFile(nameFileDB);
        QCOMPARE(find->table->currentIndex(), at(2, PhraseStore::Labels));
        search(QStringLiteral("CHARL"));
        QCOMPARE(shown(), L("charlie"));
        QCOMPARE(lastMessage(), QStringLiteral("1 phrase(s) have been found."));
        search(QStringLiteral("x").repeated(maxSearchLength + 1));
        QCOMPARE(lastMessage(), searchTooLongNote());
        QCOMPARE(shown(), L("charlie"));
    }

    // Delete asks first, with the count of the selected phrases; once answered yes, the cursor stays on
    // its phrase, found again by its id.
    void delete_asksAndMovesCursor()
    {
        show(L("c,a,d,b"));
        QItemSelectionModel *selection = find->table->selectionModel();
        selection->setCurrentIndex(at(1, PhraseStore::Str), QItemSelectionModel::NoUpdate);
        DialogDriver driver;
        driver.answerMessage(QMessageBox::No);
        find->deleteRow();
        selection->select(at(0, PhraseStore::Str), QItemSelectionModel::ClearAndSelect);
        selection->select(at(2, PhraseStore::Str), QItemSelectionModel::Select);
        driver.answerMessage(QMessageBox::Yes);
        find->deleteRow();
        QVERIFY(driver.done());
        QCOMPARE(driver.texts, QStringList({QStringLiteral("Do you want to delete this phrase?"),
                                            QStringLiteral("Do you want to delete 2 phrase(s)?")}));
        QCOMPARE(rows(QStringLiteral("SELECT Str FROM TypeText ORDER BY Str")), L("b,d"));
        QCOMPARE(shown(), L("b,d"));
        QCOMPARE(find->table->currentIndex(), at(0, PhraseStore::Str));
        QVERIFY(!find->watcher->isHardStopped());
    }

    // Copying counts a use of each selected phrase in the file, which another copy may have counted
    // meanwhile; the clipboard carries the phrase and the counts as the file then holds them.
    void copy_countsUseInFile()
    {
        show({QStringLiteral("alpha|<b>alpha</b>|1"), QStringLiteral("bravo||5")});
        QVERIFY(QSqlQuery(otherCopy()).exec(QStringLiteral("UPDATE TypeText SET Frequency = Frequency + 10")));
        find->table->setCurrentIndex(at(0, PhraseStore::Str));
        find->table->selectAll();
        find->copyPhrase();
        const QMimeData *mime = QApplication::clipboard()->mimeData();
        QCOMPARE(mime->text() + mime->html(), QStringLiteral("alpha<b>alpha</b>"));
        const QVector<PhraseRecord> records = decodePhraseRecords(mime->data(clipboardFormat));
        QCOMPARE(records.size(), 2);
        QCOMPARE(records.at(1).str + QString::number(records.at(0).frequency) +
                     QString::number(records.at(1).frequency),
                 QStringLiteral("bravo1216"));
        QCOMPARE(rows(QStringLiteral("SELECT Frequency FROM TypeText ORDER BY Str")), L("12,16"));
        QCOMPARE(shown(PhraseStore::Frequency), L("12,16"));
        QVERIFY(find->pastePhraseAction->isEnabled());
    }

    void paste_asksAboveThousand_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<bool>("empty");
        QTest::addColumn<int>("answer"); // -1: no question may come
        QTest::addColumn<int>("stored");
        QTest::newRow("1000, not asked") << 1000 << false << -1 << 1000;
        QTest::newRow("1001, yes") << 1001 << false << int(QMessageBox::Yes) << 1001;
        QTest::newRow("1001, no") << 1001 << false << int(QMessageBox::No) << 0;
        QTest::newRow("empty records") << 1001 << true << -1 << 0;
    }

    // Phrases copied in the program come back as phrases of their own, the cursor on the first.
    void paste_asksAboveThousand()
    {
        QFETCH(int, count);
        QFETCH(bool, empty);
        QFETCH(int, answer);
        QFETCH(int, stored);
        show({QStringLiteral("zulu")});
        QVector<PhraseRecord> records(count);
        for (int i = 0; i < count && !empty; ++i)
            records[i] = PhraseRecord{QStringLiteral("P%1").arg(i, 4, 10, QLatin1Char('0')), QStringLiteral("l")};
        auto *mime = new QMimeData;
        mime->setData(clipboardFormat, encodePhraseRecords(records));
        QApplication::clipboard()->setMimeData(mime);
        find->table->setCurrentIndex(at(0, PhraseStore::Str));
        DialogDriver driver;
        if (answer >= 0)
            driver.answerMessage(QMessageBox::StandardButton(answer));
        find->pastePhrase();
        QCOMPARE(driver.trouble(), QString());
        QCOMPARE(driver.texts,
                 answer >= 0 ? QStringList{QStringLiteral("Paste %1 phrase(s)?").arg(count)} : QStringList());
        QCOMPARE(rows(QStringLiteral("SELECT count(*) FROM TypeText WHERE Labels = 'l' AND StrLower = lower(Str)")),
                 QStringList{QString::number(stored)});
        QCOMPARE(current(), stored ? QStringLiteral("P0000") : QStringLiteral("zulu"));
    }

    void cellEdit_stores_data()
    {
        QTest::addColumn<bool>("newRow"); // typed into the empty row Append put in, else into "Old"
        QTest::addColumn<int>("field");   // Html: written back from the editor
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("theirs"); // stored in the field by another copy first
        QTest::addColumn<QString>("stored"); // Str|StrLower|Html|Labels|LabelLower|KeyWord|KeyLower|Rating
        const auto row = [](const char *name, bool newRow, PhraseStore::Field field, const char *typed,
                            const char *theirs, const char *stored) {
            QTest::newRow(name) << newRow << int(field) << QString::fromUtf8(typed) << QString::fromUtf8(theirs)
                                << QString::fromUtf8(stored);
        };
        row("phrase drops its rich text", false, PhraseStore::Str, "Ёж Ы", "", "Ёж Ы|ёж ы||||||0");
        row("phrase unchanged", false, PhraseStore::Str, "Old", "", "Old|old|<i>Old</i>|||||0");
        row("labels", false, PhraseStore::Labels, "Ёж Ы", "", "Old|old|<i>Old</i>|Ёж Ы|ёж ы|||0");
        row("comment", false, PhraseStore::KeyWord, "Ёж Ы", "", "Old|old|<i>Old</i>|||Ёж Ы|ёж ы|0");
        row("rating", false, PhraseStore::Rating, "42", "", "Old|old|<i>Old</i>|||||42");
        row("phrase changed meanwhile", false, PhraseStore::Str, "mine", "theirs", "theirs|old|<i>Old</i>|||||0");
        row("labels changed meanwhile", false, PhraseStore::Labels, "mine", "theirs", "Old|old|<i>Old</i>|theirs||||0");
        row("rating, same value meanwhile", false, PhraseStore::Rating, "40", "40", "Old|old|<i>Old</i>|||||40");
        row("new row: phrase", true, PhraseStore::Str, "Ёж Ы", "", "Ёж Ы|ёж ы||||||0");
        row("new row: labels", true, PhraseStore::Labels, "Ёж Ы", "", "|||Ёж Ы|ёж ы|||0");
        row("new row: comment", true, PhraseStore::KeyWord, "Ёж Ы", "", "|||||Ёж Ы|ёж ы|0");
        row("new row: rating", true, PhraseStore::Rating, "42", "", "|||||||42");
        row("new row: from the editor", true, PhraseStore::Html, "Ёж Ы", "", "Ёж Ы|ёж ы|<b>Ёж Ы</b>|||||0");
    }

    // What each column's editor commits is stored with its lower-case search copy, and the cursor
    // stays on it; an edited phrase drops its rich text and goes to the editor once. Typed into the
    // new empty row, it is a phrase of that field alone. The edit is based on the cell as listed:
    // another copy's change meanwhile is asked about, and "Discard mine" leaves theirs.
    void cellEdit_stores()
    {
        QFETCH(bool, newRow);
        QFETCH(int, field);
        QFETCH(QString, typed);
        QFETCH(QString, theirs);
        show({QStringLiteral("Old|<i>Old</i>")});
        // A second binding, as after a switch of file: still one connection to the editor.
        find->setupModel();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (newRow)
            find->appendRow();
        const bool fromEditor = field == PhraseStore::Html;
        const QModelIndex cell = at(newRow ? 1 : 0, fromEditor ? PhraseStore::Str : PhraseStore::Field(field));
        find->table->setCurrentIndex(cell);
        QSignalSpy html(find, &TypeFind::setHtml);
        const QString name = PhraseStore::fieldName(PhraseStore::Field(field));
        if (!theirs.isEmpty())
            QVERIFY(QSqlQuery(otherCopy()).exec(QStringLiteral("UPDATE TypeText SET %1 = '%2'").arg(name, theirs)));
        const bool asked = !theirs.isEmpty() && theirs != typed;
        DialogDriver driver;
        if (asked)
            answerConflict(&driver, QStringLiteral("&Discard mine"));
        if (fromEditor)
            find->writeHtml(QStringLiteral("<b>%1</b>").arg(typed), typed);
        else
            typeInto(cell, typed);
        QTRY_VERIFY(driver.done());
        QCoreApplication::processEvents();
        QVERIFY(driver.unexpected.isEmpty());
        QTEST(rows(QStringLiteral("SELECT Str, StrLower, Html, Labels, LabelLower, KeyWord, KeyLower, Rating "
                                  "FROM TypeText ORDER BY id"))
                  .value(newRow ? 1 : 0),
              "stored");
        QCOMPARE(rows(QStringLiteral("SELECT count(*) FROM TypeText")), QStringList{QString::number(1 + newRow)});
        QCOMPARE(find->model->index(find->table->currentIndex().row(), cell.column()).data().toString(),
                 asked ? theirs : typed);
        QCOMPARE(find->table->currentIndex().column(), cell.column());
        // Moves of the cursor send the phrase too.
        if (!newRow && !asked)
            QCOMPARE(html.count(), field == PhraseStore::Str && typed != QLatin1String("Old") ? 1 : 0);
    }

    // The rows move before the editor hands the phrase back: the edit still lands on the phrase
    // sent, even one a search hides.
    void writeHtml_landsOnSentPhrase()
    {
        show(L("alpha,bravo"));
        find->table->setCurrentIndex(at(0, PhraseStore::Str));
        find->table->sortByColumn(col(PhraseStore::Str), Qt::DescendingOrder);
        find->writeHtml(QStringLiteral("<p>Ünï</p>"), QStringLiteral("Ünï"));
        QCOMPARE(rows(QStringLiteral("SELECT Str, StrLower, Html FROM TypeText ORDER BY id")),
                 L("Ünï|ünï|<p>Ünï</p>,bravo|bravo|<null>"));
        search(QStringLiteral("bravo"));
        find->writeHtml(QStringLiteral("<p>again</p>"), QStringLiteral("again"));
        QCOMPARE(rows(QStringLiteral("SELECT Str FROM TypeText ORDER BY id")), L("again,bravo"));
    }

    void writes_data()
    {
        QTest::addColumn<Operation>("operation");
        QTest::addColumn<QStringList>("stored"); // text and uses
        QTest::addColumn<bool>("emptyRowLeft");  // only row operations take it away
        const auto row = [this] { return find->table->currentIndex().row(); };
        const auto edit = [this, row] { typeInto(at(row(), PhraseStore::Str), QStringLiteral("edited")); };
        const auto remove = [this] {
            DialogDriver driver;
            driver.answerMessage(QMessageBox::Yes);
            find->deleteRow();
        };
        const auto paste = [this] {
            QApplication::clipboard()->setText(QStringLiteral("pasted"));
            find->pastePhrase();
        };
        const auto editor = [this] {
            find->currentCh(find->table->currentIndex());
            find->writeHtml(QStringLiteral("<b>edited</b>"), QStringLiteral("edited"));
        };
        QTest::newRow("copy") << Operation([this] { find->copyPhrase(); }) << L("alpha 0,bravo 1") << false;
        QTest::newRow("row header") << Operation([this, row] { find->copyPhraseIndex(row()); }) << L("alpha 0,bravo 1")
                                    << false;
        QTest::newRow("paste") << Operation(paste) << L("alpha 0,bravo 0,pasted 0") << false;
        QTest::newRow("delete") << Operation(remove) << L("alpha 0") << false;
        QTest::newRow("editor") << Operation(editor) << L("alpha 0,edited 0") << true;
        QTest::newRow("cell") << Operation(edit) << L("alpha 0,edited 0") << true;
    }

    // Each writing operation on "bravo", first with an empty row inserted above it and left
    // alone, which must hold nothing up; then with the file locked by another program, which
    // must show in the status bar while the table keeps what the file holds.
    void writes()
    {
        QFETCH(Operation, operation);
        QFETCH(bool, emptyRowLeft);
        const QString sql = QStringLiteral("SELECT Str || ' ' || Frequency FROM TypeText ORDER BY Str");
        show(L("alpha,bravo"));
        find->table->setCurrentIndex(at(0, PhraseStore::Str));
        find->insertRow();
        QCOMPARE(find->model->rowCount(), 3);
        find->table->setCurrentIndex(at(2, PhraseStore::Str));
        operation();
        QTEST(rows(sql), "stored");
        QCOMPARE(shown().contains(QString()), emptyRowLeft);
        QVERIFY2(!lastMessage().startsWith(QLatin1String("Unable")), qPrintable(lastMessage()));

        find->changedFile(QString());
        find->table->setCurrentIndex(at(0, PhraseStore::Str));
        const QStringList before = rows(sql) + shown(PhraseStore::Frequency);
        QSqlQuery lock(otherCopy());
        QVERIFY(lock.exec(QStringLiteral("BEGIN EXCLUSIVE")));
        operation();
        QVERIFY(lock.exec(QStringLiteral("ROLLBACK")));
        // The database's own words, without the driver's tail.
        QCOMPARE(lastMessage(), QStringLiteral("Unable to save the phrase - database is locked"));
        QCOMPARE(rows(sql) + shown(PhraseStore::Frequency), before);
    }

    // A file nobody may write, opened as SQLite opens such a file: nothing offers a write, and
    // copying counts no use, which is said once.
    void readOnlyFile_copiesWithoutWriting()
    {
        QSqlQuery().exec(QStringLiteral("INSERT INTO TypeText (Str, Frequency) VALUES ('alpha', 2)"));
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

    // A huge phrase shows only its start in the table, where it cannot be edited, and goes whole to
    // the editor and the clipboard.
    void longPhrase_showsStartCopiesWhole()
    {
        const QString phrase = QStringLiteral("Ёлка ").repeated(2'000'000); // 10 million characters
        show({phrase, QStringLiteral("short")});
        const QModelIndex cell = at(1, PhraseStore::Str);
        QVERIFY(cell.data().toString().size() <= PhraseModel::shownLength + 1);
        QVERIFY(!(cell.flags() & Qt::ItemIsEditable));
        QSignalSpy html(find, &TypeFind::setHtml);
        find->table->setCurrentIndex(cell);
        QCOMPARE(html.last().at(0).toString(), phrase);
        find->copyPhrase();
        QCOMPARE(QApplication::clipboard()->text(), phrase);
        QCOMPARE(decodePhraseRecords(QApplication::clipboard()->mimeData()->data(clipboardFormat)).value(0).str,
                 phrase);
    }

    void editorWrite_againstAnotherCopy_data()
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
        QTest::newRow("changed, keep both")
            << changed << "&Keep both" << L("mine|label,theirs|their label") << "<b>mine</b>" << L("0");
        QTest::newRow("changed, overwrite")
            << changed << "&Overwrite" << L("mine|their label") << "<b>mine</b>" << L("5");
        QTest::newRow("changed, discard mine")
            << changed << "&Discard mine" << L("theirs|their label") << "theirs" << QStringList();
        QTest::newRow("deleted, overwrite") << deleted << "&Overwrite" << L("mine|label") << "<b>mine</b>" << L("0");
        QTest::newRow("deleted, discard mine") << deleted << "&Discard mine" << QStringList() << "" << QStringList();
    }

    // The editor's phrase "base" is written as "mine" after another copy did what `theirs` says; a
    // conflict is asked and answered. A phrase kept beside the other starts its own count, and the
    // table shows whatever the file keeps.
    void editorWrite_againstAnotherCopy()
    {
        QFETCH(QString, theirs);
        QFETCH(QString, answer);
        show({QStringLiteral("base||5")});
        QVERIFY(QSqlQuery().exec(QStringLiteral("UPDATE TypeText SET Labels = 'label'")));
        find->changedFile(QString());
        find->table->setCurrentIndex(at(0, PhraseStore::Str));
        if (!theirs.isEmpty())
            QVERIFY(QSqlQuery(otherCopy()).exec(theirs));
        DialogDriver driver;
        QString asked;
        if (!answer.isEmpty())
            answerConflict(&driver, answer, &asked);
        QSignalSpy stored(find, &TypeFind::htmlStored);
        QSignalSpy editor(find, &TypeFind::setHtml);
        find->writeHtml(QStringLiteral("<b>mine</b>"), QStringLiteral("mine"));
        QCOMPARE(stored.count(), 1);
        QCOMPARE(stored.at(0).at(0).toBool(), answer.isEmpty());
        QTRY_VERIFY(driver.done());
        QCoreApplication::processEvents();
        QVERIFY2(driver.unexpected.isEmpty(), qPrintable(driver.unexpected.join(QLatin1Char('|'))));
        QCOMPARE(asked.contains(QLatin1String("deleted")), theirs.startsWith(QLatin1String("DELETE")));
        QTEST(rows(QStringLiteral("SELECT Str || '|' || Labels FROM TypeText ORDER BY Str")), "stored");
        QTEST(rows(QStringLiteral("SELECT Frequency FROM TypeText WHERE Str = 'mine'")), "mineUses");
        QCOMPARE(shown(), rows(QStringLiteral("SELECT Str FROM TypeText ORDER BY Str")));
        QTEST(editor.isEmpty() ? QString() : editor.last().at(0).toString(), "editorShows");
    }

    // Entered with nothing unsaved, the editor gets its phrase as the file holds it now, from that one
    // row read again; the next write is based on that.
    void editorEntered_showsFileVersion()
    {
        show(L("alpha,bravo"));
        find->table->setCurrentIndex(at(1, PhraseStore::Str));
        QSignalSpy editor(find, &TypeFind::setHtml);
        QSignalSpy resets(find->model, &QAbstractItemModel::modelReset);
        find->refreshEditor();
        QCOMPARE(editor.count(), 0);
        QVERIFY(
            QSqlQuery().exec(QStringLiteral("UPDATE TypeText SET Str = 'b2', Html = '<i>b2</i>' WHERE Str = 'bravo'")));
        // While another program holds the file, the editor keeps what it shows, without a word.
        QSqlQuery lock(otherCopy());
        QVERIFY(lock.exec(QStringLiteral("BEGIN EXCLUSIVE")));
        messages->clear();
        find->refreshEditor();
        QVERIFY(lock.exec(QStringLiteral("ROLLBACK")));
        QCOMPARE(editor.count() + messages->count(), 0);
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

    // An empty row taken away again returns the cursor to the phrase the user was on; a phrase
    // typed into a new row leaves the focus in the table, on the new phrase; an unchanged commit
    // of a long rich phrase keeps its rich text.
    void newRow_focusAndCursor()
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
        QCOMPARE(current(), QStringLiteral("typed"));
        QCOMPARE(QApplication::focusWidget(), find->table);

        const QModelIndex cell = at(shown().indexOf(longText), PhraseStore::Str);
        find->table->setCurrentIndex(cell);
        find->table->edit(cell);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTRY_COMPARE(QApplication::focusWidget(), find->table);
        QCOMPARE(rows(QStringLiteral("SELECT Html FROM TypeText WHERE Str LIKE 'long%'")), L("<b>long</b>"));
    }
};

QTEST_MAIN(TestTypeFind)
#include "tst_typefind.moc"
