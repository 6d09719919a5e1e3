#include "app/globals.h"
#include "browser/sqltable.h"
#include "browser/typefind.h"
#include "db/typewatch.h"
#include "browserfixture.h"

#include <QAction>
#include <QClipboard>
#include <QHeaderView>
#include <QLineEdit>
#include <QMainWindow>
#include <QMimeData>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlTableModel>
#include <QtEndian>
#include <QtTest>

namespace {

// The payload built by hand, so the test does not trust the program's own encoder.
void putUInt32(QByteArray &data, quint32 value)
{
    char bytes[4];
    qToBigEndian(value, bytes);
    data.append(bytes, 4);
}

void putString(QByteArray &data, const QString &text)
{
    if (text.isNull()) {
        putUInt32(data, 0xFFFFFFFF);
        return;
    }
    putUInt32(data, quint32(text.size() * 2));
    for (const QChar c : text) {
        char unit[2];
        qToBigEndian(c.unicode(), unit);
        data.append(unit, 2);
    }
}

struct Record
{
    QString str, labels, keyWord, hotKey, html;
    qint32 rating = 0;
    qint32 frequency = 0;
};

QByteArray payload(const QVector<Record> &records)
{
    QByteArray data;
    for (const Record &r : records) {
        putString(data, r.str);
        putString(data, r.labels);
        putString(data, r.keyWord);
        putString(data, r.hotKey);
        putString(data, r.html);
        putUInt32(data, quint32(r.rating));
        putUInt32(data, quint32(r.frequency));
    }
    return data;
}

// A phrase as stored: Str, Labels, KeyWord, HotKey, Html, StrLower, LabelLower, KeyLower, Rating, Frequency.
QString storedPhrase(const QString &where)
{
    QSqlQuery query(QStringLiteral("SELECT Str, Labels, KeyWord, HotKey, Html, StrLower, LabelLower, KeyLower, "
                                   "Rating, Frequency FROM TypeText WHERE ") + where);
    if (!query.next())
        return QStringLiteral("<none>");
    QStringList fields;
    for (int i = 0; i < 10; ++i)
        fields << (query.isNull(i) ? QStringLiteral("<null>") : query.value(i).toString());
    return fields.join(QLatin1Char('|'));
}

int phraseCount()
{
    QSqlQuery query(QStringLiteral("SELECT count(*) FROM TypeText"));
    return query.next() ? query.value(0).toInt() : -1;
}

int storedFrequency(const QString &str)
{
    QSqlQuery query;
    query.prepare(QStringLiteral("SELECT Frequency FROM TypeText WHERE Str = ?"));
    query.addBindValue(str);
    return query.exec() && query.next() ? query.value(0).toInt() : -1;
}

void setClipboard(const QMap<QString, QByteArray> &formats)
{
    auto *mime = new QMimeData;
    for (auto it = formats.cbegin(); it != formats.cend(); ++it)
        mime->setData(it.key(), it.value());
    QApplication::clipboard()->setMimeData(mime);
}

} // namespace

class TestBrowserClipboard : public QObject, protected BrowserFixture
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void copy_putsRecordTextAndHtml_data();
    void copy_putsRecordTextAndHtml();
    void copy_severalRows_countsEachOnce();
    void copy_cursorOffSelection_countsCopiedPhrase();
    void copyCells_textOnly();
    void paste_copiedRowsAboveCurrent();
    void paste_fromOtherProgram_data();
    void paste_fromOtherProgram();
    void paste_withoutCurrentCell_doesNothing();
    void paste_malformedPayload_data();
    void paste_malformedPayload();

private:
    void seed(const QVector<Record> &records);
    void showDock();
    int rowOf(const QString &str) const;
    QString strAt(int row) const;

};

void TestBrowserClipboard::init()
{
    openPhraseFile();
}

void TestBrowserClipboard::cleanup()
{
    closePhraseFile();
}

// Null strings become SQL NULL.
void TestBrowserClipboard::seed(const QVector<Record> &records)
{
    QSqlDatabase db = QSqlDatabase::database();
    db.transaction();
    QSqlQuery query;
    QVERIFY(query.prepare(QStringLiteral("INSERT INTO TypeText (Str, Labels, KeyWord, HotKey, Html, StrLower, "
                                         "LabelLower, KeyLower, Rating, Frequency) VALUES (?, ?, ?, ?, ?, ?, ?, ?, "
                                         "?, ?)")));
    for (const Record &r : records) {
        for (const QString &field : {r.str, r.labels, r.keyWord, r.hotKey, r.html})
            query.addBindValue(field);
        for (const QString &field : {r.str, r.labels, r.keyWord})
            query.addBindValue(field.isNull() ? QString() : field.toLower());
        query.addBindValue(r.rating);
        query.addBindValue(r.frequency);
        QVERIFY2(query.exec(), qPrintable(query.lastError().text()));
    }
    db.commit();
}

void TestBrowserClipboard::showDock()
{
    showBrowser();
}

int TestBrowserClipboard::rowOf(const QString &str) const
{
    for (int row = 0; row < find->model->rowCount(); ++row) {
        if (strAt(row) == str)
            return row;
    }
    return -1;
}

QString TestBrowserClipboard::strAt(int row) const
{
    return find->model->data(find->model->index(row, TypeFind::ColStr)).toString();
}

void TestBrowserClipboard::copy_putsRecordTextAndHtml_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("rich");

    QTest::newRow("copy action, rich phrase") << "action" << true;
    QTest::newRow("copy action, plain phrase") << "action" << false;
    QTest::newRow("space key") << "space" << true;
    QTest::newRow("row header, other row current") << "header" << true;
    QTest::newRow("row header, plain phrase") << "header" << false;
}

void TestBrowserClipboard::copy_putsRecordTextAndHtml()
{
    QFETCH(QString, how);
    QFETCH(bool, rich);

    Record known;
    known.str = QString::fromUtf8("Grüße, мир");
    known.labels = QString(); // NULL in the file
    known.keyWord = QStringLiteral("kw");
    known.hotKey = QStringLiteral("");
    known.html = rich ? QStringLiteral("<b>Gr&uuml;&szlig;e</b>") : QStringLiteral("");
    known.rating = 42;
    known.frequency = 6;
    seed({known, {QStringLiteral("another"), QStringLiteral("l"), QStringLiteral("k"), QStringLiteral(""),
                  QStringLiteral("<i>another</i>"), 1, 2}});
    showDock();
    const int row = rowOf(known.str);
    QVERIFY(row >= 0);
    const int other = 1 - row;

    if (how == QLatin1String("header")) {
        // Whatever is current and selected, the pressed header decides the phrase.
        find->table->setCurrentIndex(find->model->index(other, TypeFind::ColStr));
        QHeaderView *header = find->table->verticalHeader();
        QTest::mousePress(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->width() / 2, header->sectionViewportPosition(row) + 2));
        QTest::mouseRelease(header->viewport(), Qt::LeftButton, {},
                            QPoint(header->width() / 2, header->sectionViewportPosition(row) + 2));
    } else {
        find->table->setCurrentIndex(find->model->index(row, TypeFind::ColLabels));
        find->table->setFocus();
        QTRY_VERIFY(find->table->hasFocus());
        QVERIFY(find->copyPhraseAction->isEnabled());
        if (how == QLatin1String("space"))
            QTest::keyClick(find->table, Qt::Key_Space);
        else
            find->copyPhraseAction->trigger();
    }

    Record expected = known;
    expected.frequency = 7;
    const QMimeData *mime = QApplication::clipboard()->mimeData();
    QVERIFY(mime);
    QCOMPARE(mime->data(clipboardFormat).toHex(), payload({expected}).toHex());
    QCOMPARE(mime->text(), known.str);
    QCOMPARE(mime->hasHtml(), rich);
    if (rich)
        QCOMPARE(mime->html(), known.html);
    QVERIFY(find->pastePhraseAction->isEnabled());

    QCOMPARE(find->model->data(find->model->index(row, TypeFind::ColFrequency)).toInt(), 7);
    QCOMPARE(storedFrequency(known.str), 7);
    QCOMPARE(storedFrequency(QStringLiteral("another")), 2);
}

void TestBrowserClipboard::copy_severalRows_countsEachOnce()
{
    seed({{QStringLiteral("alpha"), QStringLiteral("a"), QString(), QString(), QStringLiteral("<b>alpha</b>"), 1, 10},
          {QStringLiteral("bravo"), QString(), QString(), QString(), QStringLiteral("<b>bravo</b>"), 2, 20},
          {QStringLiteral("charlie"), QString(), QString(), QString(), QString(), 3, 30},
          {QStringLiteral("delta"), QString(), QString(), QString(), QString(), 4, 40}});
    showDock();

    // Two cells of each of three rows; the current cell is in the middle row.
    QItemSelectionModel *selection = find->table->selectionModel();
    selection->setCurrentIndex(find->model->index(1, TypeFind::ColStr), QItemSelectionModel::NoUpdate);
    selection->select(QItemSelection(find->model->index(0, TypeFind::ColStr),
                                     find->model->index(2, TypeFind::ColLabels)),
                      QItemSelectionModel::ClearAndSelect);
    find->copyPhrase();
    find->copyPhrase();

    const QMimeData *mime = QApplication::clipboard()->mimeData();
    QVERIFY(mime);
    QVector<Record> expected{
        {QStringLiteral("alpha"), QStringLiteral("a"), QString(), QString(), QStringLiteral("<b>alpha</b>"), 1, 12},
        {QStringLiteral("bravo"), QString(), QString(), QString(), QStringLiteral("<b>bravo</b>"), 2, 22},
        {QStringLiteral("charlie"), QString(), QString(), QString(), QString(), 3, 32}};
    QCOMPARE(mime->data(clipboardFormat).toHex(), payload(expected).toHex());
    // Text and rich text come from the current row alone.
    QCOMPARE(mime->text(), QStringLiteral("bravo"));
    QCOMPARE(mime->html(), QStringLiteral("<b>bravo</b>"));

    const QList<int> counts{12, 22, 32, 40};
    const QStringList names{QStringLiteral("alpha"), QStringLiteral("bravo"), QStringLiteral("charlie"),
                            QStringLiteral("delta")};
    for (int i = 0; i < names.size(); ++i) {
        QCOMPARE(storedFrequency(names.at(i)), counts.at(i));
        QCOMPARE(find->model->data(find->model->index(rowOf(names.at(i)), TypeFind::ColFrequency)).toInt(),
                 counts.at(i));
    }
}

void TestBrowserClipboard::copy_cursorOffSelection_countsCopiedPhrase()
{
    seed({{QStringLiteral("alpha"), QString(), QString(), QString(), QString(), 0, 1},
          {QStringLiteral("bravo"), QString(), QString(), QString(), QString(), 0, 2}});
    showDock();
    // Row 0 selected, then the cursor moved to row 1 without selecting it.
    QItemSelectionModel *selection = find->table->selectionModel();
    selection->select(find->model->index(0, TypeFind::ColStr), QItemSelectionModel::ClearAndSelect);
    selection->setCurrentIndex(find->model->index(1, TypeFind::ColStr), QItemSelectionModel::NoUpdate);

    find->copyPhrase();

    QCOMPARE(QApplication::clipboard()->mimeData()->text(), QStringLiteral("bravo"));
    QCOMPARE(storedFrequency(QStringLiteral("alpha")), 1);
    QCOMPARE(storedFrequency(QStringLiteral("bravo")), 3);
}

void TestBrowserClipboard::copyCells_textOnly()
{
    seed({{QStringLiteral("alpha"), QStringLiteral("fruit"), QString(), QString(), QStringLiteral("<b>a</b>"), 1, 5},
          {QStringLiteral("bravo"), QString(), QString(), QString(), QString(), 2, 9}});
    showDock();
    const bool pasteBefore = find->pastePhraseAction->isEnabled();

    QItemSelectionModel *selection = find->table->selectionModel();
    selection->setCurrentIndex(find->model->index(0, TypeFind::ColStr), QItemSelectionModel::NoUpdate);
    QItemSelection chosen;
    for (const int column : {int(TypeFind::ColStr), int(TypeFind::ColHtml), int(TypeFind::ColFrequency)})
        chosen.select(find->model->index(0, column), find->model->index(0, column));
    selection->select(chosen, QItemSelectionModel::ClearAndSelect);
    find->copyCell();

    const QMimeData *mime = QApplication::clipboard()->mimeData();
    QVERIFY(mime);
    // The hidden rich-text column gives nothing.
    QCOMPARE(mime->text(), QStringLiteral("alpha\n5"));
    QVERIFY(!mime->hasFormat(clipboardFormat));
    QVERIFY(!mime->hasHtml());
    QCOMPARE(storedFrequency(QStringLiteral("alpha")), 5);
    QCOMPARE(find->pastePhraseAction->isEnabled(), pasteBefore);
}

void TestBrowserClipboard::paste_copiedRowsAboveCurrent()
{
    seed({{QStringLiteral("Alpha"), QStringLiteral("Fruit"), QStringLiteral("KW"), QStringLiteral("F1"),
           QStringLiteral("<b>Alpha</b>"), 10, 1},
          {QStringLiteral("Bravo"), QString(), QString::fromUtf8("Ключ"), QString(), QString(), 20, 2},
          {QString::fromUtf8("Чай"), QString::fromUtf8("Напиток"), QString(), QString(), QString(), 30, 3},
          {QString::fromUtf8("Яблоко"), QString(), QString(), QString(), QString(), 0, 0}});
    showDock();
    QItemSelectionModel *selection = find->table->selectionModel();
    selection->setCurrentIndex(find->model->index(0, TypeFind::ColStr), QItemSelectionModel::NoUpdate);
    selection->select(QItemSelection(find->model->index(0, TypeFind::ColStr), find->model->index(2, TypeFind::ColStr)),
                      QItemSelectionModel::ClearAndSelect);
    find->copyPhrase();
    QCOMPARE(phraseCount(), 4);

    const int last = rowOf(QString::fromUtf8("Яблоко"));
    QCOMPARE(last, 3);
    find->table->setCurrentIndex(find->model->index(last, TypeFind::ColLabels));
    find->pastePhrase();

    QCOMPARE(phraseCount(), 7);
    QCOMPARE(strAt(3), QStringLiteral("Alpha"));
    QCOMPARE(strAt(4), QStringLiteral("Bravo"));
    QCOMPARE(strAt(5), QString::fromUtf8("Чай"));
    QCOMPARE(strAt(6), QString::fromUtf8("Яблоко"));
    QCOMPARE(find->table->currentIndex().row(), 3);
    QCOMPARE(find->table->currentIndex().column(), int(TypeFind::ColLabels));
    // The copied rows are no longer chosen; at most the cursor cell is.
    for (const QModelIndex &index : find->table->selectionModel()->selectedIndexes())
        QCOMPARE(index, find->table->currentIndex());
    QVERIFY(!find->watcher->isHardStopped());

    // The new phrases carry every field, the counts after the copy, and fresh lower-case copies.
    const QString newest = QStringLiteral("id > 4 AND Str = '%1'");
    QCOMPARE(storedPhrase(newest.arg(QStringLiteral("Alpha"))),
             QStringLiteral("Alpha|Fruit|KW|F1|<b>Alpha</b>|alpha|fruit|kw|10|2"));
    QCOMPARE(storedPhrase(newest.arg(QStringLiteral("Bravo"))),
             QString::fromUtf8("Bravo|<null>|Ключ|<null>|<null>|bravo|<null>|ключ|20|3"));
    QCOMPARE(storedPhrase(newest.arg(QString::fromUtf8("Чай"))),
             QString::fromUtf8("Чай|Напиток|<null>|<null>|<null>|чай|напиток|<null>|30|4"));
}

void TestBrowserClipboard::paste_fromOtherProgram_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("html");
    QTest::addColumn<QString>("stored");

    QTest::newRow("plain text") << QString::fromUtf8("Hello МИР") << QString()
                                << QString::fromUtf8("Hello МИР|||||hello мир|||0|0");
    QTest::newRow("html with text") << QStringLiteral("Bold it") << QStringLiteral("<b>Bold</b> it")
                                    << QStringLiteral("Bold it||||<b>Bold</b> it|bold it|||0|0");
    QTest::newRow("html only") << QString() << QStringLiteral("<i>Only</i> html")
                               << QStringLiteral("Only html||||<i>Only</i> html|only html|||0|0");
}

void TestBrowserClipboard::paste_fromOtherProgram()
{
    QFETCH(QString, text);
    QFETCH(QString, html);
    QFETCH(QString, stored);

    seed({{QStringLiteral("alpha"), QString(), QString(), QString(), QString(), 0, 0}});
    showDock();
    auto *mime = new QMimeData;
    if (!text.isEmpty())
        mime->setText(text);
    if (!html.isEmpty())
        mime->setHtml(html);
    QApplication::clipboard()->setMimeData(mime);
    find->table->setCurrentIndex(find->model->index(0, TypeFind::ColStr));

    find->pastePhrase();

    QCOMPARE(phraseCount(), 2);
    QCOMPARE(strAt(0), stored.section(QLatin1Char('|'), 0, 0));
    QCOMPARE(strAt(1), QStringLiteral("alpha"));
    QCOMPARE(find->table->currentIndex().row(), 0);
    // What a new row gets from the database is empty text and zero counts.
    QCOMPARE(storedPhrase(QStringLiteral("Str <> 'alpha'")).replace(QStringLiteral("<null>"), QString()), stored);
}

void TestBrowserClipboard::paste_withoutCurrentCell_doesNothing()
{
    showDock();
    QApplication::clipboard()->setText(QStringLiteral("into nothing"));
    find->pastePhrase();
    setClipboard({{clipboardFormat, payload({{QStringLiteral("x"), {}, {}, {}, {}, 0, 0}})}});
    find->pastePhrase();
    QCOMPARE(phraseCount(), 0);
    QCOMPARE(find->model->rowCount(), 0);
}

void TestBrowserClipboard::paste_malformedPayload_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QStringList>("created");

    const Record one{QStringLiteral("first"), QStringLiteral("l"), QString(), QString(), QString(), 5, 6};
    const Record two{QStringLiteral("second"), QString(), QString(), QString(), QStringLiteral("<p>2</p>"), 7, 8};
    const QByteArray both = payload({one, two});
    const QByteArray first = payload({one});

    QTest::newRow("empty") << QByteArray() << QStringList();
    QTest::newRow("cut inside the first text") << first.left(7) << QStringList();
    QTest::newRow("cut before the count") << first.left(first.size() - 2) << QStringList();
    QTest::newRow("second record cut short")
        << both.left(both.size() - 5) << QStringList{QStringLiteral("first")};
    QTest::newRow("one stray byte after a record") << first + QByteArray(1, '\x01') << QStringList{QStringLiteral("first")};

    QByteArray huge;
    putUInt32(huge, 0x7FFFFFFE);
    huge += QByteArray(64, 'a');
    QTest::newRow("huge length prefix") << huge << QStringList();
    QByteArray almostNull;
    putUInt32(almostNull, 0xFFFFFFFE);
    almostNull += QByteArray(40, '\0');
    QTest::newRow("length just below the null marker") << almostNull << QStringList();
    QByteArray odd;
    putUInt32(odd, 3);
    odd += QByteArray(40, 'b');
    QTest::newRow("odd byte count") << odd << QStringList();

    QRandomGenerator random(20261206);
    for (int i = 0; i < 3; ++i) {
        QByteArray noise(257, Qt::Uninitialized);
        for (char &byte : noise)
            byte = char(random.bounded(256));
        // A leading length past the data, so the noise is certain not to start a record.
        noise[0] = char(0x80 | random.bounded(0x7F));
        QTest::newRow(qPrintable(QStringLiteral("random bytes %1").arg(i))) << noise << QStringList();
    }
}

void TestBrowserClipboard::paste_malformedPayload()
{
    QFETCH(QByteArray, data);
    QFETCH(QStringList, created);

    seed({{QStringLiteral("zulu"), QString(), QString(), QString(), QString(), 0, 0}});
    showDock();
    find->table->setCurrentIndex(find->model->index(0, TypeFind::ColStr));
    auto *mime = new QMimeData;
    mime->setData(clipboardFormat, data);
    mime->setText(QStringLiteral("not used when the phrase format is there"));
    QApplication::clipboard()->setMimeData(mime);

    find->pastePhrase();

    QCOMPARE(phraseCount(), 1 + created.size());
    QSqlQuery query(QStringLiteral("SELECT Str FROM TypeText WHERE Str <> 'zulu' ORDER BY id"));
    QStringList stored;
    while (query.next())
        stored << query.value(0).toString();
    QCOMPARE(stored, created);
    QCOMPARE(find->model->rowCount(), 1 + created.size());
    QVERIFY(!find->watcher->isHardStopped());
}

QTEST_MAIN(TestBrowserClipboard)
#include "tst_browserclipboard.moc"
