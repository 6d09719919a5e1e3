#include "browser/rowafterdeletion.h"

#include <QtTest>

class TestRowAfterDeletion : public QObject
{
    Q_OBJECT

private slots:
    void cursorTarget_data()
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

    void cursorTarget()
    {
        QFETCH(int, current);
        QFETCH(int, rowCount);
        QFETCH(QVector<int>, deleted);

        const RowAfterDeletion target = rowAfterDeletion(current, rowCount, deleted);
        QTEST(target.before, "before");
        QTEST(target.after, "after");
    }
};

QTEST_GUILESS_MAIN(TestRowAfterDeletion)
#include "tst_rowafterdeletion.moc"
