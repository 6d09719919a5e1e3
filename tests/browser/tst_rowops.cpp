#include "../common/dialogdriver.h"
#include "browserfixture.h"
#include "db/typewatch.h"

#include <QAction>
#include <QSignalSpy>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QSqlTableModel>

namespace {

using Cells = QVector<QPoint>; // x: row, y: column

QStringList words(const char *text)
{
    return QString::fromUtf8(text).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

} // namespace

class TestRowOps : public QObject, protected BrowserFixture
{
    Q_OBJECT

private slots:
    void init() { openPhraseFile(); }
    void cleanup() { closePhraseFile(); }
    void delete_asksAndMovesCursor_data();
    void delete_asksAndMovesCursor();
    void insertAndAppend_emptyRowAtCursor_data();
    void insertAndAppend_emptyRowAtCursor();
    void actions_followSelectionAndFocus_data();
    void actions_followSelectionAndFocus();
    void currentChange_sendsPhraseAndCount_data();
    void currentChange_sendsPhraseAndCount();
    void writeHtml_landsOnSentPhrase_data();
    void writeHtml_landsOnSentPhrase();
    void writeHtml_appendedRow_isStored();
    void phraseCellEdit_reachesEditorOnce();

private:
    // Each phrase is "text" or "text|html|frequency"; the browser is shown afterwards.
    void showPhrases(const QStringList &phrases)
    {
        QSqlDatabase::database().transaction();
        QSqlQuery query;
        QVERIFY(
            query.prepare(QStringLiteral("INSERT INTO TypeText (Str, StrLower, Html, Frequency) VALUES (?, ?, ?, ?)")));
        for (const QString &phrase : phrases) {
            const QStringList parts = phrase.split(QLatin1Char('|'));
            query.addBindValue(parts.at(0));
            query.addBindValue(parts.at(0).toLower());
            query.addBindValue(parts.size() > 1 ? QVariant(parts.at(1)) : QVariant(QVariant::String));
            query.addBindValue(parts.value(2).toInt());
            QVERIFY2(query.exec(), qPrintable(query.lastError().text()));
        }
        QSqlDatabase::database().commit();
        showBrowser();
    }

    void select(const Cells &cells, const QPoint &current)
    {
        QItemSelectionModel *selection = find->table->selectionModel();
        selection->setCurrentIndex(find->model->index(current.x(), current.y()), QItemSelectionModel::NoUpdate);
        QItemSelection chosen;
        for (const QPoint &cell : cells)
            chosen.select(find->model->index(cell.x(), cell.y()), find->model->index(cell.x(), cell.y()));
        selection->select(chosen, QItemSelectionModel::ClearAndSelect);
    }

    QStringList shown() const
    {
        QStringList phrases;
        for (int row = 0; row < find->model->rowCount(); ++row)
            phrases << find->model->data(find->model->index(row, TypeFind::ColStr)).toString();
        return phrases;
    }
};

void TestRowOps::delete_asksAndMovesCursor_data()
{
    QTest::addColumn<Cells>("selected");
    QTest::addColumn<QPoint>("current");
    QTest::addColumn<int>("key"); // the answer to the question
    QTest::addColumn<QString>("question");
    QTest::addColumn<QStringList>("left");
    QTest::addColumn<int>("currentRow");

    const int s = TypeFind::ColStr;
    const int l = TypeFind::ColLabels;
    const int yes = Qt::Key_Y;
    const QString one = QStringLiteral("Do you want to delete this phrase?");
    const QString two = QStringLiteral("Do you want to delete 2 phrase(s)?");
    const QStringList all = words("alpha bravo charlie delta echo");
    QTest::newRow("last row") << Cells{} << QPoint(4, l) << yes << one << words("alpha bravo charlie delta") << 3;
    QTest::newRow("middle row") << Cells{} << QPoint(2, l) << yes << one << words("alpha bravo delta echo") << 2;
    QTest::newRow("two cells of one row")
        << Cells{{1, s}, {1, l}} << QPoint(1, s) << yes << one << words("alpha charlie delta echo") << 1;
    QTest::newRow("three rows down to the last") << Cells{{2, s}, {3, s}, {4, s}} << QPoint(4, s) << yes
                                                 << "Do you want to delete 3 phrase(s)?" << words("alpha bravo") << 1;
    QTest::newRow("rows above the cursor")
        << Cells{{0, s}, {2, s}} << QPoint(3, s) << yes << two << words("bravo delta echo") << 1;
    // No is the default button, so Return declines too.
    QTest::newRow("Return") << Cells{} << QPoint(1, s) << int(Qt::Key_Return) << one << all << 1;
    QTest::newRow("Escape, two rows") << Cells{{0, s}, {1, s}} << QPoint(1, s) << int(Qt::Key_Escape) << two << all
                                      << 1;
}

void TestRowOps::delete_asksAndMovesCursor()
{
    QFETCH(Cells, selected);
    QFETCH(QPoint, current);
    QFETCH(int, key);
    QFETCH(QString, question);
    QFETCH(QStringList, left);
    QFETCH(int, currentRow);

    showPhrases(words("charlie alpha echo bravo delta"));
    select(selected, current);
    QCOMPARE(find->table->currentIndex().row(), current.x());
    DialogDriver driver;
    driver.expect([&driver, key](QWidget *w) {
        auto *box = qobject_cast<QMessageBox *>(w);
        QVERIFY(box);
        driver.titles << box->windowTitle();
        driver.texts << box->text();
        if (key == Qt::Key_Y)
            box->button(QMessageBox::Yes)->click();
        else
            QTest::keyClick(box, Qt::Key(key));
    });
    find->deleteRow();

    QVERIFY(driver.done());
    QVERIFY2(driver.unexpected.isEmpty(), qPrintable(driver.unexpected.join(QLatin1Char(' '))));
    QCOMPARE(driver.titles + driver.texts, (QStringList{QStringLiteral("Warning"), question}));
    QCOMPARE(rows(QStringLiteral("SELECT Str FROM TypeText ORDER BY Str")), left);
    QCOMPARE(shown(), left);
    QCOMPARE(find->table->currentIndex(), find->model->index(currentRow, current.y()));
    QVERIFY(!find->watcher->isHardStopped());
}

void TestRowOps::insertAndAppend_emptyRowAtCursor_data()
{
    QTest::addColumn<QStringList>("phrases");
    QTest::addColumn<bool>("append");
    QTest::addColumn<QPoint>("cursor"); // the new current cell

    QTest::newRow("insert at the cursor") << words("alpha bravo charlie") << false << QPoint(1, TypeFind::ColLabels);
    QTest::newRow("append to an empty table") << QStringList() << true << QPoint(0, TypeFind::ColStr);
    QTest::newRow("append below three phrases") << words("alpha bravo charlie") << true << QPoint(3, TypeFind::ColStr);
}

void TestRowOps::insertAndAppend_emptyRowAtCursor()
{
    QFETCH(QStringList, phrases);
    QFETCH(bool, append);
    QFETCH(QPoint, cursor);

    showPhrases(phrases);
    const QStringList stored = rows(QStringLiteral("SELECT * FROM TypeText"));
    if (append) {
        find->appendPhraseAction->trigger();
        QTRY_VERIFY(find->table->hasFocus());
    } else {
        // Without a current cell there is nowhere to insert.
        find->insertRow();
        QCOMPARE(shown(), phrases);
        QVERIFY(!find->table->currentIndex().isValid());
        find->table->setCurrentIndex(find->model->index(cursor.x(), cursor.y()));
        find->insertRow();
    }
    phrases.insert(cursor.x(), QString());
    QCOMPARE(shown(), phrases);
    QCOMPARE(find->table->currentIndex(), find->model->index(cursor.x(), cursor.y()));
    QVERIFY(find->appendPhraseAction->isEnabled());
    // Nothing is stored until a later write submits the row.
    QCOMPARE(rows(QStringLiteral("SELECT * FROM TypeText")), stored);
}

void TestRowOps::actions_followSelectionAndFocus_data()
{
    QTest::addColumn<Cells>("selected");
    QTest::addColumn<bool>("clipboardText");
    QTest::addColumn<bool>("tableFocus");
    QTest::addColumn<bool>("copyCellsDelete");
    QTest::addColumn<bool>("paste");
    QTest::addColumn<QString>("message");

    const Cells cell{{1, TypeFind::ColStr}};
    QTest::newRow("cell chosen, clipboard empty") << cell << false << true << true << false << "";
    QTest::newRow("two cells of one row") << Cells{{1, TypeFind::ColStr}, {1, TypeFind::ColLabels}} << true << true
                                          << true << true << "1 phrase(s) have been chosen.";
    QTest::newRow("current cell not selected") << Cells{} << true << true << false << false << "";
    QTest::newRow("table without focus") << cell << true << false << false << false << "";
}

void TestRowOps::actions_followSelectionAndFocus()
{
    QFETCH(Cells, selected);
    QFETCH(bool, clipboardText);
    QFETCH(bool, tableFocus);
    QFETCH(bool, copyCellsDelete);
    QFETCH(bool, paste);
    QFETCH(QString, message);

    showPhrases(words("alpha bravo charlie"));
    if (clipboardText)
        QApplication::clipboard()->setText(QStringLiteral("from elsewhere"));
    QSignalSpy messages(find, &TypeFind::setMessage);
    select(selected, QPoint(1, TypeFind::ColStr));
    // Without table focus: what the main window does when the clipboard changes while the search line has it.
    QWidget *focus = tableFocus ? static_cast<QWidget *>(find->table) : find->findChild<QLineEdit *>();
    focus->setFocus();
    QTRY_VERIFY(focus->hasFocus());
    if (!tableFocus)
        find->enableChanged(find->table->hasFocus());

    for (QAction *action : {find->copyPhraseAction, find->copyCellsAction, find->deletePhraseAction})
        QCOMPARE(action->isEnabled(), copyCellsDelete);
    QCOMPARE(find->pastePhraseAction->isEnabled(), paste);
    QVERIFY(find->appendPhraseAction->isEnabled());
    QString chosen;
    for (const QList<QVariant> &signal : messages) {
        if (signal.at(0).toString().contains(QLatin1String("chosen")))
            chosen = signal.at(0).toString();
    }
    QCOMPARE(chosen, message);
}

void TestRowOps::currentChange_sendsPhraseAndCount_data()
{
    QTest::addColumn<QString>("phrase");
    QTest::addColumn<QString>("sent");
    QTest::addColumn<QString>("message");

    QTest::newRow("rich text") << "plain|<b>rich</b>|7"
                               << "<b>rich</b>"
                               << "The phrase used 7 time(s)";
    QTest::newRow("empty html") << "plain||1"
                                << "plain"
                                << "The phrase used 1 time(s)";
    QTest::newRow("null html, never used") << "plain"
                                           << "plain"
                                           << "The phrase used 0 time(s)";
}

void TestRowOps::currentChange_sendsPhraseAndCount()
{
    QFETCH(QString, phrase);
    QFETCH(QString, sent);
    QFETCH(QString, message);

    showPhrases({QStringLiteral("other|<i>other</i>|3"), phrase});
    QSignalSpy html(find, &TypeFind::setHtml);
    QSignalSpy messages(find, &TypeFind::setMessage);
    find->table->setCurrentIndex(find->model->index(shown().indexOf(QStringLiteral("plain")), TypeFind::ColLabels));

    QCOMPARE(html.count(), 1);
    QCOMPARE(html.first().at(0).toString(), sent);
    QVERIFY(!messages.isEmpty());
    QCOMPARE(messages.last().at(0).toString(), message);
}

void TestRowOps::writeHtml_landsOnSentPhrase_data()
{
    QTest::addColumn<bool>("sort");         // instead of the rest: the phrase ends up beyond the fetched rows
    QTest::addColumn<QString>("meanwhile"); // a change of the file behind the model's back, then a search
    QTest::addColumn<QString>("search");
    QTest::addColumn<bool>("stored");

    QTest::newRow("sorted away") << true << ""
                                 << "" << true;
    QTest::newRow("insert above, reload") << false << "INSERT INTO TypeText (Str) VALUES ('a first')"
                                          << "" << true;
    QTest::newRow("search hides the phrase") << false << ""
                                             << "p1" << true;
    QTest::newRow("deleted, reload") << false << "DELETE FROM TypeText WHERE Str = 'p002'"
                                     << "p" << false;
}

void TestRowOps::writeHtml_landsOnSentPhrase()
{
    QFETCH(bool, sort);
    QFETCH(QString, meanwhile);
    QFETCH(QString, search);
    QFETCH(bool, stored);

    QStringList phrases;
    for (int i = 0; i < 400; ++i)
        phrases << QStringLiteral("p%1").arg(i, 3, 10, QLatin1Char('0'));
    showPhrases(phrases);
    find->table->setCurrentIndex(find->model->index(2, TypeFind::ColStr));
    QCOMPARE(shown().at(2), QStringLiteral("p002"));
    if (sort) {
        find->table->sortByColumn(TypeFind::ColStr, Qt::DescendingOrder);
        QVERIFY(find->model->rowCount() < 398);
    } else {
        QVERIFY(meanwhile.isEmpty() || QSqlQuery().exec(meanwhile));
        // A search reloads without sending another phrase to the editor.
        find->findChild<QLineEdit *>()->setText(search);
        find->findStart();
    }
    const QString fixed = QStringLiteral("SELECT id, Labels, KeyWord, HotKey, LabelLower, KeyLower, Rating, Frequency "
                                         "FROM TypeText ORDER BY id");
    const QString written = QStringLiteral("SELECT Str, Html, StrLower FROM TypeText ORDER BY id");
    const QStringList untouched = rows(fixed);
    QStringList expected = rows(written);
    const int at = expected.indexOf(QStringLiteral("p002|<null>|p002"));
    QCOMPARE(at >= 0, stored);
    if (stored)
        expected[at] = QStringLiteral("Ünïcode Text|<p>Ünïcode <b>Text</b></p>|ünïcode text");

    find->writeHtml(QStringLiteral("<p>Ünïcode <b>Text</b></p>"), QStringLiteral("Ünïcode Text"));

    QCOMPARE(rows(fixed), untouched);
    QCOMPARE(rows(written), expected);
}

void TestRowOps::writeHtml_appendedRow_isStored()
{
    showPhrases(words("alpha"));
    find->appendRow();
    QCOMPARE(find->table->currentIndex().row(), 1);
    find->writeHtml(QStringLiteral("<i>new</i>"), QStringLiteral("New"));
    QCOMPARE(rows(QStringLiteral("SELECT Str, StrLower, Html FROM TypeText WHERE Str <> 'alpha'")),
             QStringList{QStringLiteral("New|new|<i>new</i>")});
}

void TestRowOps::phraseCellEdit_reachesEditorOnce()
{
    showPhrases(words("alpha bravo"));
    // A second binding, as after a switch of the database file.
    find->setupModel();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QSignalSpy html(find, &TypeFind::setHtml);
    QLineEdit editor;
    editor.setText(QStringLiteral("Bravo Two"));
    find->table->itemDelegateForColumn(TypeFind::ColStr)
        ->setModelData(&editor, find->model, find->model->index(1, TypeFind::ColStr));

    QCOMPARE(html.count(), 1);
    QCOMPARE(html.first().at(0).toString(), QStringLiteral("Bravo Two"));
}

QTEST_MAIN(TestRowOps)
#include "tst_rowops.moc"
