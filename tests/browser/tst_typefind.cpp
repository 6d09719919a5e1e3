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

#include <QtSql>
#include <QtTest>
#include <QtWidgets>

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
    // Answers the questions; cleanup() fails a test that left an answer unused or met one unasked.
    QScopedPointer<DialogDriver> dialogs;
    TypeFind *find = nullptr;

    static void add(const QString &text, const QString &html = QString(), int uses = 0)
    {
        QSqlQuery query;
        query.prepare(QStringLiteral("INSERT INTO TypeText (Str, StrLower, Html, Frequency) VALUES (?, ?, ?, ?)"));
        query.addBindValue(text);
        query.addBindValue(text.toLower());
        query.addBindValue(html);
        query.addBindValue(uses);
        QVERIFY(query.exec());
    }
    // Adds the phrases, then lists the file's phrases sorted by text, the cursor on that row's phrase.
    void show(const QStringList &phrases = {}, int cursorRow = -1)
    {
        for (const QString &phrase : phrases)
            add(phrase);
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
        find->table->setCurrentIndex(cursorRow < 0 ? QModelIndex() : at(cursorRow, PhraseStore::Str));
        messages.reset(new QSignalSpy(find, &TypeFind::setMessage));
    }
    int col(PhraseStore::Field field) const { return find->model->column(field); }
    QModelIndex at(int row, PhraseStore::Field field) const { return find->model->index(row, col(field)); }
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
    // The first column of each row of the result.
    static QStringList values(const QString &sql)
    {
        QStringList found;
        QSqlQuery query(sql);
        while (query.next())
            found << query.value(0).toString();
        return found;
    }
    // A query on another running copy's connection to the same file.
    static QSqlQuery otherCopy()
    {
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
        other.setDatabaseName(nameFileDB);
        other.open();
        return QSqlQuery(other);
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
    void answerConflict(const QString &button, QString *asked = nullptr)
    {
        dialogs->expect([button, asked](QWidget *box) {
            if (asked)
                *asked = static_cast<QMessageBox *>(box)->text();
            for (auto *candidate : box->findChildren<QAbstractButton *>())
                if (candidate->text() == button)
                    return candidate->click();
            box->close();
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
        dialogs.reset(new DialogDriver);
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
        QCOMPARE(dialogs->trouble(), QString());
    }

    // A phrase another copy adds above keeps the cursor on its phrase; a search reports what it found,
    // and one SQLite would refuse is refused first, never reading as "not found".
    void outsideChangeAndSearch()
    {
        show(L("bravo,charlie,delta"));
        find->table->setCurrentIndex(at(1, PhraseStore::Labels));
        QVERIFY(otherCopy().exec(QStringLiteral("INSERT INTO TypeText (Str) VALUES ('alpha')")));
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
        dialogs->answerMessage(QMessageBox::No);
        dialogs->answerMessage(QMessageBox::Yes);
        find->deleteRow();
        selection->select(at(0, PhraseStore::Str), QItemSelectionModel::ClearAndSelect);
        selection->select(at(2, PhraseStore::Str), QItemSelectionModel::Select);
        find->deleteRow();
        QCOMPARE(dialogs->texts, QStringList({QStringLiteral("Do you want to delete this phrase?"),
                                              QStringLiteral("Do you want to delete 2 phrase(s)?")}));
        QCOMPARE(values(QStringLiteral("SELECT Str FROM TypeText ORDER BY Str")), L("b,d"));
        QCOMPARE(shown(), L("b,d"));
        QCOMPARE(find->table->currentIndex(), at(0, PhraseStore::Str));
        QVERIFY(!find->watcher->isHardStopped());
    }

    // Copying counts a use of each selected phrase in the file, which another copy may have counted
    // meanwhile; the clipboard carries the phrases and the counts as the file then holds them. A huge
    // phrase shows only its start in the table, where it cannot be edited, and goes whole to the
    // editor and the clipboard.
    void copy_countsUseInFile()
    {
        const QString huge = QStringLiteral("Ёлка ").repeated(2'000'000); // 10 million characters
        const QString rich = QStringLiteral("<p>%1</p>").arg(huge);
        add(QStringLiteral("alpha"), QString(), 1);
        add(huge, rich, 5);
        show();
        QVERIFY(otherCopy().exec(QStringLiteral("UPDATE TypeText SET Frequency = Frequency + 10")));
        const QModelIndex cell = at(1, PhraseStore::Str);
        QVERIFY(cell.data().toString().size() <= PhraseModel::shownLength + 1);
        QVERIFY(!(cell.flags() & Qt::ItemIsEditable));
        QSignalSpy html(find, &TypeFind::setHtml);
        find->table->setCurrentIndex(cell);
        QCOMPARE(html.last().at(0).toString(), rich);
        find->table->selectAll();
        find->copyPhrase();
        const QMimeData *mime = QApplication::clipboard()->mimeData();
        QCOMPARE(mime->text(), huge);
        QCOMPARE(mime->html(), rich);
        const QVector<PhraseRecord> records = decodePhraseRecords(mime->data(clipboardFormat));
        QCOMPARE(records.size(), 2);
        QCOMPARE(records.at(1).str, huge);
        QCOMPARE(records.at(0).frequency, 12);
        QCOMPARE(records.at(1).frequency, 16);
        QCOMPARE(values(QStringLiteral("SELECT Frequency FROM TypeText ORDER BY id")), L("12,16"));
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
        show(L("zulu"), 0);
        QVector<PhraseRecord> records(count);
        for (int i = 0; i < count && !empty; ++i)
            records[i] = PhraseRecord{QStringLiteral("P%1").arg(i, 4, 10, QLatin1Char('0')), QStringLiteral("l")};
        auto *mime = new QMimeData;
        mime->setData(clipboardFormat, encodePhraseRecords(records));
        QApplication::clipboard()->setMimeData(mime);
        if (answer >= 0)
            dialogs->answerMessage(QMessageBox::StandardButton(answer));
        find->pastePhrase();
        QCOMPARE(dialogs->texts,
                 answer >= 0 ? QStringList{QStringLiteral("Paste %1 phrase(s)?").arg(count)} : QStringList());
        QCOMPARE(values(QStringLiteral("SELECT count(*) FROM TypeText WHERE Labels = 'l' AND StrLower = lower(Str)")),
                 QStringList{QString::number(stored)});
        QCOMPARE(find->table->currentIndex().data().toString(),
                 stored ? QStringLiteral("P0000") : QStringLiteral("zulu"));
    }

    void cellEdit_stores_data()
    {
        QTest::addColumn<bool>("newRow"); // typed into the empty row Append put in, else into "Old"
        QTest::addColumn<int>("field");   // Html: written back from the editor
        QTest::addColumn<QString>("str"); // the phrase and its rich text afterwards
        QTest::addColumn<QString>("html");
        QTest::addColumn<bool>("changedMeanwhile"); // to "theirs" by another copy; "Discard mine" is pressed
        const auto row = [](const char *name, bool newRow, PhraseStore::Field field, const char *str, const char *html,
                            bool changedMeanwhile = false) {
            QTest::newRow(name) << newRow << int(field) << QString::fromUtf8(str) << QString::fromUtf8(html)
                                << changedMeanwhile;
        };
        row("phrase drops its rich text", false, PhraseStore::Str, "Ёж Ы", "");
        row("labels", false, PhraseStore::Labels, "Old", "<i>Old</i>");
        row("comment", false, PhraseStore::KeyWord, "Old", "<i>Old</i>");
        row("rating", false, PhraseStore::Rating, "Old", "<i>Old</i>");
        row("phrase changed meanwhile", false, PhraseStore::Str, "theirs", "<i>Old</i>", true);
        row("labels changed meanwhile", false, PhraseStore::Labels, "Old", "<i>Old</i>", true);
        row("new row: phrase", true, PhraseStore::Str, "Ёж Ы", "");
        row("new row: labels", true, PhraseStore::Labels, "", "");
        row("new row: comment", true, PhraseStore::KeyWord, "", "");
        row("new row: rating", true, PhraseStore::Rating, "", "");
        row("new row: from the editor", true, PhraseStore::Html, "Ёж Ы", "<b>Ёж Ы</b>");
    }

    // What each column's editor commits is stored with its lower-case search copy, and the cursor
    // stays on it; an edited phrase drops its rich text and goes to the editor once. Typed into the
    // new empty row, it is a phrase of that field alone. The edit is based on the cell as listed.
    void cellEdit_stores()
    {
        QFETCH(bool, newRow);
        QFETCH(int, field);
        QFETCH(bool, changedMeanwhile);
        const QString typed = field == PhraseStore::Rating ? QStringLiteral("42") : QString::fromUtf8("Ёж Ы");
        const QString kept = changedMeanwhile ? QStringLiteral("theirs") : typed;
        add(QStringLiteral("Old"), QStringLiteral("<i>Old</i>"));
        show();
        // A second binding, as after a switch of file: still one connection to the editor.
        find->setupModel();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (newRow)
            find->appendRow();
        const PhraseStore::Field target = field == PhraseStore::Html ? PhraseStore::Str : PhraseStore::Field(field);
        const QString columns = PhraseStore::fieldName(target) + QStringLiteral(", ") +
                                PhraseStore::fieldName(PhraseStore::shadowOf(target));
        const QModelIndex cell = at(newRow ? 1 : 0, target);
        find->table->setCurrentIndex(cell);
        QSignalSpy html(find, &TypeFind::setHtml);
        if (changedMeanwhile) {
            QVERIFY(otherCopy().exec(QStringLiteral("UPDATE TypeText SET (%1) = ('theirs', 'theirs')").arg(columns)));
            answerConflict(QStringLiteral("&Discard mine"));
        }
        if (field == PhraseStore::Html)
            find->writeHtml(QStringLiteral("<b>%1</b>").arg(typed), typed);
        else
            typeInto(cell, typed);
        QTRY_VERIFY(dialogs->done());
        QCoreApplication::processEvents();
        QSqlQuery file(QStringLiteral("SELECT %1, Str, Html FROM TypeText ORDER BY id").arg(columns));
        QVERIFY(file.seek(newRow ? 1 : 0));
        QCOMPARE(file.value(0).toString(), kept);
        // The lower-case copy the search reads; the rating is its own.
        QCOMPARE(file.value(1).toString(), kept.toLower());
        QTEST(file.value(2).toString(), "str");
        QTEST(file.value(3).toString(), "html");
        // No other phrase came of it.
        QVERIFY(!file.next());
        QCOMPARE(find->table->currentIndex().column(), cell.column());
        QCOMPARE(find->table->currentIndex().data().toString(), kept);
        // Moves of the cursor send the phrase too.
        if (!newRow && !changedMeanwhile)
            QCOMPARE(html.count(), field == PhraseStore::Str ? 1 : 0);
    }

    void writes_data()
    {
        QTest::addColumn<Operation>("operation");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QStringList>("uses");
        QTest::addColumn<bool>("emptyRowLeft"); // only row operations take it away
        const auto row = [this] { return find->table->currentIndex().row(); };
        const auto remove = [this] {
            dialogs->answerMessage(QMessageBox::Yes);
            find->deleteRow();
        };
        const auto paste = [this] {
            QApplication::clipboard()->setText(QStringLiteral("pasted"));
            find->pastePhrase();
        };
        const auto edit = [this, row] { typeInto(at(row(), PhraseStore::Str), QStringLiteral("edited")); };
        const auto editor = [this] {
            find->currentCh(find->table->currentIndex());
            find->writeHtml(QStringLiteral("<b>edited</b>"), QStringLiteral("edited"));
        };
        QTest::newRow("copy") << Operation([this] { find->copyPhrase(); }) << L("alpha,bravo") << L("0,1") << false;
        QTest::newRow("row header") << Operation([this, row] { find->copyPhraseIndex(row()); }) << L("alpha,bravo")
                                    << L("0,1") << false;
        QTest::newRow("paste") << Operation(paste) << L("alpha,bravo,pasted") << L("0,0,0") << false;
        QTest::newRow("delete") << Operation(remove) << L("alpha") << L("0") << false;
        QTest::newRow("editor") << Operation(editor) << L("alpha,edited") << L("0,0") << true;
        QTest::newRow("cell") << Operation(edit) << L("alpha,edited") << L("0,0") << true;
    }

    // Each writing operation on "bravo", first with an empty row inserted above it and left
    // alone, which must hold nothing up; then with the file locked by another program, which
    // must show in the status bar while the table keeps what the file holds.
    void writes()
    {
        QFETCH(Operation, operation);
        QFETCH(bool, emptyRowLeft);
        const QString texts = QStringLiteral("SELECT Str FROM TypeText ORDER BY Str");
        const QString uses = QStringLiteral("SELECT Frequency FROM TypeText ORDER BY Str");
        show(L("alpha,bravo"), 0);
        find->insertRow();
        find->table->setCurrentIndex(at(2, PhraseStore::Str));
        operation();
        QTEST(values(texts), "texts");
        QTEST(values(uses), "uses");
        QCOMPARE(shown().contains(QString()), emptyRowLeft);
        QVERIFY2(!lastMessage().startsWith(QLatin1String("Unable")), qPrintable(lastMessage()));

        find->changedFile(QString());
        find->table->setCurrentIndex(at(0, PhraseStore::Str));
        const QStringList before = values(texts) + values(uses) + shown(PhraseStore::Frequency);
        QSqlQuery lock = otherCopy();
        QVERIFY(lock.exec(QStringLiteral("BEGIN EXCLUSIVE")));
        operation();
        QVERIFY(lock.exec(QStringLiteral("ROLLBACK")));
        // The database's own words, without the driver's tail.
        QCOMPARE(lastMessage(), QStringLiteral("Unable to save the phrase - database is locked"));
        QCOMPARE(values(texts) + values(uses) + shown(PhraseStore::Frequency), before);
    }

    // A file nobody may write, opened as SQLite opens such a file: nothing offers a write, and
    // copying counts no use, which is said once.
    void readOnlyFile_copiesWithoutWriting()
    {
        add(QStringLiteral("alpha"), QString(), 2);
        QFile::setPermissions(nameFileDB, QFile::ReadOwner);
        QSqlDatabase db = QSqlDatabase::database();
        db.close();
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        QVERIFY(db.open());
        show({}, 0);
        find->table->setFocus();
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

    void editorWrite_againstAnotherCopy_data()
    {
        QTest::addColumn<QString>("theirs");
        QTest::addColumn<QString>("answer"); // the button pressed; empty: no question may come
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QStringList>("labels");
        QTest::addColumn<QStringList>("uses");
        QTest::addColumn<QString>("editorShows"); // empty: not sent again
        const QString changed = QStringLiteral("UPDATE TypeText SET Str = 'theirs', Labels = 'their label'");
        const QString deleted = QStringLiteral("DELETE FROM TypeText");
        const QString mine = QStringLiteral("<b>mine</b>");
        QTest::newRow("nobody else wrote") << QString() << QString() << L("mine") << L("label") << L("5") << QString();
        QTest::newRow("changed, keep both")
            << changed << "&Keep both" << L("mine,theirs") << L("label,their label") << L("0,5") << mine;
        QTest::newRow("changed, overwrite")
            << changed << "&Overwrite" << L("mine") << L("their label") << L("5") << mine;
        QTest::newRow("changed, discard mine")
            << changed << "&Discard mine" << L("theirs") << L("their label") << L("5") << "theirs";
        QTest::newRow("deleted, overwrite") << deleted << "&Overwrite" << L("mine") << L("label") << L("0") << mine;
        QTest::newRow("deleted, discard mine")
            << deleted << "&Discard mine" << QStringList() << QStringList() << QStringList() << QString();
    }

    // The editor's phrase "base" is written as "mine" after another copy did what `theirs` says; a
    // conflict is asked and answered. A phrase kept beside the other starts its own count, and the
    // table shows whatever the file keeps.
    void editorWrite_againstAnotherCopy()
    {
        QFETCH(QString, theirs);
        QFETCH(QString, answer);
        add(QStringLiteral("base"), QString(), 5);
        QVERIFY(QSqlQuery().exec(QStringLiteral("UPDATE TypeText SET Labels = 'label'")));
        show({}, 0);
        if (!theirs.isEmpty())
            QVERIFY(otherCopy().exec(theirs));
        QString asked;
        if (!answer.isEmpty())
            answerConflict(answer, &asked);
        QSignalSpy stored(find, &TypeFind::htmlStored);
        QSignalSpy editor(find, &TypeFind::setHtml);
        find->writeHtml(QStringLiteral("<b>mine</b>"), QStringLiteral("mine"));
        QCOMPARE(QList<QVariantList>(stored), QList<QVariantList>{{answer.isEmpty()}});
        QTRY_VERIFY(dialogs->done());
        QCoreApplication::processEvents();
        QCOMPARE(asked.contains(QLatin1String("deleted")), theirs.startsWith(QLatin1String("DELETE")));
        QTEST(values(QStringLiteral("SELECT Str FROM TypeText ORDER BY Str")), "texts");
        QTEST(values(QStringLiteral("SELECT Labels FROM TypeText ORDER BY Str")), "labels");
        QTEST(values(QStringLiteral("SELECT Frequency FROM TypeText ORDER BY Str")), "uses");
        QCOMPARE(shown(), values(QStringLiteral("SELECT Str FROM TypeText ORDER BY Str")));
        QTEST(editor.isEmpty() ? QString() : editor.last().at(0).toString(), "editorShows");
    }

    // The editor's phrase is found again by its id. Entered with nothing unsaved, the editor gets it as
    // the file holds it now, from that one row read again; the next write is based on that, and lands
    // on it though the rows have moved and a search hides it.
    void editor_followsItsPhrase()
    {
        show(L("alpha,bravo"), 1);
        QSignalSpy editor(find, &TypeFind::setHtml);
        QSignalSpy resets(find->model, &QAbstractItemModel::modelReset);
        find->refreshEditor();
        QCOMPARE(editor.count(), 0);
        QVERIFY(
            QSqlQuery().exec(QStringLiteral("UPDATE TypeText SET Str = 'b2', Html = '<i>b2</i>' WHERE Str = 'bravo'")));
        // While another program holds the file, the editor keeps what it shows, without a word.
        QSqlQuery lock = otherCopy();
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
        find->table->sortByColumn(col(PhraseStore::Str), Qt::DescendingOrder);
        search(QStringLiteral("alpha"));
        find->writeHtml(QStringLiteral("<b>b3</b>"), QStringLiteral("b3"));
        // The next write is based on the one before: no question about the program's own text.
        find->writeHtml(QStringLiteral("<b>b4</b>"), QStringLiteral("b4"));
        QCoreApplication::processEvents();
        QCOMPARE(values(QStringLiteral("SELECT Str FROM TypeText ORDER BY id")), L("alpha,b4"));
        QCOMPARE(values(QStringLiteral("SELECT Html FROM TypeText ORDER BY id")), L(",<b>b4</b>"));
    }

    // An empty row taken away again returns the cursor to the phrase the user was on; a phrase
    // typed into a new row leaves the focus in the table, on the new phrase; an unchanged commit
    // of a long rich phrase keeps its rich text.
    void newRow_focusAndCursor()
    {
        const QString longText = QStringLiteral("long ").repeated(120);
        add(longText, QStringLiteral("<b>long</b>"));
        show(L("alpha,bravo"));
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
        QTRY_COMPARE(values(QStringLiteral("SELECT count(*) FROM TypeText WHERE Str = 'typed'")), L("1"));
        QCOMPARE(find->table->currentIndex().data().toString(), QStringLiteral("typed"));
        QCOMPARE(QApplication::focusWidget(), find->table);

        const QModelIndex cell = at(shown().indexOf(longText), PhraseStore::Str);
        find->table->setCurrentIndex(cell);
        find->table->edit(cell);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTRY_COMPARE(QApplication::focusWidget(), find->table);
        QCOMPARE(values(QStringLiteral("SELECT Html FROM TypeText WHERE Str LIKE 'long%'")), L("<b>long</b>"));
    }
};

QTEST_MAIN(TestTypeFind)
#include "tst_typefind.moc"
