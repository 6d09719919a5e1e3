#include "browser/sqltable.h"

#include <QStandardItemModel>
#include <QtTest>

class TestSQLTable : public QObject
{
    Q_OBJECT

private slots:
    void keyPress_data();
    void keyPress();
    void focusChange_carriesEnabledState();
};

// Row name: the key. Effect: signals sent, "ignored" (left to the parent: Tab moves the focus), "moved" (new cell).
void TestSQLTable::keyPress_data()
{
    QTest::addColumn<QString>("effect");
    const QString rows = QStringLiteral(
        "Alt+Backspace:Undo,Backspace:,Shift+Del:Copy Delete,Alt+Del:,Ctrl+Del:,Del:Delete,Ctrl+Shift+Ins:Copy,"
        "Shift+Ins:Paste,Alt+Ins:,Ins:Insert,F13:Insert,Shift+F13:,Alt+F13:,Tab:ignored,Backtab:ignored,Ctrl+Tab:,"
        "Space:Copy,Shift+Space:Copy,Alt+Space:,Ctrl+Space:,F5:ignored,Down:moved");
    for (const QString &row : rows.split(QLatin1Char(',')))
        QTest::newRow(qPrintable(row.section(QLatin1Char(':'), 0, 0))) << row.section(QLatin1Char(':'), 1);
}

void TestSQLTable::keyPress()
{
    QFETCH(QString, effect);
    SQLTable table;
    table.setModel(new QStandardItemModel(2, 2, &table));
    table.setCurrentIndex(table.model()->index(0, 1));
    QByteArrayList seen;
    for (const auto signal :
         {&SQLTable::keyUndo, &SQLTable::keyDelete, &SQLTable::keyInsert, &SQLTable::keyCopy, &SQLTable::keyPaste})
        connect(&table, signal, this, [&seen, signal] { seen << QMetaMethod::fromSignal(signal).name().mid(3); });
    const int key = QKeySequence(QString::fromLatin1(QTest::currentDataTag()))[0];
    QKeyEvent event(QEvent::KeyPress, key & ~Qt::KeyboardModifierMask, QFlag(key & Qt::KeyboardModifierMask));
    QApplication::sendEvent(&table, &event);
    if (!event.isAccepted() || table.currentIndex() != table.model()->index(0, 1))
        seen << (event.isAccepted() ? "moved" : "ignored");
    QCOMPARE(QString::fromLatin1(seen.join(' ')), effect);
}

// The table never really has the focus here, so the argument cannot come from hasFocus().
void TestSQLTable::focusChange_carriesEnabledState()
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

QTEST_MAIN(TestSQLTable)
#include "tst_sqltable.moc"
