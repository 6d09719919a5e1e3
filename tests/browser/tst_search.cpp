#include "app/globals.h"
#include "browser/sqltable.h"
#include "browser/typefind.h"
#include "browserfixture.h"

#include <QAction>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlTableModel>
#include <QtTest>

namespace {

struct Seed
{
    QString str;
    QVariant strLower; // null: a row written before the shadow columns were kept
    QString labels;
    QString keyWord;
};

QVariant lowerOrNull(const QString &text)
{
    return text.isEmpty() ? QVariant(QVariant::String) : QVariant(text.toLower());
}

} // namespace

class TestSearch : public QObject, protected BrowserFixture
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void search_findsSubstringLiterally_data();
    void search_findsSubstringLiterally();
    void count_isTrueNumberBeyondFetchedRows_data();
    void count_isTrueNumberBeyondFetchedRows();
    void typing_filtersOnlyWhenEditingFinishes();
    void clearButton_showsAllPhrases();
    void search_actionStates_data();
    void search_actionStates();

private:
    void seed(const QVector<Seed> &phrases);
    void seedMany(const QString &pattern, int count);
    void showDock();
    QStringList shownPhrases();
    QLineEdit *searchLine() const { return find->findChild<QLineEdit *>(); }
    QPushButton *clearButton() const { return find->findChild<QPushButton *>(); }

};

void TestSearch::init()
{
    openPhraseFile();
}

void TestSearch::cleanup()
{
    closePhraseFile();
}

void TestSearch::seed(const QVector<Seed> &phrases)
{
    QSqlDatabase db = QSqlDatabase::database();
    db.transaction();
    QSqlQuery query;
    QVERIFY(query.prepare(QStringLiteral("INSERT INTO TypeText (Str, StrLower, Labels, LabelLower, KeyWord, KeyLower) "
                                         "VALUES (?, ?, ?, ?, ?, ?)")));
    for (const Seed &phrase : phrases) {
        query.addBindValue(phrase.str);
        query.addBindValue(phrase.strLower);
        query.addBindValue(phrase.labels);
        query.addBindValue(lowerOrNull(phrase.labels));
        query.addBindValue(phrase.keyWord);
        query.addBindValue(lowerOrNull(phrase.keyWord));
        QVERIFY2(query.exec(), qPrintable(query.lastError().text()));
    }
    db.commit();
}

void TestSearch::seedMany(const QString &pattern, int count)
{
    QVector<Seed> phrases;
    for (int i = 0; i < count; ++i) {
        const QString str = pattern.arg(i, 4, 10, QLatin1Char('0'));
        phrases.append({str, str.toLower(), QString(), QString()});
    }
    seed(phrases);
}

void TestSearch::showDock()
{
    showBrowser();
    QVERIFY(searchLine());
    QVERIFY(clearButton());
}

QStringList TestSearch::shownPhrases()
{
    while (find->model->canFetchMore())
        find->model->fetchMore();
    QStringList shown;
    for (int row = 0; row < find->model->rowCount(); ++row)
        shown << find->model->data(find->model->index(row, TypeFind::ColStr)).toString();
    shown.sort();
    return shown;
}

void TestSearch::search_findsSubstringLiterally_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("found");

    const auto list = [](std::initializer_list<const char *> items) {
        QStringList result;
        for (const char *item : items)
            result << QString::fromUtf8(item);
        result.sort();
        return result;
    };
    QTest::newRow("ascii any case, text, label and keyword") << "ABC" << list({"xabcx", "plain", "other"});
    QTest::newRow("lower-case input") << "abc" << list({"xabcx", "plain", "other"});
    QTest::newRow("blank inside is part of the substring") << "s h" << list({"it's here", "its here"});
    QTest::newRow("apostrophe") << "it's" << list({"it's here"});
    QTest::newRow("lone apostrophe") << "'" << list({"it's here"});
    QTest::newRow("percent is no wildcard") << "100%" << list({"100% juice"});
    QTest::newRow("lone percent") << "%" << list({"100% juice"});
    QTest::newRow("underscore is no wildcard") << "a_c" << list({"a_c"});
    QTest::newRow("lone underscore") << "_" << list({"a_c"});
    QTest::newRow("backslash") << "\\" << list({"back\\slash"});
    QTest::newRow("upper-case cyrillic") << QString::fromUtf8("ПРИВЕТ") << list({"Привет мир", "ПРИВЕТ"});
    QTest::newRow("lower-case cyrillic") << QString::fromUtf8("привет") << list({"Привет мир"});
    QTest::newRow("cyrillic label, upper-case input") << QString::fromUtf8("ЖИВОТНЫЕ") << list({"СЛОН"});
    QTest::newRow("cyrillic keyword, mixed case") << QString::fromUtf8("ЗвЕрЬ") << list({"СЛОН"});
    QTest::newRow("quote that would close the literal") << "') or ('1'='1" << QStringList();
    QTest::newRow("statement injection") << "'; DELETE FROM TypeText; --" << QStringList();
    QTest::newRow("nothing matches") << "zzz" << QStringList();
}

void TestSearch::search_findsSubstringLiterally()
{
    QFETCH(QString, text);
    QFETCH(QStringList, found);

    seed({{QStringLiteral("xabcx"), QStringLiteral("xabcx"), QString(), QString()},
          {QStringLiteral("plain"), QStringLiteral("plain"), QStringLiteral("Abc"), QString()},
          {QStringLiteral("other"), QStringLiteral("other"), QString(), QStringLiteral("ABC")},
          {QStringLiteral("it's here"), QStringLiteral("it's here"), QString(), QString()},
          {QStringLiteral("its here"), QStringLiteral("its here"), QString(), QString()},
          {QStringLiteral("100% juice"), QStringLiteral("100% juice"), QString(), QString()},
          {QStringLiteral("1000 juice"), QStringLiteral("1000 juice"), QString(), QString()},
          {QStringLiteral("a_c"), QStringLiteral("a_c"), QString(), QString()},
          {QStringLiteral("axc"), QStringLiteral("axc"), QString(), QString()},
          {QStringLiteral("back\\slash"), QStringLiteral("back\\slash"), QString(), QString()},
          {QStringLiteral("backslash"), QStringLiteral("backslash"), QString(), QString()},
          {QString::fromUtf8("Привет мир"), QString::fromUtf8("привет мир"), QString(), QString()},
          // No shadow text: only the phrase as typed can find it.
          {QString::fromUtf8("ПРИВЕТ"), QVariant(QVariant::String), QString(), QString()},
          {QString::fromUtf8("СЛОН"), QString::fromUtf8("слон"), QString::fromUtf8("Животные"),
           QString::fromUtf8("Зверь")}});
    showDock();
    const int total = find->model->rowCount();

    QSignalSpy messages(find, &TypeFind::setMessage);
    searchLine()->setText(text);
    find->findStart();

    QVERIFY2(!find->model->lastError().isValid(), qPrintable(find->model->lastError().text()));
    QCOMPARE(shownPhrases(), found);
    QVERIFY(!messages.isEmpty());
    const QString expected = found.isEmpty() ? QStringLiteral("Phrases are not found.")
                                             : QStringLiteral("%1 phrase(s) have been found.").arg(found.size());
    QCOMPARE(messages.last().at(0).toString(), expected);

    QSqlQuery count(QStringLiteral("SELECT count(*) FROM TypeText"));
    QVERIFY(count.next());
    QCOMPARE(count.value(0).toInt(), total);
}

void TestSearch::count_isTrueNumberBeyondFetchedRows_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("expected");

    QTest::newRow("search") << "search" << "1000 phrase(s) have been found.";
    QTest::newRow("search line emptied by editing") << "edit" << "A total of 1003 phrase(s).";
    QTest::newRow("clear button") << "clear" << "A total of 1003 phrase(s).";
}

void TestSearch::count_isTrueNumberBeyondFetchedRows()
{
    QFETCH(QString, how);
    QFETCH(QString, expected);

    seedMany(QStringLiteral("match %1"), 1000);
    seed({{QStringLiteral("one"), QStringLiteral("one"), QString(), QString()},
          {QStringLiteral("two"), QStringLiteral("two"), QString(), QString()},
          {QStringLiteral("three"), QStringLiteral("three"), QString(), QString()}});
    showDock();

    QSignalSpy messages(find, &TypeFind::setMessage);
    if (how == QLatin1String("search")) {
        searchLine()->setText(QStringLiteral("MATCH"));
        find->findStart();
    } else {
        searchLine()->setFocus();
        QTRY_VERIFY(searchLine()->hasFocus());
        QTest::keyClicks(searchLine(), QStringLiteral("match"));
        QTest::keyClick(searchLine(), Qt::Key_Return);
        if (how == QLatin1String("edit")) {
            searchLine()->selectAll();
            QTest::keyClick(searchLine(), Qt::Key_Backspace);
        } else {
            QTest::mouseClick(clearButton(), Qt::LeftButton);
        }
    }
    // The model has not fetched every row: the message must not depend on that.
    QVERIFY(find->model->canFetchMore());
    QVERIFY(find->model->rowCount() < 1000);
    QVERIFY(!messages.isEmpty());
    QCOMPARE(messages.last().at(0).toString(), expected);
}

void TestSearch::typing_filtersOnlyWhenEditingFinishes()
{
    seed({{QStringLiteral("mango"), QStringLiteral("mango"), QString(), QString()},
          {QStringLiteral("melon"), QStringLiteral("melon"), QString(), QString()},
          {QStringLiteral("olive"), QStringLiteral("olive"), QString(), QString()}});
    showDock();
    QSignalSpy messages(find, &TypeFind::setMessage);
    QSignalSpy cleared(find, &TypeFind::clearHtml);

    searchLine()->setFocus();
    QTRY_VERIFY(searchLine()->hasFocus());
    QTest::keyClicks(searchLine(), QStringLiteral("MEL"));
    QCOMPARE(find->model->rowCount(), 3);
    QVERIFY(find->model->filter().isEmpty());
    QVERIFY(clearButton()->isEnabled());
    QVERIFY(messages.isEmpty());

    QTest::keyClick(searchLine(), Qt::Key_Return);
    QCOMPARE(shownPhrases(), QStringList{QStringLiteral("melon")});
    QVERIFY(!messages.isEmpty());
    QCOMPARE(messages.last().at(0).toString(), QStringLiteral("1 phrase(s) have been found."));
    QVERIFY(!cleared.isEmpty());

    cleared.clear();
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(searchLine(), Qt::Key_Backspace);
    // The last character gone: every phrase is back at once, before editing finishes.
    QCOMPARE(find->model->rowCount(), 3);
    QCOMPARE(messages.last().at(0).toString(), QStringLiteral("A total of 3 phrase(s)."));
    QVERIFY(!cleared.isEmpty());
    QVERIFY(!clearButton()->isEnabled());
}

void TestSearch::clearButton_showsAllPhrases()
{
    seed({{QStringLiteral("mango"), QStringLiteral("mango"), QString(), QString()},
          {QStringLiteral("melon"), QStringLiteral("melon"), QString(), QString()}});
    showDock();
    QVERIFY(!clearButton()->isEnabled());

    searchLine()->setFocus();
    QTRY_VERIFY(searchLine()->hasFocus());
    QTest::keyClicks(searchLine(), QStringLiteral("nothing like it"));
    QTest::keyClick(searchLine(), Qt::Key_Enter);
    QCOMPARE(find->model->rowCount(), 0);

    QSignalSpy messages(find, &TypeFind::setMessage);
    QSignalSpy cleared(find, &TypeFind::clearHtml);
    QVERIFY(clearButton()->isEnabled());
    QTest::mouseClick(clearButton(), Qt::LeftButton);

    QVERIFY(searchLine()->text().isEmpty());
    QCOMPARE(find->model->rowCount(), 2);
    QVERIFY(!messages.isEmpty());
    QCOMPARE(messages.last().at(0).toString(), QStringLiteral("A total of 2 phrase(s)."));
    QVERIFY(!cleared.isEmpty());
    QVERIFY(!clearButton()->isEnabled());
}

void TestSearch::search_actionStates_data()
{
    QTest::addColumn<bool>("actEnable");
    QTest::addColumn<bool>("copyAndDeleteAfter");

    QTest::newRow("search line finished") << false << false;
    QTest::newRow("reload after a change") << true << true;
}

void TestSearch::search_actionStates()
{
    QFETCH(bool, actEnable);
    QFETCH(bool, copyAndDeleteAfter);

    seed({{QStringLiteral("mango"), QStringLiteral("mango"), QString(), QString()}});
    showDock();
    for (QAction *action : {find->copyPhraseAction, find->copyCellsAction, find->pastePhraseAction,
                            find->deletePhraseAction})
        action->setEnabled(true);

    searchLine()->setText(QStringLiteral("man"));
    find->findStart(actEnable);

    QCOMPARE(find->copyPhraseAction->isEnabled(), copyAndDeleteAfter);
    QCOMPARE(find->deletePhraseAction->isEnabled(), copyAndDeleteAfter);
    QVERIFY(find->copyCellsAction->isEnabled());
    QVERIFY(find->pastePhraseAction->isEnabled());
    QVERIFY(find->appendPhraseAction->isEnabled());
}

QTEST_MAIN(TestSearch)
#include "tst_search.moc"
