#include "browserfixture.h"
#include "db/typewatch.h"

#include <QAction>
#include <QHeaderView>
#include <QMimeData>
#include <QRandomGenerator>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QSqlTableModel>
#include <QtEndian>

namespace {

// The payload built by hand, so the test does not trust the program's own encoder.
void putUInt32(QByteArray &data, quint32 value)
{
    char bytes[4];
    qToBigEndian(value, bytes);
    data.append(bytes, 4);
}

struct Record
{
    QString str, labels, keyWord, hotKey, html; // null strings are SQL NULL
    qint32 rating = 0;
    qint32 frequency = 0;
};

QByteArray payload(const QVector<Record> &records)
{
    QByteArray data;
    for (const Record &r : records) {
        for (const QString &text : {r.str, r.labels, r.keyWord, r.hotKey, r.html}) {
            putUInt32(data, text.isNull() ? 0xFFFFFFFF : quint32(text.size() * 2));
            for (const QChar c : text)
                data.append(char(c.unicode() >> 8)).append(char(c.unicode() & 0xFF));
        }
        putUInt32(data, quint32(r.rating));
        putUInt32(data, quint32(r.frequency));
    }
    return data;
}

QString frequencies()
{
    return BrowserFixture::rows(QStringLiteral("SELECT Frequency FROM TypeText ORDER BY id")).join(QLatin1Char(' '));
}

} // namespace

class TestBrowserClipboard : public QObject, protected BrowserFixture
{
    Q_OBJECT

private slots:
    void init() { openPhraseFile(); }
    void cleanup() { closePhraseFile(); }
    void copy_putsRecordTextAndHtml_data();
    void copy_putsRecordTextAndHtml();
    void copy_selection_countsEachRowOnce_data();
    void copy_selection_countsEachRowOnce();
    void copyCells_textOnly();
    void paste_clipboard_data();
    void paste_clipboard();

private:
    // The browser is shown afterwards.
    void showRecords(const QVector<Record> &records)
    {
        QSqlDatabase::database().transaction();
        QSqlQuery query;
        QVERIFY(query.prepare(QStringLiteral("INSERT INTO TypeText (Str, Labels, KeyWord, HotKey, Html, StrLower, "
                                             "LabelLower, KeyLower, Rating, Frequency) VALUES (?, ?, ?, ?, ?, ?, ?, "
                                             "?, ?, ?)")));
        for (const Record &r : records) {
            for (const QString &field : {r.str, r.labels, r.keyWord, r.hotKey, r.html})
                query.addBindValue(field);
            for (const QString &field : {r.str, r.labels, r.keyWord})
                query.addBindValue(field.isNull() ? QString() : field.toLower());
            query.addBindValue(r.rating);
            query.addBindValue(r.frequency);
            QVERIFY2(query.exec(), qPrintable(query.lastError().text()));
        }
        QSqlDatabase::database().commit();
        showBrowser();
    }

    QStringList shown() const
    {
        QStringList phrases;
        for (int row = 0; row < find->model->rowCount(); ++row)
            phrases << find->model->data(find->model->index(row, TypeFind::ColStr)).toString();
        return phrases;
    }
};

void TestBrowserClipboard::copy_putsRecordTextAndHtml_data()
{
    QTest::addColumn<bool>("header"); // else the Space key
    QTest::addColumn<QString>("html");

    QTest::newRow("space key, rich phrase") << false << "<b>Gr&uuml;&szlig;e</b>";
    QTest::newRow("row header, plain phrase, other row current") << true << "";
}

void TestBrowserClipboard::copy_putsRecordTextAndHtml()
{
    QFETCH(bool, header);
    QFETCH(QString, html);

    // Labels stay NULL, the hot key is empty.
    Record known{QString::fromUtf8("Grüße, мир"), QString(), QStringLiteral("kw"), QStringLiteral(""), html, 42, 6};
    showRecords({known,
                 {QStringLiteral("another"), QStringLiteral("l"), QStringLiteral("k"), QStringLiteral(""),
                  QStringLiteral("<i>another</i>"), 1, 2}});
    const int row = shown().indexOf(known.str);
    QVERIFY(row >= 0);
    if (header) {
        // Whatever is current and selected, the pressed header decides the phrase.
        find->table->setCurrentIndex(find->model->index(1 - row, TypeFind::ColStr));
        QHeaderView *view = find->table->verticalHeader();
        const QPoint at(view->width() / 2, view->sectionViewportPosition(row) + 2);
        QTest::mousePress(view->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, at);
    } else {
        find->table->setCurrentIndex(find->model->index(row, TypeFind::ColLabels));
        find->table->setFocus();
        QTRY_VERIFY(find->table->hasFocus());
        QTest::keyClick(find->table, Qt::Key_Space);
    }

    known.frequency = 7;
    const QMimeData *mime = QApplication::clipboard()->mimeData();
    QVERIFY(mime);
    QCOMPARE(mime->data(clipboardFormat).toHex(), payload({known}).toHex());
    QCOMPARE(mime->text(), known.str);
    QCOMPARE(mime->hasHtml(), !html.isEmpty());
    QCOMPARE(mime->html(), html);
    QVERIFY(find->pastePhraseAction->isEnabled());
    QCOMPARE(find->model->data(find->model->index(row, TypeFind::ColFrequency)).toInt(), 7);
    QCOMPARE(frequencies(), QStringLiteral("7 2"));
}

void TestBrowserClipboard::copy_selection_countsEachRowOnce_data()
{
    QTest::addColumn<int>("selectedRows"); // from the first, two cells each
    QTest::addColumn<QVector<int>>("copied");
    QTest::addColumn<QString>("counts");

    // The current cell is always in the second row; two copies in a row.
    QTest::newRow("three rows") << 3 << QVector<int>{0, 1, 2} << "12 22 32 40";
    QTest::newRow("cursor off the selection") << 1 << QVector<int>{1} << "10 22 30 40";
}

void TestBrowserClipboard::copy_selection_countsEachRowOnce()
{
    QFETCH(int, selectedRows);
    QFETCH(QVector<int>, copied);
    QFETCH(QString, counts);

    const QVector<Record> records{
        {QStringLiteral("alpha"), QStringLiteral("a"), QString(), QString(), QStringLiteral("<b>alpha</b>"), 1, 10},
        {QStringLiteral("bravo"), QString(), QString(), QString(), QStringLiteral("<b>bravo</b>"), 2, 20},
        {QStringLiteral("charlie"), QString(), QString(), QString(), QString(), 3, 30},
        {QStringLiteral("delta"), QString(), QString(), QString(), QString(), 4, 40}};
    showRecords(records);
    QItemSelectionModel *selection = find->table->selectionModel();
    selection->setCurrentIndex(find->model->index(1, TypeFind::ColStr), QItemSelectionModel::NoUpdate);
    selection->select(QItemSelection(find->model->index(0, TypeFind::ColStr),
                                     find->model->index(selectedRows - 1, TypeFind::ColLabels)),
                      QItemSelectionModel::ClearAndSelect);
    find->copyPhrase();
    find->copyPhrase();

    QVector<Record> expected;
    for (const int row : copied) {
        expected << records.at(row);
        expected.last().frequency += 2;
    }
    const QMimeData *mime = QApplication::clipboard()->mimeData();
    QVERIFY(mime);
    QCOMPARE(mime->data(clipboardFormat).toHex(), payload(expected).toHex());
    // Text and rich text come from the current row alone.
    QCOMPARE(mime->text(), QStringLiteral("bravo"));
    QCOMPARE(mime->html(), QStringLiteral("<b>bravo</b>"));
    QCOMPARE(frequencies(), counts);
    QStringList modelCounts;
    for (int row = 0; row < records.size(); ++row)
        modelCounts << find->model->data(find->model->index(row, TypeFind::ColFrequency)).toString();
    QCOMPARE(modelCounts.join(QLatin1Char(' ')), counts);
}

void TestBrowserClipboard::copyCells_textOnly()
{
    showRecords(
        {{QStringLiteral("alpha"), QStringLiteral("fruit"), QString(), QString(), QStringLiteral("<b>a</b>"), 1, 5}});
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
    QCOMPARE(frequencies(), QStringLiteral("5"));
    QCOMPARE(find->pastePhraseAction->isEnabled(), pasteBefore);
}

void TestBrowserClipboard::paste_clipboard_data()
{
    QTest::addColumn<QByteArray>("phrases"); // the phrase format, if any
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("html");
    QTest::addColumn<QStringList>("created"); // as stored

    const QByteArray none;
    QTest::newRow("plain text") << none << "Hello МИР"
                                << "" << QStringList{QString::fromUtf8("Hello МИР|||||hello мир|||0|0")};
    QTest::newRow("html only") << none << ""
                               << "<i>Only</i> html"
                               << QStringList{QStringLiteral("Only html||||<i>Only</i> html|only html|||0|0")};

    // Every field travels; the lower-case copies are made afresh.
    const QByteArray three =
        payload({{QStringLiteral("Alpha"), QStringLiteral("Fruit"), QStringLiteral("KW"), QStringLiteral("F1"),
                  QStringLiteral("<b>Alpha</b>"), 10, 2},
                 {QStringLiteral("Bravo"), QString(), QString::fromUtf8("Ключ"), QString(), QString(), 20, 3},
                 {QString::fromUtf8("Чай"), QString::fromUtf8("Напиток"), QString(), QString(), QString(), 30, 4}});
    QTest::newRow("three phrases") << three << "ignored"
                                   << ""
                                   << QString::fromUtf8("Alpha|Fruit|KW|F1|<b>Alpha</b>|alpha|fruit|kw|10|2\n"
                                                        "Bravo|<null>|Ключ|<null>|<null>|bravo|<null>|ключ|20|3\n"
                                                        "Чай|Напиток|<null>|<null>|<null>|чай|напиток|<null>|30|4")
                                          .split(QLatin1Char('\n'));
    // Broken phrase data: what was read whole is kept, the text is never the fallback.
    const QString unused = QStringLiteral("not used when the phrase format is there");
    const QStringList firstOnly{QStringLiteral("first|l|<null>|<null>|<null>|first|l|<null>|5|6")};
    const QByteArray first = payload({{QStringLiteral("first"), QStringLiteral("l"), {}, {}, {}, 5, 6}});
    const QByteArray both = first + payload({{QStringLiteral("second"), {}, {}, {}, QStringLiteral("<p>2</p>"), 7, 8}});
    QTest::newRow("cut inside the first text") << first.left(7) << unused << "" << QStringList();
    QTest::newRow("cut before the count") << first.left(first.size() - 2) << unused << "" << QStringList();
    QTest::newRow("second record cut short") << both.left(both.size() - 5) << unused << "" << firstOnly;
    QTest::newRow("stray byte after a record") << first + QByteArray(1, '\x01') << unused << "" << firstOnly;
    // Huge, just below the null marker, odd: none of these lengths can start a record.
    for (const quint32 length : {0x7FFFFFFEu, 0xFFFFFFFEu, 3u}) {
        QByteArray data;
        putUInt32(data, length);
        QTest::newRow(qPrintable(QStringLiteral("length %1").arg(length, 0, 16)))
            << data + QByteArray(64, 'a') << unused << "" << QStringList();
    }
    QByteArray noise(257, Qt::Uninitialized);
    QRandomGenerator random(20261206);
    for (char &byte : noise)
        byte = char(random.bounded(256));
    // A leading length past the data, so the noise is certain not to start a record.
    noise[0] = char(0x80 | random.bounded(0x7F));
    QTest::newRow("random bytes") << noise << unused << "" << QStringList();
}

void TestBrowserClipboard::paste_clipboard()
{
    QFETCH(QByteArray, phrases);
    QFETCH(QString, text);
    QFETCH(QString, html);
    QFETCH(QStringList, created);

    showRecords({{QStringLiteral("zulu")}});
    auto *mime = new QMimeData;
    if (!phrases.isEmpty())
        mime->setData(clipboardFormat, phrases);
    if (!text.isEmpty())
        mime->setText(text);
    if (!html.isEmpty())
        mime->setHtml(html);
    QApplication::clipboard()->setMimeData(mime);
    // Without a current cell there is nowhere to paste.
    find->pastePhrase();
    QCOMPARE(shown(), QStringList{QStringLiteral("zulu")});
    find->table->setCurrentIndex(find->model->index(0, TypeFind::ColLabels));
    find->pastePhrase();

    QStringList stored =
        rows(QStringLiteral("SELECT Str, Labels, KeyWord, HotKey, Html, StrLower, LabelLower, "
                            "KeyLower, Rating, Frequency FROM TypeText WHERE Str <> 'zulu' ORDER BY Str"));
    // What a row made from text gets from the database is empty text and zero counts, NULL or not.
    if (phrases.isEmpty())
        stored.replaceInStrings(QStringLiteral("<null>"), QString());
    QCOMPARE(stored, created);
    QStringList strs;
    for (const QString &line : created)
        strs << line.section(QLatin1Char('|'), 0, 0);
    QCOMPARE(shown(), strs << QStringLiteral("zulu"));
    // The cursor stays in its cell, which now holds the first new phrase; nothing else is chosen.
    QCOMPARE(find->table->currentIndex(), find->model->index(0, TypeFind::ColLabels));
    for (const QModelIndex &index : find->table->selectionModel()->selectedIndexes())
        QCOMPARE(index, find->table->currentIndex());
    QVERIFY(!find->watcher->isHardStopped());
}

QTEST_MAIN(TestBrowserClipboard)
#include "tst_browserclipboard.moc"
