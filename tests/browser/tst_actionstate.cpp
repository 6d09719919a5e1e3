#include "browser/actionstate.h"

#include <QtTest>

class TestActionState : public QObject
{
    Q_OBJECT

private slots:
    void enabledActions_data();
    void enabledActions();
};

void TestActionState::enabledActions_data()
{
    QTest::addColumn<bool>("tableFocus");
    QTest::addColumn<bool>("currentValid");
    QTest::addColumn<bool>("currentSelected");
    QTest::addColumn<bool>("nothingSelected");
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<bool>("clipboardHasText");
    QTest::addColumn<bool>("copyPhrase");
    QTest::addColumn<bool>("copyCells");
    QTest::addColumn<bool>("deletePhrase");
    QTest::addColumn<bool>("pasteKept");
    QTest::addColumn<bool>("paste");

    // focus, valid, current selected, nothing selected, read-only, clipboard text
    //   -> copy phrase, copy cells, delete, paste kept, paste
    QTest::newRow("focus elsewhere") << false << true << true << false << false << true //
                                     << false << false << false << false << false;
    QTest::newRow("cursor cell selected") << true << true << true << true << false << true //
                                          << true << true << true << false << true;
    QTest::newRow("cursor cell selected, read-only") << true << true << true << true << true << true //
                                                     << true << true << false << false << false;
    QTest::newRow("cursor cell selected, clipboard empty") << true << true << true << true << false << false //
                                                           << true << true << true << false << false;
    QTest::newRow("selection gone from the cursor") << true << true << false << true << false << true //
                                                    << false << false << false << true << false;
    QTest::newRow("cells selected") << true << true << false << false << false << true //
                                    << true << true << true << false << true;
    QTest::newRow("cells selected, read-only") << true << true << false << false << true << true //
                                               << true << true << false << false << false;
    QTest::newRow("cells selected, clipboard empty") << true << true << false << false << false << false //
                                                     << true << true << true << false << false;
    QTest::newRow("cells selected, no cursor") << true << false << false << false << false << true //
                                               << false << false << false << false << false;
}

void TestActionState::enabledActions()
{
    ActionInputs in;
    QFETCH(bool, tableFocus);
    QFETCH(bool, currentValid);
    QFETCH(bool, currentSelected);
    QFETCH(bool, nothingSelected);
    QFETCH(bool, readOnly);
    QFETCH(bool, clipboardHasText);
    QFETCH(bool, copyPhrase);
    QFETCH(bool, copyCells);
    QFETCH(bool, deletePhrase);
    QFETCH(bool, pasteKept);
    QFETCH(bool, paste);
    in.tableFocus = tableFocus;
    in.currentValid = currentValid;
    in.currentSelected = currentSelected;
    in.nothingSelected = nothingSelected;
    in.readOnly = readOnly;
    in.clipboardHasText = clipboardHasText;

    const ActionState state = actionState(in);
    QCOMPARE(state.copyPhrase, copyPhrase);
    QCOMPARE(state.copyCells, copyCells);
    QCOMPARE(state.deletePhrase, deletePhrase);
    QCOMPARE(!state.pastePhrase.has_value(), pasteKept);
    QCOMPARE(state.pastePhrase.value_or(false), paste);
}

QTEST_GUILESS_MAIN(TestActionState)
#include "tst_actionstate.moc"
