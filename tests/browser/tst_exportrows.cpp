#include "browser/exportrows.h"

#include <QtTest>

class TestExportRows : public QObject
{
    Q_OBJECT

private slots:
    void rowsTaken_data()
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

    void rowsTaken()
    {
        QFETCH(QVector<int>, cellRows);
        QFETCH(int, rowCount);
        QFETCH(int, pendingRow);

        QTEST(exportRows(cellRows, rowCount, pendingRow), "rows");
    }
};

QTEST_GUILESS_MAIN(TestExportRows)
#include "tst_exportrows.moc"
