#include "app/globals.h"
#include "browser/editkeywordsdelegate.h"
#include "browser/editlabeldelegate.h"
#include "browser/editstrdelegate.h"
#include "browser/noeditdelegate.h"
#include "browser/scanlineedit.h"
#include "browser/spinboxdelegate.h"
#include "db/typewatch.h"

#include <QClipboard>
#include <QLineEdit>
#include <QMimeData>
#include <QPainter>
#include <QSpinBox>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QSqlTableModel>
#include <QStandardItemModel>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

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
            if (qGreen(pixel) > 200 && qRed(pixel) < 80 && qBlue(pixel) < 80)
                ++count;
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

    void commit_writesColumnsAndPausesWatcher_data();
    void commit_writesColumnsAndPausesWatcher();
    void ratingEditor_acceptsOnly0To100_data();
    void ratingEditor_acceptsOnly0To100();
    void editorInView_data();
    void editorInView();
    void paint_framesPhraseOnClipboard_data();
    void paint_framesPhraseOnClipboard();

private:
    QSqlDatabase database() const { return QSqlDatabase::database(connection); }
    QString databasePath() const { return dir->filePath(QStringLiteral("phrases.db")); }
    QVariantMap storedRow() const;

    std::unique_ptr<QTemporaryDir> dir;
    QString connection;
    int run = 0;
};

void TestDelegates::init()
{
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
    connection = QStringLiteral("tst_delegates_%1").arg(++run);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
    db.setDatabaseName(databasePath());
    QVERIFY2(db.open(), qPrintable(db.lastError().text()));

    QSqlQuery query(db);
    QVERIFY2(
        query.exec(QStringLiteral("CREATE TABLE TypeText (id INTEGER PRIMARY KEY AUTOINCREMENT, Created, Modified, "
                                  "Str, Labels, KeyWord, HotKey, Html, KeyLower, StrLower, LabelLower, "
                                  "Rating INTEGER DEFAULT 0, Frequency INTEGER DEFAULT 0, Uid)")),
        qPrintable(query.lastError().text()));
    // The shadow columns start out stale on purpose: a write shows up as a change.
    QVERIFY2(query.exec(QStringLiteral("INSERT INTO TypeText (Str, Labels, KeyWord, Html, KeyLower, StrLower, "
                                       "LabelLower, Rating, Frequency) VALUES ('Old Phrase', 'Work', 'Note', "
                                       "'<p>Old Phrase</p>', 'stale', 'stale', 'stale', 250, 3)")),
             qPrintable(query.lastError().text()));
}

void TestDelegates::cleanup()
{
    database().close();
    QSqlDatabase::removeDatabase(connection);
    dir.reset();
}

// Read back through a connection of its own, so only what reached the file counts.
QVariantMap TestDelegates::storedRow() const
{
    QVariantMap row;
    const QString name = connection + QStringLiteral("_check");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(databasePath());
        if (db.open()) {
            QSqlQuery query(QStringLiteral("SELECT Str, Html, StrLower, Labels, LabelLower, KeyWord, KeyLower, Rating "
                                           "FROM TypeText WHERE id = 1"),
                            db);
            if (query.next()) {
                for (int i = 0; i < query.record().count(); ++i)
                    row.insert(query.record().fieldName(i),
                               query.isNull(i) ? QStringLiteral("NULL") : query.value(i).toString());
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return row;
}

void TestDelegates::commit_writesColumnsAndPausesWatcher_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QVariantMap>("written");
    QTest::addColumn<bool>("paused");

    const auto str = [](const char *name) { return QString::fromUtf8(name); };
    QTest::newRow("phrase edited") << strColumn << str("Привет Мир")
                                   << QVariantMap{{str("Str"), str("Привет Мир")},
                                                  {str("Html"), str("")},
                                                  {str("StrLower"), str("привет мир")}}
                                   << true;
    QTest::newRow("phrase unchanged") << strColumn << str("Old Phrase") << QVariantMap() << false;
    QTest::newRow("label edited") << labelsColumn << str("Home ДОМ")
                                  << QVariantMap{{str("Labels"), str("Home ДОМ")}, {str("LabelLower"), str("home дом")}}
                                  << true;
    QTest::newRow("label unchanged") << labelsColumn << str("Work") << QVariantMap() << false;
    QTest::newRow("keyword edited") << keyWordColumn << str("КлючWord")
                                    << QVariantMap{{str("KeyWord"), str("КлючWord")},
                                                   {str("KeyLower"), str("ключword")}}
                                    << true;
    QTest::newRow("keyword unchanged still written")
        << keyWordColumn << str("Note") << QVariantMap{{str("KeyLower"), str("note")}} << true;
}

void TestDelegates::commit_writesColumnsAndPausesWatcher()
{
    QFETCH(int, column);
    QFETCH(QString, text);
    QFETCH(QVariantMap, written);
    QFETCH(bool, paused);

    QVariantMap expectedRow = storedRow();
    for (auto it = written.cbegin(); it != written.cend(); ++it)
        expectedRow.insert(it.key(), it.value());

    QSqlTableModel model(nullptr, database());
    model.setTable(QStringLiteral("TypeText"));
    model.setEditStrategy(QSqlTableModel::OnFieldChange);
    QVERIFY2(model.select(), qPrintable(model.lastError().text()));

    TypeWatch watcher;
    watcher.addFile(databasePath());
    watcher.stop(false);
    QSignalSpy changes(&watcher, &TypeWatch::fileChanged);

    QStringList htmlSent;
    QAbstractItemDelegate *delegate = nullptr;
    EditStrDelegate strDelegate(&watcher);
    EditLabelDelegate labelDelegate(&watcher);
    EditKeyWordsDelegate keyWordDelegate(&watcher);
    connect(&strDelegate, &EditStrDelegate::setHtml, this, [&htmlSent](const QString &str) { htmlSent << str; });
    if (column == strColumn)
        delegate = &strDelegate;
    else if (column == labelsColumn)
        delegate = &labelDelegate;
    else
        delegate = &keyWordDelegate;

    QWidget parent;
    const QModelIndex index = model.index(0, column);
    QWidget *editor = delegate->createEditor(&parent, QStyleOptionViewItem(), index);
    QVERIFY(editor);
    delegate->setEditorData(editor, index);
    auto *lineEdit = qobject_cast<QLineEdit *>(editor);
    QVERIFY(lineEdit);
    lineEdit->setText(text);
    delegate->setModelData(editor, &model, index);

    QCOMPARE(storedRow(), expectedRow);
    const QStringList setHtml = column == strColumn && paused ? QStringList{text} : QStringList();
    QCOMPARE(htmlSent, setHtml);

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

void TestDelegates::ratingEditor_acceptsOnly0To100_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");

    QTest::newRow("in range") << QStringLiteral("42") << QStringLiteral("42");
    QTest::newRow("upper bound") << QStringLiteral("100") << QStringLiteral("100");
    QTest::newRow("above range stops at the last valid key") << QStringLiteral("150") << QStringLiteral("15");
    QTest::newRow("no minus sign") << QStringLiteral("-7") << QStringLiteral("7");
    QTest::newRow("zero") << QStringLiteral("0") << QStringLiteral("0");
}

void TestDelegates::ratingEditor_acceptsOnly0To100()
{
    QFETCH(QString, typed);
    QFETCH(QString, stored);

    QSqlTableModel model(nullptr, database());
    model.setTable(QStringLiteral("TypeText"));
    model.setEditStrategy(QSqlTableModel::OnFieldChange);
    QVERIFY(model.select());

    SpinBoxDelegate delegate;
    QWidget parent;
    const QModelIndex index = model.index(0, ratingColumn);
    auto *spinBox = qobject_cast<QSpinBox *>(delegate.createEditor(&parent, QStyleOptionViewItem(), index));
    QVERIFY(spinBox);
    delegate.setEditorData(spinBox, index);
    QCOMPARE(spinBox->value(), 100); // the stored 250 cannot be shown as such

    spinBox->clear();
    QTest::keyClicks(spinBox, typed);
    delegate.setModelData(spinBox, &model, index);
    QCOMPARE(storedRow().value(QStringLiteral("Rating")).toString(), stored);
}

void TestDelegates::editorInView_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("editorClass");
    QTest::addColumn<QString>("editorText");

    QTest::newRow("keyword") << keyWordColumn << QStringLiteral("ScanLineEdit") << QStringLiteral("Note");
    QTest::newRow("rating") << ratingColumn << QStringLiteral("QSpinBox") << QStringLiteral("100");
    QTest::newRow("count") << frequencyColumn << QString() << QString();
}

void TestDelegates::editorInView()
{
    QFETCH(int, column);
    QFETCH(QString, editorClass);
    QFETCH(QString, editorText);

    QSqlTableModel model(nullptr, database());
    model.setTable(QStringLiteral("TypeText"));
    model.setEditStrategy(QSqlTableModel::OnFieldChange);
    QVERIFY(model.select());

    TypeWatch watcher;
    QTableView view;
    view.setModel(&model);
    view.setItemDelegateForColumn(keyWordColumn, new EditKeyWordsDelegate(&watcher, &view));
    view.setItemDelegateForColumn(ratingColumn, new SpinBoxDelegate(&view));
    view.setItemDelegateForColumn(frequencyColumn, new NoEditDelegate(&view));
    view.resize(1200, 200);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));

    const QModelIndex index = model.index(0, column);
    view.edit(index);
    QWidget *editor = view.indexWidget(index);

    if (editorClass.isEmpty()) {
        QVERIFY(!editor);
        QVERIFY(view.viewport()->findChildren<QWidget *>().isEmpty());
        return;
    }
    QVERIFY(editor);
    QCOMPARE(QString::fromLatin1(editor->metaObject()->className()), editorClass);
    QCOMPARE(editor->geometry(), view.visualRect(index));
    if (auto *lineEdit = qobject_cast<QLineEdit *>(editor)) {
        QVERIFY(!lineEdit->hasFrame());
        QCOMPARE(lineEdit->text(), editorText);
    } else {
        QCOMPARE(qobject_cast<QSpinBox *>(editor)->text(), editorText);
    }
}

void TestDelegates::paint_framesPhraseOnClipboard_data()
{
    QTest::addColumn<bool>("ownFormat");
    QTest::addColumn<QString>("clipboardText");
    QTest::addColumn<bool>("hasModel");
    QTest::addColumn<bool>("framed");

    QTest::newRow("own phrase") << true << QStringLiteral("Hello") << true << true;
    QTest::newRow("other phrase") << true << QStringLiteral("Hello!") << true << false;
    QTest::newRow("same text from another program") << false << QStringLiteral("Hello") << true << false;
    QTest::newRow("index without model is empty text") << true << QString() << false << true;
}

void TestDelegates::paint_framesPhraseOnClipboard()
{
    QFETCH(bool, ownFormat);
    QFETCH(QString, clipboardText);
    QFETCH(bool, hasModel);
    QFETCH(bool, framed);

    auto *mime = new QMimeData;
    if (ownFormat)
        mime->setData(clipboardFormat, QByteArrayLiteral("\0\0\0\0"));
    mime->setText(clipboardText);
    QGuiApplication::clipboard()->setMimeData(mime, QClipboard::Clipboard);

    QStandardItemModel model(1, 1);
    model.setData(model.index(0, 0), QStringLiteral("Hello"));
    const QModelIndex index = hasModel ? model.index(0, 0) : QModelIndex();

    TypeWatch watcher;
    EditStrDelegate delegate(&watcher);
    QImage image(200, 30, QImage::Format_RGB32);
    image.fill(Qt::white);
    QStyleOptionViewItem option;
    option.rect = QRect(10, 5, 180, 20);
    {
        QPainter painter(&image);
        delegate.paint(&painter, option, index);
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
