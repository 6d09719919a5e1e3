#include "app/theme.h"

#include <QPalette>
#include <QtTest>

class TestTheme : public QObject
{
    Q_OBJECT

private slots:
    void choose_data();
    void choose();
    void sheets_areDistinctAndParse();
};

void TestTheme::choose_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("lightTheme");
    QTest::addColumn<QColor>("text");
    QTest::addColumn<QColor>("window");
    QTest::addColumn<int>("expected");

    const QColor black(Qt::black), white(Qt::white), grey(0x30, 0x30, 0x30);
    const int dark = int(StyleSheetKind::DarkAppMode), darkPalette = int(StyleSheetKind::DarkPalette),
              light = int(StyleSheetKind::LightPalette);
    QTest::newRow("dark app mode wins over light palette") << int(QSettings::NoError) << 0 << black << white << dark;
    QTest::newRow("missing value reads 1024: light palette") << int(QSettings::NoError) << 1024 << black << white
                                                             << light;
    QTest::newRow("light app mode, dark palette") << int(QSettings::NoError) << 1 << white << grey << darkPalette;
    QTest::newRow("unreadable key, dark palette") << int(QSettings::AccessError) << 0 << white << grey << darkPalette;
    QTest::newRow("unreadable key, light palette") << int(QSettings::FormatError) << 0 << black << white << light;
}

void TestTheme::choose()
{
    QFETCH(int, status);
    QFETCH(int, lightTheme);
    QFETCH(QColor, text);
    QFETCH(QColor, window);
    QFETCH(int, expected);

    QPalette palette;
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Window, window);
    QCOMPARE(int(chooseStyleSheet(QSettings::Status(status), lightTheme, palette)), expected);
}

void TestTheme::sheets_areDistinctAndParse()
{
    const QString a = styleSheet(StyleSheetKind::DarkAppMode);
    const QString b = styleSheet(StyleSheetKind::DarkPalette);
    const QString c = styleSheet(StyleSheetKind::LightPalette);
    QVERIFY(a.startsWith(QStringLiteral("QWidget   {color: #e0e0e0; background-color: #252525}")));
    QVERIFY(a.endsWith(QStringLiteral("QTextBrowser{background-color:#707070;}")));
    QVERIFY(b.startsWith(QStringLiteral("QWidget   {color: #e0e0e0; }")));
    QVERIFY(c.endsWith(QStringLiteral("QTextEdit { selection-background-color: #0078D7; selection-color: #FFFFFF }")));
    // Every rule is closed: as many opening as closing braces.
    for (const QString &sheet : {a, b, c})
        QCOMPARE(sheet.count(QLatin1Char('{')), sheet.count(QLatin1Char('}')));
    QCOMPARE(a.count(QLatin1Char('}')), 26);
    QCOMPARE(b.count(QLatin1Char('}')), 20);
    QCOMPARE(c.count(QLatin1Char('}')), 2);
}

QTEST_MAIN(TestTheme)
#include "tst_theme.moc"
