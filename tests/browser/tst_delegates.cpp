#include "app/globals.h"
#include "browser/editkeywordsdelegate.h"
#include "browser/editlabeldelegate.h"
#include "browser/editstrdelegate.h"
#include "browser/noeditdelegate.h"
#include "browser/spinboxdelegate.h"
#include "db/typewatch.h"

#include <QClipboard>
#include <QMimeData>
#include <QPainter>
#include <QSpinBox>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QSqlTableModel>
#include <QStandardItemModel>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

namespace {

constexpr int strColumn = 3;
constexpr int labelsColumn = 4;
constexpr int keyWordColumn = 5;
constexpr int ratingColumn = 11;
constexpr int frequencyColumn = 12;

int countGreenPixels(const QImage &image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            count += qGreen(pixel) > 200 && qRed(pixel) < 80 && qBlue(pixel) < 80;
        }
    }
    return count;
}

} // namespace

class TestDelegates : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void edit_writesColumnsAndPausesWatcher_data();
    void edit_writesColumnsAndPausesWatcher();
    void paint_framesPhraseOnClipboard_data();
    void paint_framesPhraseOnClipboard();

private:
    QString databasePath() const { return dir.filePath(QStringLiteral("phrases.db")); }
    QVariantMap storedRow() const;

    QTemporaryDir dir;
};

void TestDelegates::init()
{
    QFile::remove(databasePath());
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
    db.setDatabaseName(databasePath());
    QVERIFY(db.open());
    QSqlQuery query(db);
    QVERIFY(query.exec(QStringLiteral("CREATE TABLE TypeText (id INTEGER PRIMARY KEY AUTOINCREMENT, Created, "
                                      "Modified, Str, Labels, KeyWord, HotKey, Html, KeyLower, StrLower, LabelLower, "
                                      "Rating INTEGER DEFAULT 0, Frequency INTEGER DEFAULT 0, Uid)")));
    // The shadow columns start out stale on purpose: a write shows up as a change.
    QVERIFY(query.exec(QStringLiteral("INSERT INTO TypeText (Str, Labels, KeyWord, Html, KeyLower, StrLower, "
                                      "LabelLower, Rating, Frequency) VALUES ('Old Phrase', 'Work', 'Note', "
                                      "'<p>Old Phrase</p>', 'stale', 'stale', 'stale', 250, 3)")));
}

void TestDelegates::cleanup()
{
    QSqlDatabase::database().close();
    QSqlDatabase::removeDatabase(QLatin1String(QSqlDatabase::defaultConnection));
}

// Read back through a connection of its own, so only what reached the file counts.
QVariantMap TestDelegates::storedRow() const
{
    QVariantMap row;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("check"));
        db.setDatabaseName(databasePath());
        QSqlQuery query(db);
        if (db.open() &&
            query.exec(QStringLiteral("SELECT Str, Html, StrLower, Labels, LabelLower, KeyWord, "
                                      "KeyLower, Rating FROM TypeText WHERE id = 1")) &&
            query.next()) {
            for (int i = 0; i < query.record().count(); ++i)
                row.insert(query.record().fieldName(i),
                           query.isNull(i) ? QStringLiteral("NULL") : query.value(i).toString());
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("check"));
    return row;
}

void TestDelegates::edit_writesColumnsAndPausesWatcher_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("written"); // the changed columns, "Column=value|..."
    QTest::addColumn<bool>("paused");

    QTest::newRow("phrase edited") << strColumn << QStringLiteral("Old Phrase") << QStringLiteral("Привет Мир")
                                   << QStringLiteral("Str=Привет Мир|Html=|StrLower=привет мир") << true;
    QTest::newRow("phrase unchanged") << strColumn << QStringLiteral("Old Phrase") << QStringLiteral("Old Phrase")
                                      << QString() << false;
    QTest::newRow("label edited") << labelsColumn << QStringLiteral("Work") << QStringLiteral("Home ДОМ")
                                  << QStringLiteral("Labels=Home ДОМ|LabelLower=home дом") << true;
    QTest::newRow("keyword unchanged still written")
        << keyWordColumn << QStringLiteral("Note") << QStringLiteral("Note") << QStringLiteral("KeyLower=note") << true;
    // The stored 250 cannot be shown as such; typing stops at the last key that keeps the value in range.
    QTest::newRow("rating above range") << ratingColumn << QStringLiteral("100") << QStringLiteral("150")
                                        << QStringLiteral("Rating=15") << false;
    QTest::newRow("rating takes no minus sign")
        << ratingColumn << QStringLiteral("100") << QStringLiteral("-7") << QStringLiteral("Rating=7") << false;
    QTest::newRow("count is not editable") << frequencyColumn << QString() << QString() << QString() << false;
}

void TestDelegates::edit_writesColumnsAndPausesWatcher()
{
    QFETCH(int, column);
    QFETCH(QString, shown);
    QFETCH(QString, typed);
    QFETCH(QString, written);
    QFETCH(bool, paused);

    QVariantMap expectedRow = storedRow();
    for (const QString &field : written.split(QLatin1Char('|'), Qt::SkipEmptyParts))
        expectedRow.insert(field.section(QLatin1Char('='), 0, 0), field.section(QLatin1Char('='), 1));
    QSqlTableModel model;
    model.setTable(QStringLiteral("TypeText"));
    model.setEditStrategy(QSqlTableModel::OnFieldChange);
    QVERIFY(model.select());

    TypeWatch watcher;
    watcher.addFile(databasePath());
    watcher.stop(false);
    QSignalSpy changes(&watcher, &TypeWatch::fileChanged);

    QTableView view;
    view.setModel(&model);
    auto *strDelegate = new EditStrDelegate(&watcher, &view);
    view.setItemDelegateForColumn(strColumn, strDelegate);
    view.setItemDelegateForColumn(labelsColumn, new EditLabelDelegate(&watcher, &view));
    view.setItemDelegateForColumn(keyWordColumn, new EditKeyWordsDelegate(&watcher, &view));
    view.setItemDelegateForColumn(ratingColumn, new SpinBoxDelegate(&view));
    view.setItemDelegateForColumn(frequencyColumn, new NoEditDelegate(&view));
    QStringList htmlSent;
    connect(strDelegate, &EditStrDelegate::setHtml, this, [&htmlSent](const QString &str) { htmlSent << str; });
    view.resize(1200, 200);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));

    const QModelIndex index = model.index(0, column);
    view.edit(index);
    QWidget *editor = view.indexWidget(index);
    if (shown.isNull()) {
        QVERIFY(!editor);
        QVERIFY(view.viewport()->findChildren<QWidget *>().isEmpty());
        return;
    }
    QVERIFY(editor);
    QCOMPARE(editor->metaObject()->userProperty().read(editor).toString(), shown);
    // The keyword scanner and the rating spin box fill their cell, the scanner without a frame.
    if (column == keyWordColumn || column == ratingColumn) {
        QCOMPARE(QString::fromLatin1(editor->metaObject()->className()),
                 QLatin1String(column == keyWordColumn ? "ScanLineEdit" : "QSpinBox"));
        QCOMPARE(editor->geometry(), view.visualRect(index));
        QVERIFY(column == ratingColumn || !editor->property("frame").toBool());
    }
    if (auto *spinBox = qobject_cast<QSpinBox *>(editor)) {
        spinBox->clear();
        QTest::keyClicks(spinBox, typed);
    } else {
        QVERIFY(editor->metaObject()->userProperty().write(editor, typed));
    }
    emit view.itemDelegate(index)->commitData(editor);

    QCOMPARE(storedRow(), expectedRow);
    QCOMPARE(htmlSent, column == strColumn && paused ? QStringList{typed} : QStringList());

    // Whatever was written, the file now changes once more: only a paused
    // watcher keeps quiet about it at its next check.
    QFile file(databasePath());
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(120), QFileDevice::FileModificationTime));
    file.close();
    watcher.period();
    watcher.stop(false);
    QCOMPARE(changes.count(), paused ? 0 : 1);
}

void TestDelegates::paint_framesPhraseOnClipboard_data()
{
    QTest::addColumn<bool>("ownFormat");
    QTest::addColumn<QString>("clipboardText");
    QTest::addColumn<bool>("framed");

    QTest::newRow("own phrase") << true << QStringLiteral("Hello") << true;
    QTest::newRow("other phrase") << true << QStringLiteral("Hello!") << false;
    QTest::newRow("same text from another program") << false << QStringLiteral("Hello") << false;
}

void TestDelegates::paint_framesPhraseOnClipboard()
{
    QFETCH(bool, ownFormat);
    QFETCH(QString, clipboardText);
    QFETCH(bool, framed);

    auto *mime = new QMimeData;
    if (ownFormat)
        mime->setData(clipboardFormat, QByteArrayLiteral("\0\0\0\0"));
    mime->setText(clipboardText);
    QGuiApplication::clipboard()->setMimeData(mime, QClipboard::Clipboard);

    QStandardItemModel model(1, 1);
    model.setData(model.index(0, 0), QStringLiteral("Hello"));
    EditStrDelegate delegate(nullptr);
    QImage image(200, 30, QImage::Format_RGB32);
    image.fill(Qt::white);
    QStyleOptionViewItem option;
    option.rect = QRect(10, 5, 180, 20);
    {
        QPainter painter(&image);
        delegate.paint(&painter, option, model.index(0, 0));
    }

    QCOMPARE(countGreenPixels(image) > 100, framed);
    if (framed) {
        // The frame keeps inside the cell and runs along its left edge.
        QCOMPARE(countGreenPixels(image.copy(0, 0, 10, 30)), 0);
        QVERIFY(countGreenPixels(image.copy(10, 12, 4, 6)) > 0);
    }
}

QTEST_MAIN(TestDelegates)
#include "tst_delegates.moc"
