#include "browser/sqltable.h"

#include <QtTest>
#include <QtWidgets>

class TestSQLTable : public QObject
{
    Q_OBJECT

private slots:
    // Row name: the key, as QKeySequence reads it.
    void keyPress_data()
    {
        QTest::addColumn<QByteArrayList>("sent"); // the key signals, in order
        QTest::addColumn<bool>("passedOn");       // left to the parent: Tab moves the focus
        QTest::addColumn<bool>("moved");          // to another cell
        const auto key = [](const char *name, const QByteArrayList &sent, bool passedOn = false, bool moved = false) {
            QTest::newRow(name) << sent << passedOn << moved;
        };
        key("Alt+Backspace", {"Undo"});
        key("Backspace", {});
        key("Shift+Del", {"Copy", "Delete"});
        key("Alt+Del", {});
        key("Ctrl+Del", {});
        key("Del", {"Delete"});
        key("Ctrl+Shift+Ins", {"Copy"});
        key("Shift+Ins", {"Paste"});
        key("Alt+Ins", {});
        key("Ins", {"Insert"});
        key("F13", {"Insert"});
        key("Shift+F13", {});
        key("Alt+F13", {});
        key("Tab", {}, true);
        key("Backtab", {}, true);
        key("Ctrl+Tab", {});
        key("Space", {"Copy"});
        key("Shift+Space", {"Copy"});
        key("Alt+Space", {});
        key("Ctrl+Space", {});
        key("F5", {}, true);
        key("Down", {}, false, true);
    }

    void keyPress()
    {
        SQLTable table;
        table.setModel(new QStandardItemModel(2, 2, &table));
        const QModelIndex start = table.model()->index(0, 1);
        table.setCurrentIndex(start);
        QByteArrayList seen;
        for (const auto signal :
             {&SQLTable::keyUndo, &SQLTable::keyDelete, &SQLTable::keyInsert, &SQLTable::keyCopy, &SQLTable::keyPaste})
            connect(&table, signal, this, [&seen, signal] { seen << QMetaMethod::fromSignal(signal).name().mid(3); });
        const int key = QKeySequence(QString::fromLatin1(QTest::currentDataTag()))[0];
        QKeyEvent event(QEvent::KeyPress, key & ~Qt::KeyboardModifierMask, QFlag(key & Qt::KeyboardModifierMask));
        QApplication::sendEvent(&table, &event);
        QTEST(seen, "sent");
        QTEST(!event.isAccepted(), "passedOn");
        QTEST(table.currentIndex() != start, "moved");
    }

    // The table never really has the focus here, so the argument cannot come from hasFocus().
    void focusChange_carriesEnabledState()
    {
        SQLTable table;
        QSignalSpy spy(&table, &SQLTable::changeFocus);
        for (const QEvent::Type type : {QEvent::FocusIn, QEvent::FocusOut, QEvent::FocusIn, QEvent::FocusOut}) {
            table.setEnabled(spy.count() < 2);
            QFocusEvent event(type);
            QApplication::sendEvent(&table, &event);
        }
        QCOMPARE(QList<QVariantList>(spy), (QList<QVariantList>{{true}, {true}, {false}, {false}}));
    }
};

QTEST_MAIN(TestSQLTable)
#include "tst_sqltable.moc"
