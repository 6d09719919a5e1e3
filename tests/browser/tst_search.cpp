#include "browserfixture.h"

#include <QAction>
#include <QPushButton>
#include <QSignalSpy>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlTableModel>

namespace {

// "a|b|c" as a sorted list.
QStringList sorted(const char *items)
{
    QStringList list = QString::fromUtf8(items).split(QLatin1Char('|'), Qt::SkipEmptyParts);
    list.sort();
    return list;
}

QString lastMessage(const QSignalSpy &spy)
{
    return spy.isEmpty() ? QStringLiteral("<none>") : spy.last().at(0).toString();
}

} // namespace

class TestSearch : public QObject, protected BrowserFixture
{
    Q_OBJECT

private slots:
    void init() { openPhraseFile(); }
    void cleanup() { closePhraseFile(); }
    void search_findsSubstringLiterally_data();
    void search_findsSubstringLiterally();
    void searchLine_filtersOnReturnAndCountsEveryRow();
    void search_actionStates_data();
    void search_actionStates();

private:
    QLineEdit *searchLine() const { return find->findChild<QLineEdit *>(); }
    QPushButton *clearButton() const { return find->findChild<QPushButton *>(); }

    // Each phrase is "text|labels|keyword", stored with its lower-case shadow columns.
    void seed(const QStringList &phrases)
    {
        QSqlDatabase::database().transaction();
        QSqlQuery query;
        QVERIFY(query.prepare(QStringLiteral("INSERT INTO TypeText (Str, StrLower, Labels, LabelLower, KeyWord, "
                                             "KeyLower) VALUES (?, ?, ?, ?, ?, ?)")));
        for (const QString &phrase : phrases) {
            for (int i = 0; i < 3; ++i) {
                query.addBindValue(phrase.section(QLatin1Char('|'), i, i));
                query.addBindValue(phrase.section(QLatin1Char('|'), i, i).toLower());
            }
            QVERIFY2(query.exec(), qPrintable(query.lastError().text()));
        }
        QSqlDatabase::database().commit();
    }

    QStringList shownPhrases()
    {
        while (find->model->canFetchMore())
            find->model->fetchMore();
        QStringList shown;
        for (int row = 0; row < find->model->rowCount(); ++row)
            shown << find->model->data(find->model->index(row, TypeFind::ColStr)).toString();
        shown.sort();
        return shown;
    }
};

void TestSearch::search_findsSubstringLiterally_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("found");

    QTest::newRow("any case, in text, label and keyword") << "ABC" << sorted("xabcx|plain|other");
    QTest::newRow("apostrophe") << "it's" << sorted("it's here");
    QTest::newRow("percent is no wildcard") << "100%" << sorted("100% juice");
    QTest::newRow("underscore is no wildcard") << "a_c" << sorted("a_c");
    QTest::newRow("backslash") << "\\" << sorted("back\\slash");
    QTest::newRow("cyrillic, also a row without shadow text") << "ПРИВЕТ" << sorted("Привет мир|ПРИВЕТ");
    QTest::newRow("cyrillic keyword, mixed case") << "ЗвЕрЬ" << sorted("СЛОН");
    QTest::newRow("quote that would close the literal") << "') or ('1'='1" << QStringList();
    QTest::newRow("statement injection") << "'; DELETE FROM TypeText; --" << QStringList();
}

void TestSearch::search_findsSubstringLiterally()
{
    QFETCH(QString, text);
    QFETCH(QStringList, found);

    seed(sorted("xabcx|it's here|its here|100% juice|1000 juice|a_c|axc|back\\slash|backslash|Привет мир|ПРИВЕТ"));
    seed({QStringLiteral("plain|Abc"), QStringLiteral("other||ABC"), QString::fromUtf8("СЛОН|Животные|Зверь")});
    // No shadow text, as rows written before it was kept: only the phrase as typed can find it.
    QSqlQuery legacy(QString::fromUtf8("UPDATE TypeText SET StrLower = NULL WHERE Str = 'ПРИВЕТ'"));
    showBrowser();
    QSignalSpy messages(find, &TypeFind::setMessage);
    searchLine()->setText(text);
    find->findStart();

    QVERIFY2(!find->model->lastError().isValid(), qPrintable(find->model->lastError().text()));
    QCOMPARE(shownPhrases(), found);
    QCOMPARE(lastMessage(messages), found.isEmpty()
                                        ? QStringLiteral("Phrases are not found.")
                                        : QStringLiteral("%1 phrase(s) have been found.").arg(found.size()));
    QSqlQuery count(QStringLiteral("SELECT count(*) FROM TypeText"));
    QVERIFY(count.next());
    QCOMPARE(count.value(0).toInt(), 14);
}

void TestSearch::searchLine_filtersOnReturnAndCountsEveryRow()
{
    QStringList phrases = sorted("one|two|three");
    for (int i = 0; i < 1000; ++i)
        phrases << QStringLiteral("match %1").arg(i, 4, 10, QLatin1Char('0'));
    seed(phrases);
    showBrowser();
    QVERIFY(!clearButton()->isEnabled());
    QSignalSpy messages(find, &TypeFind::setMessage);
    QSignalSpy cleared(find, &TypeFind::clearHtml);
    searchLine()->setFocus();
    QTRY_VERIFY(searchLine()->hasFocus());
    const int shown = find->model->rowCount();
    QTest::keyClicks(searchLine(), QStringLiteral("THR"));
    // Typing alone filters nothing; Return does.
    QCOMPARE(find->model->rowCount(), shown);
    QVERIFY(find->model->filter().isEmpty());
    QVERIFY(clearButton()->isEnabled());
    QVERIFY(messages.isEmpty());
    QTest::keyClick(searchLine(), Qt::Key_Return);
    QCOMPARE(shownPhrases(), sorted("three"));
    QCOMPARE(lastMessage(messages), QStringLiteral("1 phrase(s) have been found."));
    QVERIFY(!cleared.isEmpty());

    // Counts are true although the model has not fetched every row.
    cleared.clear();
    QTest::mouseClick(clearButton(), Qt::LeftButton);
    QVERIFY(searchLine()->text().isEmpty());
    QVERIFY(!cleared.isEmpty());
    QVERIFY(!clearButton()->isEnabled());
    QVERIFY(find->model->canFetchMore());
    QCOMPARE(lastMessage(messages), QStringLiteral("A total of 1003 phrase(s)."));
    QTest::keyClicks(searchLine(), QStringLiteral("MATCH"));
    QTest::keyClick(searchLine(), Qt::Key_Return);
    QVERIFY(find->model->canFetchMore());
    QCOMPARE(lastMessage(messages), QStringLiteral("1000 phrase(s) have been found."));

    // Emptying the line by editing shows every phrase at once, before editing finishes.
    cleared.clear();
    searchLine()->selectAll();
    QTest::keyClick(searchLine(), Qt::Key_Backspace);
    QVERIFY(find->model->filter().isEmpty());
    QVERIFY(!cleared.isEmpty());
    QVERIFY(!clearButton()->isEnabled());
    QCOMPARE(lastMessage(messages), QStringLiteral("A total of 1003 phrase(s)."));
}

void TestSearch::search_actionStates_data()
{
    QTest::addColumn<bool>("actEnable");
    QTest::newRow("search line finished") << false;
    QTest::newRow("reload after a change") << true;
}

void TestSearch::search_actionStates()
{
    QFETCH(bool, actEnable);
    seed(sorted("mango"));
    showBrowser();
    for (QAction *action :
         {find->copyPhraseAction, find->copyCellsAction, find->pastePhraseAction, find->deletePhraseAction})
        action->setEnabled(true);
    searchLine()->setText(QStringLiteral("man"));
    find->findStart(actEnable);

    QCOMPARE(find->copyPhraseAction->isEnabled(), actEnable);
    QCOMPARE(find->deletePhraseAction->isEnabled(), actEnable);
    for (QAction *untouched : {find->copyCellsAction, find->pastePhraseAction, find->appendPhraseAction})
        QVERIFY(untouched->isEnabled());
}

QTEST_MAIN(TestSearch)
#include "tst_search.moc"
