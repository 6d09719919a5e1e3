#include "app/abouttext.h"
#include "app/globals.h"

#include <QRegularExpression>
#include <QtTest>

class TestAboutText : public QObject
{
    Q_OBJECT

private slots:
    void links_followLanguage_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("webPage");
        QTest::addColumn<QString>("supportPage");
        QTest::addColumn<QString>("supportName"); // the support link's text
        QTest::newRow("Russian") << "ru"
                                 << "https://quillary.example.org/ru/"
                                 << "https://quillary.example.org/ru/support/"
                                 << "quillary.example.org/ru";
        QTest::newRow("English") << "en"
                                 << "https://quillary.example.org/"
                                 << "https://quillary.example.org/support/"
                                 << "quillary.example.org";
        QTest::newRow("no translations") << ""
                                         << "https://quillary.example.org/"
                                         << "https://quillary.example.org/support/"
                                         << "quillary.example.org";
    }

    void links_followLanguage()
    {
        QFETCH(QString, language);
        QFETCH(QString, webPage);
        QFETCH(QString, supportPage);
        QFETCH(QString, supportName);
        const QString text = aboutText(language);
        QStringList targets;
        QStringList names;
        const QRegularExpression link(QStringLiteral("<a href=\"([^\"]*)\">([^<]*)</a>"));
        for (auto links = link.globalMatch(text); links.hasNext();) {
            const QRegularExpressionMatch match = links.next();
            targets << match.captured(1);
            names << match.captured(2);
        }
        QCOMPARE(targets, (QStringList{webPage, supportPage}));
        QCOMPARE(names.value(1), supportName);
        QVERIFY2(text.contains(QStringLiteral("Version ") + appVersion), qPrintable(text));
    }
};

QTEST_GUILESS_MAIN(TestAboutText)
#include "tst_abouttext.moc"
