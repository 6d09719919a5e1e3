#include <QImage>
#include <QtTest>

// The pictures compiled into the program: each name the program asks for is there, shows
// something, and is its own drawing rather than a copy of another under a new name.
class TestImages : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { Q_INIT_RESOURCE(images); }

    void image_data()
    {
        QTest::addColumn<QString>("name");
        for (const char *name : {"splash",     "about",     "del",         "open",       "new",       "save",
                                 "editundo",   "editredo",  "editcut",     "editcopy",   "editpaste", "textbold",
                                 "textitalic", "textunder", "textleft",    "textcenter", "textright", "textjustify",
                                 "phrasecopy", "copycells", "phrasepaste", "phrasedel",  "phraseins"})
            QTest::newRow(name) << QStringLiteral(":/images/%1.png").arg(QLatin1String(name));
    }

    void image()
    {
        QFETCH(QString, name);
        const QImage image = QImage(name).convertToFormat(QImage::Format_ARGB32);
        QVERIFY2(!image.isNull(), "missing or unreadable");
        // A drawing that failed to render, or lies outside its view box, leaves a blank picture.
        int drawn = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                drawn += qAlpha(image.pixel(x, y)) >= 64;
        QVERIFY2(drawn > image.width() * image.height() / 12, qPrintable(QString::number(drawn)));
        static QHash<QByteArray, QString> seen; // over the rows so far
        const QByteArray bits(reinterpret_cast<const char *>(image.constBits()), int(image.sizeInBytes()));
        QVERIFY2(!seen.contains(bits), qPrintable(QStringLiteral("the same as ") + seen.value(bits)));
        seen.insert(bits, name);
    }
};

QTEST_MAIN(TestImages)
#include "tst_images.moc"
