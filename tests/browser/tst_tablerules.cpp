#include "browser/actionstate.h"
#include "browser/emptyrecord.h"
#include "browser/exportrows.h"
#include "browser/rowafterdeletion.h"

#include <QtTest>

Q_DECLARE_METATYPE(ActionInputs)
Q_DECLARE_METATYPE(ActionState)
Q_DECLARE_METATYPE(PhraseRecord)

// The plain rules behind the phrase table's commands, one test per function: actionstate, emptyrecord,
// exportrows and rowafterdeletion.
class TestTableRules : public QObject
{
    Q_OBJECT

private slots:
    void actionState_enablesPhraseActions_data()
    {
        QTest::addColumn<ActionInputs>("in");
        QTest::addColumn<ActionState>("enabled");
        const std::optional<bool> kept;
        const auto row = [](const char *name, const ActionInputs &in, const ActionState &enabled) {
            QTest::newRow(name) << in << enabled;
        };
        // in: focus, valid, current selected, nothing selected, read-only, clipboard text
        // enabled: copy phrase, copy cells, delete, paste (kept: as it was)
        row("focus elsewhere", {false, true, true, false, false, true}, {false, false, false, false});
        row("cursor cell selected", {true, true, true, true, false, true}, {true, true, true, true});
        row("cursor cell selected, read-only", {true, true, true, true, true, true}, {true, true, false, false});
        row("cursor cell selected, clipboard empty", {true, true, true, true, false, false}, {true, true, true, false});
        row("selection gone from the cursor", {true, true, false, true, false, true}, {false, false, false, kept});
        row("cells selected", {true, true, false, false, false, true}, {true, true, true, true});
        row("cells selected, read-only", {true, true, false, false, true, true}, {true, true, false, false});
        row("cells selected, clipboard empty", {true, true, false, false, false, false}, {true, true, true, false});
        row("cells selected, no cursor", {true, false, false, false, false, true}, {false, false, false, false});
    }

    void actionState_enablesPhraseActions()
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

    void isEmptyRecord_anyFieldMakesAPhrase_data()
    {
        QTest::addColumn<PhraseRecord>("record");
        QTest::addColumn<bool>("empty");
        const auto with = [](auto set) {
            PhraseRecord record;
            set(record);
            return record;
        };
        QTest::newRow("nothing") << PhraseRecord() << true;
        QTest::newRow("null texts") << with([](PhraseRecord &r) { r.str = r.html = QString(); }) << true;
        QTest::newRow("phrase") << with([](PhraseRecord &r) { r.str = QStringLiteral(" "); }) << false;
        QTest::newRow("labels") << with([](PhraseRecord &r) { r.labels = QStringLiteral("a"); }) << false;
        QTest::newRow("comment") << with([](PhraseRecord &r) { r.keyWord = QStringLiteral("a"); }) << false;
        QTest::newRow("hot key") << with([](PhraseRecord &r) { r.hotKey = QStringLiteral("a"); }) << false;
        QTest::newRow("rich text") << with([](PhraseRecord &r) { r.html = QStringLiteral("<p></p>"); }) << false;
        QTest::newRow("rating") << with([](PhraseRecord &r) { r.rating = 1; }) << false;
        QTest::newRow("count") << with([](PhraseRecord &r) { r.frequency = -1; }) << false;
    }

    void isEmptyRecord_anyFieldMakesAPhrase()
    {
        QFETCH(PhraseRecord, record);
        QFETCH(bool, empty);
        QCOMPARE(isEmptyRecord(record), empty);
        const PhraseRecord kept{QStringLiteral("kept")};
        const QVector<PhraseRecord> left = withoutEmptyRecords({record, kept});
        QCOMPARE(left.size(), empty ? 1 : 2);
        QCOMPARE(left.last().str, kept.str);
    }

    void exportRows_selectedOrAll_data()
    {
        QTest::addColumn<QVector<int>>("cellRows");
        QTest::addColumn<int>("rowCount");
        QTest::addColumn<int>("pendingRow");
        QTest::addColumn<QVector<int>>("rows");
        QTest::newRow("no selection: every row") << QVector<int>{} << 3 << -1 << QVector<int>{0, 1, 2};
        QTest::newRow("the empty new row is no phrase") << QVector<int>{} << 4 << 2 << QVector<int>{0, 1, 3};
        QTest::newRow("one cell is only the cursor") << QVector<int>{1} << 3 << -1 << QVector<int>{0, 1, 2};
        QTest::newRow("two cells of one row") << QVector<int>{1, 1} << 3 << -1 << QVector<int>{1};
        QTest::newRow("each row once, in table order") << QVector<int>{3, 0, 3, 2} << 5 << -1 << QVector<int>{0, 2, 3};
        QTest::newRow("empty table") << QVector<int>{} << 0 << -1 << QVector<int>{};
    }

    void exportRows_selectedOrAll()
    {
        QFETCH(QVector<int>, cellRows);
        QFETCH(int, rowCount);
        QFETCH(int, pendingRow);
        QTEST(exportRows(cellRows, rowCount, pendingRow), "rows");
    }

    void rowAfterDeletion_cursorTarget_data()
    {
        QTest::addColumn<int>("current");
        QTest::addColumn<int>("rowCount");
        QTest::addColumn<QVector<int>>("deleted");
        QTest::addColumn<int>("before");
        QTest::addColumn<int>("after");
        QTest::newRow("next row down") << 2 << 5 << QVector<int>{2} << 3 << 2;
        QTest::newRow("past a run of deleted rows") << 1 << 6 << QVector<int>{1, 2, 3} << 4 << 1;
        QTest::newRow("deleted rows above shift it up") << 3 << 6 << QVector<int>{0, 3} << 4 << 2;
        QTest::newRow("cursor row kept") << 2 << 5 << QVector<int>{0, 4} << 2 << 1;
        QTest::newRow("last row: the one above") << 4 << 5 << QVector<int>{4} << 3 << 3;
        QTest::newRow("all below gone: first kept above") << 2 << 5 << QVector<int>{1, 2, 3, 4} << 0 << 0;
        QTest::newRow("nothing kept") << 1 << 3 << QVector<int>{0, 1, 2} << -1 << -1;
    }

    void rowAfterDeletion_cursorTarget()
    {
        QFETCH(int, current);
        QFETCH(int, rowCount);
        QFETCH(QVector<int>, deleted);
        const RowAfterDeletion target = rowAfterDeletion(current, rowCount, deleted);
        QTEST(target.before, "before");
        QTEST(target.after, "after");
    }
};

QTEST_GUILESS_MAIN(TestTableRules)
#include "tst_tablerules.moc"
