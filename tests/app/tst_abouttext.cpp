#include "app/abouttext.h"
#include "app/globals.h"

#include <QtTest>

class TestAboutText : public QObject
{
    Q_OBJECT

private slots:
    void links_followLanguage_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("site"); // the support link's text; the web page is https://site/
        QTest::newRow("Russian") << QStringLiteral("ru") << QStringLiteral("quillary.example.org/ru");
        QTest::newRow("English") << QStringLiteral("en") << QStringLiteral("quillary.example.org");
        QTest::newRow("no translations") << QString() << QStringLiteral("quillary.example.org");
    }

    void links_followLanguage()
    {
        QFETCH(QString, language);
        QFETCH(QString, site);
        const QString text = aboutText(language);
        QStringList links; // each link's target, then its text
        const QRegularExpression link(QStringLiteral("<a href=\"([^\"]*)\">([^<]*)</a>"));
        for (auto found = link.globalMatch(text); found.hasNext();)
            links << found.next().capturedTexts().mid(1);
        const QString webPage = QStringLiteral("https://") + site + QLatin1Char('/');
        QCOMPARE(links, (QStringList{webPage, QStringLiteral("The program web page"),
                                     webPage + QStringLiteral("support/"), site}));
        QVERIFY2(text.contains(QStringLiteral("Version ") + appVersion), qPrintable(text));
    }
};

QTEST_GUILESS_MAIN(TestAboutText)
#include "tst_abouttext.moc"
