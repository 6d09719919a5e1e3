#include "app/globals.h"
#include "browser/sqltable.h"
#include "browser/typefind.h"
#include "db/typewatch.h"
#include "../common/dialogdriver.h"
#include "browserfixture.h"

#include <QAction>
#include <QClipboard>
#include <QHeaderView>
#include <QLineEdit>
#include <QMainWindow>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlTableModel>
#include <QtTest>

namespace {

using Cells = QVector<QPoint>; // x: row, y: column

// Everything of a phrase that the browser may write, one line per phrase in id order.
QStringList snapshot()
{
    QStringList rows;
    QSqlQuery query(QStringLiteral("SELECT id, Str, Labels, KeyWord, HotKey, Html, StrLower, LabelLower, KeyLower, "
                                   "Rating, Frequency FROM TypeText ORDER BY id"));
    while (query.next()) {
        QStringList fields;
        for (int i = 0; i < 11; ++i)
            fields << (query.isNull(i) ? QStringLiteral("<null>") : query.value(i).toString());
        rows << fields.join(QLatin1Char('|'));
    }
    return rows;
}

QStringList words(const char *text)
{
    return QString::fromUtf8(text).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

QStringList storedPhrases()
{
    QStringList phrases;
    QSqlQuery query(QStringLiteral("SELECT Str FROM TypeText ORDER BY Str"));
    while (query.next())
        phrases << query.value(0).toString();
    return phrases;
}

} // namespace

class TestRowOps : public QObject, protected BrowserFixture
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void delete_asksAndMovesCursor_data();
    void delete_asksAndMovesCursor();
    void delete_declined_data();
    void delete_declined();
    void insert_emptyRowAtCursor();
    void insert_withoutCurrentCell_doesNothing();
    void append_data();
    void append();
    void actions_followSelectionAndFocus_data();
    void actions_followSelectionAndFocus();
    void currentChange_sendsPhraseAndCount_data();
    void currentChange_sendsPhraseAndCount();
    void writeHtml_landsOnSentPhrase_data();
    void writeHtml_landsOnSentPhrase();
    void writeHtml_appendedRow_isStored();
    void phraseCellEdit_reachesEditorOnce();

private:
    void seed(const QStringList &phrases);
    void showDock();
    void outside(const QString &sql);
    void select(const Cells &cells, const QPoint &current);
    QString strAt(int row) const;
    QVariant idOf(const QString &str) const;

};

void TestRowOps::init()
{
    openPhraseFile();
}

void TestRowOps::cleanup()
{
    closePhraseFile();
}

// Each phrase is "text" or "text|html|frequency|labels".
void TestRowOps::seed(const QStringList &phrases)
{
    QSqlDatabase db = QSqlDatabase::database();
    db.transaction();
    QSqlQuery query;
    QVERIFY(query.prepare(QStringLiteral(
        "INSERT INTO TypeText (Str, StrLower, Html, Frequency, Labels, LabelLower) VALUES (?, ?, ?, ?, ?, ?)")));
    for (const QString &phrase : phrases) {
        const QStringList parts = phrase.split(QLatin1Char('|'));
        query.addBindValue(parts.value(0));
        query.addBindValue(parts.value(0).toLower());
        query.addBindValue(parts.size() > 1 ? QVariant(parts.at(1)) : QVariant(QVariant::String));
        query.addBindValue(parts.value(2, QStringLiteral("0")).toInt());
        query.addBindValue(parts.value(3));
        query.addBindValue(parts.value(3).toLower());
        QVERIFY2(query.exec(), qPrintable(query.lastError().text()));
    }
    db.commit();
}

void TestRowOps::showDock()
{
    showBrowser();
}

void TestRowOps::outside(const QString &sql)
{
    // A half-fetched select holds a read lock that would keep the other copy from writing.
    while (find->model->canFetchMore())
        find->model->fetchMore();
    {
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other copy"));
        other.setDatabaseName(path);
        QVERIFY(other.open());
        QSqlQuery query(other);
        QVERIFY2(query.exec(sql), qPrintable(query.lastError().text()));
        other.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("other copy"));
}

void TestRowOps::select(const Cells &cells, const QPoint &current)
{
    QItemSelectionModel *selection = find->table->selectionModel();
    selection->setCurrentIndex(find->model->index(current.x(), current.y()), QItemSelectionModel::NoUpdate);
    QItemSelection chosen;
    for (const QPoint &cell : cells)
        chosen.select(find->model->index(cell.x(), cell.y()), find->model->index(cell.x(), cell.y()));
    selection->select(chosen, QItemSelectionModel::ClearAndSelect);
}

QString TestRowOps::strAt(int row) const
{
    return find->model->data(find->model->index(row, TypeFind::ColStr)).toString();
}

QVariant TestRowOps::idOf(const QString &str) const
{
    QSqlQuery query;
    query.prepare(QStringLiteral("SELECT id FROM TypeText WHERE Str = ?"));
    query.addBindValue(str);
    return query.exec() && query.next() ? query.value(0) : QVariant();
}

void TestRowOps::delete_asksAndMovesCursor_data()
{
    QTest::addColumn<Cells>("selected");
    QTest::addColumn<QPoint>("current");
    QTest::addColumn<QString>("question");
    QTest::addColumn<QStringList>("left");
    QTest::addColumn<int>("currentRow");

    const int s = TypeFind::ColStr;
    const int l = TypeFind::ColLabels;
    QTest::newRow("last row, nothing selected")
        << Cells{} << QPoint(4, l) << "Do you want to delete this phrase?"
        << words("alpha bravo charlie delta") << 3;
    QTest::newRow("middle row, nothing selected")
        << Cells{} << QPoint(2, l) << "Do you want to delete this phrase?"
        << words("alpha bravo delta echo") << 2;
    QTest::newRow("first row, its cell selected")
        << Cells{{0, s}} << QPoint(0, s) << "Do you want to delete this phrase?"
        << words("bravo charlie delta echo") << 0;
    QTest::newRow("two cells of one row")
        << Cells{{1, s}, {1, l}} << QPoint(1, s) << "Do you want to delete this phrase?"
        << words("alpha charlie delta echo") << 1;
    QTest::newRow("three rows in the middle")
        << Cells{{1, s}, {2, s}, {3, s}} << QPoint(2, s) << "Do you want to delete 3 phrase(s)?"
        << words("alpha echo") << 1;
    QTest::newRow("three rows down to the last")
        << Cells{{2, s}, {3, s}, {4, s}} << QPoint(4, s) << "Do you want to delete 3 phrase(s)?"
        << words("alpha bravo") << 1;
    QTest::newRow("scattered rows, cursor above the last")
        << Cells{{1, l}, {3, l}} << QPoint(1, l) << "Do you want to delete 2 phrase(s)?"
        << words("alpha charlie echo") << 1;
    QTest::newRow("rows above the cursor, cursor phrase kept")
        << Cells{{0, s}, {2, s}} << QPoint(3, s) << "Do you want to delete 2 phrase(s)?"
        << words("bravo delta echo") << 1;
}

void TestRowOps::delete_asksAndMovesCursor()
{
    QFETCH(Cells, selected);
    QFETCH(QPoint, current);
    QFETCH(QString, question);
    QFETCH(QStringList, left);
    QFETCH(int, currentRow);

    seed({QStringLiteral("charlie"), QStringLiteral("alpha"), QStringLiteral("echo"), QStringLiteral("bravo"),
          QStringLiteral("delta")});
    showDock();
    select(selected, current);
    if (selected.isEmpty())
        find->table->clearSelection();
    QCOMPARE(find->table->currentIndex().row(), current.x());

    DialogDriver driver;
    driver.answerMessage(QMessageBox::Yes);
    find->deleteRow();

    QVERIFY(driver.done());
    QVERIFY2(driver.unexpected.isEmpty(), qPrintable(driver.unexpected.join(QLatin1Char(' '))));
    QCOMPARE(driver.titles, QStringList{QStringLiteral("Warning")});
    QCOMPARE(driver.texts, QStringList{question});
    QCOMPARE(storedPhrases(), left);
    QCOMPARE(find->model->rowCount(), left.size());
    for (int row = 0; row < left.size(); ++row)
        QCOMPARE(strAt(row), left.at(row));
    QCOMPARE(find->table->currentIndex().row(), currentRow);
    QCOMPARE(find->table->currentIndex().column(), current.y());
    QVERIFY(!find->watcher->isHardStopped());
}

void TestRowOps::delete_declined_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("severalRows");

    QTest::newRow("No, one phrase") << "no" << false;
    QTest::newRow("Escape, one phrase") << "escape" << false;
    QTest::newRow("box closed, one phrase") << "close" << false;
    QTest::newRow("No, several phrases") << "no" << true;
    QTest::newRow("Escape, several phrases") << "escape" << true;
}

void TestRowOps::delete_declined()
{
    QFETCH(QString, answer);
    QFETCH(bool, severalRows);

    seed({QStringLiteral("alpha"), QStringLiteral("bravo"), QStringLiteral("charlie")});
    showDock();
    const QStringList before = snapshot();
    if (severalRows)
        select({{0, TypeFind::ColStr}, {1, TypeFind::ColStr}}, QPoint(1, TypeFind::ColStr));
    else
        select({}, QPoint(1, TypeFind::ColStr));
    const bool watcherStopped = find->watcher->isHardStopped();

    DialogDriver driver;
    driver.expect([&driver, answer](QWidget *w) {
        auto *box = qobject_cast<QMessageBox *>(w);
        QVERIFY(box);
        driver.texts << box->text();
        // No is the default: Return must not delete either.
        QCOMPARE(box->defaultButton(), box->button(QMessageBox::No));
        if (answer == QLatin1String("no"))
            box->button(QMessageBox::No)->click();
        else if (answer == QLatin1String("escape"))
            QTest::keyClick(box, Qt::Key_Escape);
        else
            box->close();
    });
    find->deleteRow();

    QVERIFY(driver.done());
    QCOMPARE(driver.texts.size(), 1);
    QVERIFY(driver.unexpected.isEmpty());
    QCOMPARE(snapshot(), before);
    QCOMPARE(find->model->rowCount(), 3);
    QCOMPARE(find->table->currentIndex().row(), 1);
    QCOMPARE(find->watcher->isHardStopped(), watcherStopped);
}

void TestRowOps::insert_emptyRowAtCursor()
{
    seed({QStringLiteral("alpha"), QStringLiteral("bravo"), QStringLiteral("charlie")});
    showDock();
    const QStringList before = snapshot();
    find->table->setCurrentIndex(find->model->index(1, TypeFind::ColLabels));

    find->insertRow();

    QCOMPARE(find->model->rowCount(), 4);
    QCOMPARE(find->table->currentIndex().row(), 1);
    QCOMPARE(find->table->currentIndex().column(), int(TypeFind::ColLabels));
    QVERIFY(strAt(1).isEmpty());
    QCOMPARE(strAt(2), QStringLiteral("bravo"));
    // Nothing is stored until a later write submits the row.
    QCOMPARE(snapshot(), before);
}

void TestRowOps::insert_withoutCurrentCell_doesNothing()
{
    seed({QStringLiteral("alpha")});
    showDock();
    QVERIFY(!find->table->currentIndex().isValid());
    find->insertRow();
    QCOMPARE(find->model->rowCount(), 1);
    QVERIFY(!find->table->currentIndex().isValid());
}

void TestRowOps::append_data()
{
    QTest::addColumn<QStringList>("phrases");

    QTest::newRow("empty table") << QStringList();
    QTest::newRow("three phrases") << words("alpha bravo charlie");
}

void TestRowOps::append()
{
    QFETCH(QStringList, phrases);

    seed(phrases);
    showDock();
    QVERIFY(find->appendPhraseAction->isEnabled());

    find->appendPhraseAction->trigger();

    QCOMPARE(find->model->rowCount(), phrases.size() + 1);
    QCOMPARE(find->table->currentIndex().row(), phrases.size());
    QCOMPARE(find->table->currentIndex().column(), int(TypeFind::ColStr));
    QVERIFY(strAt(phrases.size()).isEmpty());
    QTRY_VERIFY(find->table->hasFocus());
    QVERIFY(find->appendPhraseAction->isEnabled());
}

void TestRowOps::actions_followSelectionAndFocus_data()
{
    QTest::addColumn<Cells>("selected");
    QTest::addColumn<bool>("clipboardText");
    QTest::addColumn<bool>("tableFocus");
    QTest::addColumn<bool>("copyCellsDelete");
    QTest::addColumn<bool>("paste");
    QTest::addColumn<QString>("message");

    const int s = TypeFind::ColStr;
    const int l = TypeFind::ColLabels;
    QTest::newRow("cell chosen, text on the clipboard") << Cells{{1, s}} << true << true << true << true << "";
    QTest::newRow("cell chosen, clipboard empty") << Cells{{1, s}} << false << true << true << false << "";
    QTest::newRow("two cells of one row") << Cells{{1, s}, {1, l}} << true << true << true << true
                                          << "1 phrase(s) have been chosen.";
    QTest::newRow("cells of three rows") << Cells{{0, s}, {1, l}, {2, s}} << false << true << true << false
                                         << "3 phrase(s) have been chosen.";
    QTest::newRow("current cell not selected") << Cells{} << true << true << false << false << "";
    QTest::newRow("table without focus") << Cells{{1, s}} << true << false << false << false << "";
}

void TestRowOps::actions_followSelectionAndFocus()
{
    QFETCH(Cells, selected);
    QFETCH(bool, clipboardText);
    QFETCH(bool, tableFocus);
    QFETCH(bool, copyCellsDelete);
    QFETCH(bool, paste);
    QFETCH(QString, message);

    seed({QStringLiteral("alpha"), QStringLiteral("bravo"), QStringLiteral("charlie")});
    showDock();
    if (clipboardText)
        QApplication::clipboard()->setText(QStringLiteral("from elsewhere"));

    QSignalSpy messages(find, &TypeFind::setMessage);
    select(selected, QPoint(1, TypeFind::ColStr));
    if (tableFocus) {
        find->table->setFocus();
        QTRY_VERIFY(find->table->hasFocus());
    } else {
        // What the main window does when the clipboard changes while the search line has the focus.
        find->findChild<QLineEdit *>()->setFocus();
        QTRY_VERIFY(!find->table->hasFocus());
        find->enableChanged(find->table->hasFocus());
    }

    QCOMPARE(find->copyPhraseAction->isEnabled(), copyCellsDelete);
    QCOMPARE(find->copyCellsAction->isEnabled(), copyCellsDelete);
    QCOMPARE(find->deletePhraseAction->isEnabled(), copyCellsDelete);
    QCOMPARE(find->pastePhraseAction->isEnabled(), paste);
    QVERIFY(find->appendPhraseAction->isEnabled());

    QStringList chosen;
    for (const QList<QVariant> &signal : messages) {
        if (signal.at(0).toString().contains(QLatin1String("chosen")))
            chosen << signal.at(0).toString();
    }
    if (message.isEmpty())
        QVERIFY2(chosen.isEmpty(), qPrintable(chosen.join(QLatin1Char(' '))));
    else
        QCOMPARE(chosen.last(), message);
}

void TestRowOps::currentChange_sendsPhraseAndCount_data()
{
    QTest::addColumn<QString>("phrase");
    QTest::addColumn<QString>("sent");
    QTest::addColumn<QString>("message");

    QTest::newRow("rich text") << "plain|<b>rich</b>|7" << "<b>rich</b>" << "The phrase used 7 time(s)";
    QTest::newRow("empty html") << "plain||1" << "plain" << "The phrase used 1 time(s)";
    QTest::newRow("null html, never used") << "plain" << "plain" << "The phrase used 0 time(s)";
}

void TestRowOps::currentChange_sendsPhraseAndCount()
{
    QFETCH(QString, phrase);
    QFETCH(QString, sent);
    QFETCH(QString, message);

    seed({QStringLiteral("other|<i>other</i>|3"), phrase});
    showDock();
    const int row = strAt(0) == QLatin1String("plain") ? 0 : 1;
    QSignalSpy html(find, &TypeFind::setHtml);
    QSignalSpy messages(find, &TypeFind::setMessage);

    find->table->setCurrentIndex(find->model->index(row, TypeFind::ColLabels));

    QCOMPARE(html.count(), 1);
    QCOMPARE(html.first().at(0).toString(), sent);
    QVERIFY(!messages.isEmpty());
    QCOMPARE(messages.last().at(0).toString(), message);
}

void TestRowOps::writeHtml_landsOnSentPhrase_data()
{
    QTest::addColumn<QString>("meanwhile");
    QTest::addColumn<bool>("stored");

    QTest::newRow("nothing happened") << "" << true;
    QTest::newRow("sorted by another column") << "sort labels" << true;
    QTest::newRow("sorted so the phrase lies beyond the fetched rows") << "sort descending" << true;
    QTest::newRow("search reloaded the table") << "search" << true;
    QTest::newRow("outside insert and reload") << "insert above" << true;
    QTest::newRow("search hides the phrase") << "search hides" << true;
    QTest::newRow("deleted elsewhere, not reloaded") << "delete" << false;
    QTest::newRow("deleted elsewhere, then a search reloaded") << "delete reload" << false;
}

void TestRowOps::writeHtml_landsOnSentPhrase()
{
    QFETCH(QString, meanwhile);
    QFETCH(bool, stored);

    QStringList phrases;
    // Labels run against the phrase order, so that sorting by them moves every row.
    for (int i = 0; i < 400; ++i)
        phrases << QStringLiteral("p%1|||L%2").arg(i, 3, 10, QLatin1Char('0')).arg(999 - i);
    seed(phrases);
    showDock();
    const QVariant id = idOf(QStringLiteral("p002"));
    find->table->setCurrentIndex(find->model->index(2, TypeFind::ColStr));
    QCOMPARE(strAt(2), QStringLiteral("p002"));

    if (meanwhile == QLatin1String("sort labels")) {
        find->table->sortByColumn(TypeFind::ColLabels, Qt::AscendingOrder);
    } else if (meanwhile == QLatin1String("sort descending")) {
        find->table->sortByColumn(TypeFind::ColStr, Qt::DescendingOrder);
        QVERIFY(find->model->rowCount() < 398);
    } else if (meanwhile == QLatin1String("search")) {
        find->findChild<QLineEdit *>()->setText(QStringLiteral("p00"));
        find->findStart();
    } else if (meanwhile == QLatin1String("search hides")) {
        find->findChild<QLineEdit *>()->setText(QStringLiteral("p1"));
        find->findStart();
    } else if (meanwhile == QLatin1String("insert above")) {
        outside(QStringLiteral("INSERT INTO TypeText (Str) VALUES ('a first')"));
        find->changedFile(path);
    } else if (meanwhile.startsWith(QLatin1String("delete"))) {
        outside(QStringLiteral("DELETE FROM TypeText WHERE Str = 'p002'"));
        // A search reloads without sending another phrase to the editor.
        if (meanwhile.endsWith(QLatin1String("reload"))) {
            find->findChild<QLineEdit *>()->setText(QStringLiteral("p"));
            find->findStart();
        }
    }
    QStringList expected = snapshot();
    for (QString &line : expected) {
        QStringList fields = line.split(QLatin1Char('|'));
        if (fields.at(0) != id.toString())
            continue;
        fields[1] = QStringLiteral("Ünïcode Text");
        fields[5] = QStringLiteral("<p>Ünïcode <b>Text</b></p>");
        fields[6] = QStringLiteral("ünïcode text");
        line = fields.join(QLatin1Char('|'));
    }

    find->writeHtml(QStringLiteral("<p>Ünïcode <b>Text</b></p>"), QStringLiteral("Ünïcode Text"));

    QCOMPARE(snapshot(), expected);
    QSqlQuery query;
    query.prepare(QStringLiteral("SELECT count(*) FROM TypeText WHERE Str = ?"));
    query.addBindValue(QStringLiteral("Ünïcode Text"));
    QVERIFY(query.exec() && query.next());
    QCOMPARE(query.value(0).toInt(), stored ? 1 : 0);
}

void TestRowOps::writeHtml_appendedRow_isStored()
{
    seed({QStringLiteral("alpha")});
    showDock();
    find->appendRow();
    QCOMPARE(find->table->currentIndex().row(), 1);

    find->writeHtml(QStringLiteral("<i>new</i>"), QStringLiteral("New"));

    QSqlQuery query(QStringLiteral("SELECT Str, StrLower, Html FROM TypeText WHERE Str <> 'alpha'"));
    QVERIFY(query.next());
    QCOMPARE(query.value(0).toString(), QStringLiteral("New"));
    QCOMPARE(query.value(1).toString(), QStringLiteral("new"));
    QCOMPARE(query.value(2).toString(), QStringLiteral("<i>new</i>"));
    QVERIFY(!query.next());
}

void TestRowOps::phraseCellEdit_reachesEditorOnce()
{
    seed({QStringLiteral("alpha"), QStringLiteral("bravo")});
    showDock();
    // A second binding, as after a switch of the database file.
    find->setupModel();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QSignalSpy html(find, &TypeFind::setHtml);

    const QModelIndex index = find->model->index(1, TypeFind::ColStr);
    QLineEdit editor;
    editor.setText(QStringLiteral("Bravo Two"));
    find->table->itemDelegateForColumn(TypeFind::ColStr)->setModelData(&editor, find->model, index);

    QCOMPARE(html.count(), 1);
    QCOMPARE(html.first().at(0).toString(), QStringLiteral("Bravo Two"));
}

QTEST_MAIN(TestRowOps)
#include "tst_rowops.moc"
