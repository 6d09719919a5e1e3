#include "browser/sqltable.h"

#include <QLineEdit>
#include <QStandardItemModel>
#include <QVBoxLayout>
#include <QtTest>

namespace {

// Records the keys the table passes up to its parent.
class KeyCatcher : public QWidget
{
public:
    QList<int> keys;

protected:
    void keyPressEvent(QKeyEvent *event) override { keys.append(event->key()); }
};

} // namespace

class TestSQLTable : public QObject
{
    Q_OBJECT

private slots:
    void keyPress_data();
    void keyPress();
    void tab_movesFocusOutOfTable_data();
    void tab_movesFocusOutOfTable();
    void focusChange_carriesEnabledState_data();
    void focusChange_carriesEnabledState();
};

void TestSQLTable::keyPress_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QStringList>("signalsEmitted");
    QTest::addColumn<bool>("passedToParent");
    QTest::addColumn<int>("currentRowAfter");

    const int none = Qt::NoModifier;
    const int alt = Qt::AltModifier;
    const int ctrl = Qt::ControlModifier;
    const int shift = Qt::ShiftModifier;
    const QStringList nothing;

    QTest::newRow("Alt+Backspace") << int(Qt::Key_Backspace) << alt << QStringList{QStringLiteral("undo")} << false
                                   << 0;
    QTest::newRow("Backspace") << int(Qt::Key_Backspace) << none << nothing << false << 0;
    QTest::newRow("Ctrl+Backspace") << int(Qt::Key_Backspace) << ctrl << nothing << false << 0;
    QTest::newRow("Shift+Delete") << int(Qt::Key_Delete) << shift
                                  << QStringList{QStringLiteral("copy"), QStringLiteral("delete")} << false << 0;
    QTest::newRow("Ctrl+Shift+Delete") << int(Qt::Key_Delete) << (ctrl | shift)
                                       << QStringList{QStringLiteral("copy"), QStringLiteral("delete")} << false << 0;
    QTest::newRow("Alt+Delete") << int(Qt::Key_Delete) << alt << nothing << false << 0;
    QTest::newRow("Ctrl+Delete") << int(Qt::Key_Delete) << ctrl << nothing << false << 0;
    QTest::newRow("Delete") << int(Qt::Key_Delete) << none << QStringList{QStringLiteral("delete")} << false << 0;
    QTest::newRow("keypad Delete") << int(Qt::Key_Delete) << int(Qt::KeypadModifier)
                                   << QStringList{QStringLiteral("delete")} << false << 0;
    QTest::newRow("Ctrl+Insert") << int(Qt::Key_Insert) << ctrl << QStringList{QStringLiteral("copy")} << false << 0;
    QTest::newRow("Ctrl+Shift+Insert") << int(Qt::Key_Insert) << (ctrl | shift) << QStringList{QStringLiteral("copy")}
                                       << false << 0;
    QTest::newRow("Shift+Insert") << int(Qt::Key_Insert) << shift << QStringList{QStringLiteral("paste")} << false << 0;
    QTest::newRow("Alt+Insert") << int(Qt::Key_Insert) << alt << nothing << false << 0;
    QTest::newRow("Insert") << int(Qt::Key_Insert) << none << QStringList{QStringLiteral("insert")} << false << 0;
    QTest::newRow("F13") << int(Qt::Key_F13) << none << QStringList{QStringLiteral("insert")} << false << 0;
    QTest::newRow("Shift+F13") << int(Qt::Key_F13) << shift << nothing << false << 0;
    QTest::newRow("Ctrl+Tab") << int(Qt::Key_Tab) << ctrl << nothing << false << 0;
    QTest::newRow("Alt+Backtab") << int(Qt::Key_Backtab) << alt << nothing << false << 0;
    QTest::newRow("Space") << int(Qt::Key_Space) << none << QStringList{QStringLiteral("copy")} << false << 0;
    QTest::newRow("Shift+Space") << int(Qt::Key_Space) << shift << QStringList{QStringLiteral("copy")} << false << 0;
    QTest::newRow("Alt+Space") << int(Qt::Key_Space) << alt << nothing << false << 0;
    QTest::newRow("Ctrl+Space") << int(Qt::Key_Space) << ctrl << nothing << false << 0;
    QTest::newRow("other key unhandled by the view") << int(Qt::Key_F5) << none << nothing << true << 0;
    QTest::newRow("other key handled by the view") << int(Qt::Key_Down) << none << nothing << false << 1;
}

void TestSQLTable::keyPress()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QStringList, signalsEmitted);
    QFETCH(bool, passedToParent);
    QFETCH(int, currentRowAfter);

    KeyCatcher parent;
    auto *table = new SQLTable(&parent);
    QStandardItemModel model(2, 2);
    table->setModel(&model);
    table->setCurrentIndex(model.index(0, 0));

    QStringList emitted;
    connect(table, &SQLTable::keyUndo, this, [&emitted] { emitted << QStringLiteral("undo"); });
    connect(table, &SQLTable::keyDelete, this, [&emitted] { emitted << QStringLiteral("delete"); });
    connect(table, &SQLTable::keyInsert, this, [&emitted] { emitted << QStringLiteral("insert"); });
    connect(table, &SQLTable::keyCopy, this, [&emitted] { emitted << QStringLiteral("copy"); });
    connect(table, &SQLTable::keyPaste, this, [&emitted] { emitted << QStringLiteral("paste"); });

    QTest::keyClick(table, Qt::Key(key), Qt::KeyboardModifiers(modifiers));

    QCOMPARE(emitted, signalsEmitted);
    QCOMPARE(parent.keys.contains(key), passedToParent);
    QCOMPARE(table->currentIndex().row(), currentRowAfter);
}

void TestSQLTable::tab_movesFocusOutOfTable_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("focusedAfter");

    QTest::newRow("Tab") << int(Qt::Key_Tab) << int(Qt::NoModifier) << QStringLiteral("after");
    QTest::newRow("Shift+Tab") << int(Qt::Key_Tab) << int(Qt::ShiftModifier) << QStringLiteral("before");
}

void TestSQLTable::tab_movesFocusOutOfTable()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, focusedAfter);

    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *before = new QLineEdit(&window);
    before->setObjectName(QStringLiteral("before"));
    auto *table = new SQLTable(&window);
    auto *after = new QLineEdit(&window);
    after->setObjectName(QStringLiteral("after"));
    layout->addWidget(before);
    layout->addWidget(table);
    layout->addWidget(after);
    QStandardItemModel model(2, 3);
    table->setModel(&model);
    table->setCurrentIndex(model.index(0, 0));

    window.show();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    table->setFocus();
    QTRY_VERIFY(table->hasFocus());

    QTest::keyClick(table, Qt::Key(key), Qt::KeyboardModifiers(modifiers));

    QTRY_COMPARE(QApplication::focusWidget()->objectName(), focusedAfter);
    QCOMPARE(table->currentIndex(), model.index(0, 0));
}

void TestSQLTable::focusChange_carriesEnabledState_data()
{
    QTest::addColumn<int>("eventType");
    QTest::addColumn<bool>("enabled");

    QTest::newRow("gain, enabled") << int(QEvent::FocusIn) << true;
    QTest::newRow("gain, disabled") << int(QEvent::FocusIn) << false;
    QTest::newRow("loss, enabled") << int(QEvent::FocusOut) << true;
    QTest::newRow("loss, disabled") << int(QEvent::FocusOut) << false;
}

void TestSQLTable::focusChange_carriesEnabledState()
{
    QFETCH(int, eventType);
    QFETCH(bool, enabled);

    SQLTable table;
    table.setEnabled(enabled);
    QSignalSpy spy(&table, &SQLTable::changeFocus);

    // The table never really has the focus here, so the argument cannot come from hasFocus().
    QFocusEvent event(QEvent::Type(eventType), Qt::OtherFocusReason);
    QApplication::sendEvent(&table, &event);

    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toBool(), enabled);
}

QTEST_MAIN(TestSQLTable)
#include "tst_sqltable.moc"
