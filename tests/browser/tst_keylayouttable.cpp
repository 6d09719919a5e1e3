#include "browser/keylayouttable.h"
#include "browser/scanlineedit.h"

#include <QtGui>
#include <QtTest>

class TestKeyLayoutTable : public QObject
{
    Q_OBJECT

private slots:
    void init() { clearKeyLayout(); }

    void recordKeyPairs_firstWinsNoDigitsShorterStringBounds()
    {
        // Digit characters, then a digit key for "b", a second code for "c", a code without character.
        recordKeyPairs(QStringLiteral("0123456789bcc"), QStringLiteral("XYZXYZXYZX2QWV"));
        recordKeyPairs(QStringLiteral("de"), QStringLiteral("D"));
        QCOMPARE(keyLayoutStrings(), qMakePair(QStringLiteral("QD"), QStringLiteral("cd")));
    }

    // A key is learned only when it gives one character that differs from its key code (the low 16 bits);
    // a character already in the table keeps its code.
    void scanLineEdit_learnsKeysAndStillTypes()
    {
        recordKeyPair(u'я', u'Z');
        ScanLineEdit edit;
        const QVector<QPair<QString, quint32>> keys{{QStringLiteral("ß"), 0x100DB},
                                                    {QStringLiteral("я"), 0xBA},
                                                    {QStringLiteral("A"), 0x41},
                                                    {QStringLiteral("ýý"), 0xDB},
                                                    {QStringLiteral("\x01"), 0x41}};
        for (const auto &[text, nativeVirtualKey] : keys) {
            QKeyEvent event(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, 0, nativeVirtualKey, 0, text);
            QApplication::sendEvent(&edit, &event);
        }
        QCOMPARE(keyLayoutStrings(), qMakePair(QStringLiteral("A\u00DBZ"), QStringLiteral("\x01ßя")));
        QCOMPARE(edit.text(), QStringLiteral("ßяAýý"));
    }
};

QTEST_MAIN(TestKeyLayoutTable)
#include "tst_keylayouttable.moc"
