#include "browser/actionstate.h"

#include <QtTest>

Q_DECLARE_METATYPE(ActionInputs)
Q_DECLARE_METATYPE(ActionState)

class TestActionState : public QObject
{
    Q_OBJECT

private slots:
    void enabledActions_data()
    {
        QTest::addColumn<ActionInputs>("in");
        QTest::addColumn<ActionState>("enabled");
        const std::optional<bool> kept;

        // in: focus, valid, current selected, nothing selected, read-only, clipboard text
        // enabled: copy phrase, copy cells, delete, paste (kept: as it was)
        QTest::newRow("focus elsewhere") << ActionInputs{false, true, true, false, false, true}
                                         << ActionState{false, false, false, false};
        QTest::newRow("cursor cell selected")
            << ActionInputs{true, true, true, true, false, true} << ActionState{true, true, true, true};
        QTest::newRow("cursor cell selected, read-only")
            << ActionInputs{true, true, true, true, true, true} << ActionState{true, true, false, false};
        QTest::newRow("cursor cell selected, clipboard empty")
            << ActionInputs{true, true, true, true, false, false} << ActionState{true, true, true, false};
        QTest::newRow("selection gone from the cursor")
            << ActionInputs{true, true, false, true, false, true} << ActionState{false, false, false, kept};
        QTest::newRow("cells selected") << ActionInputs{true, true, false, false, false, true}
                                        << ActionState{true, true, true, true};
        QTest::newRow("cells selected, read-only")
            << ActionInputs{true, true, false, false, true, true} << ActionState{true, true, false, false};
        QTest::newRow("cells selected, clipboard empty")
            << ActionInputs{true, true, false, false, false, false} << ActionState{true, true, true, false};
        QTest::newRow("cells selected, no cursor")
            << ActionInputs{true, false, false, false, false, true} << ActionState{false, false, false, false};
    }

    void enabledActions()
    {
        QFETCH(ActionInputs, in);
        QFETCH(ActionState, enabled);

        const ActionState state = actionState(in);
        QCOMPARE(state.copyPhrase, enabled.copyPhrase);
        QCOMPARE(state.copyCells, enabled.copyCells);
        QCOMPARE(state.deletePhrase, enabled.deletePhrase);
        QCOMPARE(state.pastePhrase.has_value(), enabled.pastePhrase.has_value());
        QCOMPARE(state.pastePhrase.value_or(false), enabled.pastePhrase.value_or(false));
    }
};

QTEST_GUILESS_MAIN(TestActionState)
#include "tst_actionstate.moc"
