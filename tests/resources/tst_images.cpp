// Checks the pictures compiled into the program: every name the program asks for is
// there, renders at the size its widget expects, and actually shows something.

#include <QColor>
#include <QImage>
#include <QSet>
#include <QtTest>

// Outside any namespace: the macro declares the resource's init function where it stands.
static void initImages()
{
    Q_INIT_RESOURCE(images);
}

namespace {
enum class Kind
{
    Toolbar,
    Button,
    Picture
};

struct Expected
{
    const char *name;
    QSize size;
    Kind kind;
};

const Expected kImages[] = {
    {"splash.png", {480, 270}, Kind::Picture},    {"about.png", {500, 300}, Kind::Picture},
    {"del.png", {14, 14}, Kind::Button},          {"open.png", {32, 32}, Kind::Toolbar},
    {"new.png", {32, 32}, Kind::Toolbar},         {"save.png", {32, 32}, Kind::Toolbar},
    {"editundo.png", {32, 32}, Kind::Toolbar},    {"editredo.png", {32, 32}, Kind::Toolbar},
    {"editcut.png", {32, 32}, Kind::Toolbar},     {"editcopy.png", {32, 32}, Kind::Toolbar},
    {"editpaste.png", {32, 32}, Kind::Toolbar},   {"textbold.png", {32, 32}, Kind::Toolbar},
    {"textitalic.png", {32, 32}, Kind::Toolbar},  {"textunder.png", {32, 32}, Kind::Toolbar},
    {"textleft.png", {32, 32}, Kind::Toolbar},    {"textcenter.png", {32, 32}, Kind::Toolbar},
    {"textright.png", {32, 32}, Kind::Toolbar},   {"textjustify.png", {32, 32}, Kind::Toolbar},
    {"phrasecopy.png", {32, 32}, Kind::Toolbar},  {"copycells.png", {32, 32}, Kind::Toolbar},
    {"phrasepaste.png", {32, 32}, Kind::Toolbar}, {"phrasedel.png", {32, 32}, Kind::Toolbar},
    {"phraseins.png", {32, 32}, Kind::Toolbar},
};

QImage load(const QString &name)
{
    QImage image(QStringLiteral(":/images/") + name);
    return image.isNull() ? image : image.convertToFormat(QImage::Format_ARGB32);
}

// Share of pixels that are more than faintly drawn.
double coverage(const QImage &image)
{
    qint64 visible = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) >= 64)
                ++visible;
    return double(visible) / (image.width() * image.height());
}

// Largest colour distance between solid pixels; antialiased edges are left out since
// their colour is only a blend.
int colourSpread(const QImage &image)
{
    QVector<QRgb> solid;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) == 255)
                solid.append(image.pixel(x, y));
    int spread = 0;
    for (const QRgb a : solid)
        for (const QRgb b : solid)
            spread = qMax(spread, qAbs(qRed(a) - qRed(b)) + qAbs(qGreen(a) - qGreen(b)) + qAbs(qBlue(a) - qBlue(b)));
    return spread;
}
} // namespace

class TestImages : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { initImages(); }
    void image_data();
    void image();
    void imagesDiffer();
    void aboutTextColumnIsLight();
};

void TestImages::image_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("kind");
    for (const Expected &e : kImages)
        QTest::newRow(e.name) << QString::fromLatin1(e.name) << e.size << int(e.kind);
}

void TestImages::image()
{
    QFETCH(QString, name);
    QFETCH(QSize, size);
    QFETCH(int, kind);

    const QImage image = load(name);
    QVERIFY2(!image.isNull(), qPrintable(name + QStringLiteral(" is missing or unreadable")));
    QCOMPARE(image.size(), size);

    // A drawing that failed to render, or was drawn outside its view box, leaves a
    // blank or nearly blank picture behind.
    const double drawn = coverage(image);
    QVERIFY2(drawn > 0.08, qPrintable(QStringLiteral("only %1% drawn").arg(drawn * 100, 0, 'f', 1)));
    if (Kind(kind) == Kind::Picture)
        QVERIFY2(drawn > 0.9, "the picture should fill its frame");

    // Toolbar icons pair a dark outline with a coloured accent; one flat colour means
    // the fills were lost.
    if (Kind(kind) == Kind::Toolbar)
        QVERIFY2(colourSpread(image) > 150, qPrintable(QStringLiteral("spread %1").arg(colourSpread(image))));
}

void TestImages::imagesDiffer()
{
    // A drawing copied to a new name and never redrawn would show the wrong action.
    QHash<QByteArray, QString> seen;
    for (const Expected &e : kImages) {
        const QImage image = load(QString::fromLatin1(e.name));
        QVERIFY(!image.isNull());
        const QByteArray bits(reinterpret_cast<const char *>(image.constBits()), int(image.sizeInBytes()));
        const QString name = QString::fromLatin1(e.name);
        QVERIFY2(!seen.contains(bits), qPrintable(name + QStringLiteral(" is the same as ") + seen.value(bits)));
        seen.insert(bits, name);
    }
}

void TestImages::aboutTextColumnIsLight()
{
    // The About box paints its text in near-black over the right 220 pixels of this picture.
    const QImage image = load(QStringLiteral("about.png"));
    QVERIFY(!image.isNull());
    const QRect column(image.width() - 220, 0, 220, image.height());
    int darkest = 255;
    for (int y = column.top(); y <= column.bottom(); ++y) {
        for (int x = column.left(); x <= column.right(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            QCOMPARE(qAlpha(pixel), 255);
            darkest = qMin(darkest, qGray(pixel));
        }
    }
    QVERIFY2(darkest >= 190, qPrintable(QStringLiteral("darkest grey %1 in the text column").arg(darkest)));
}

QTEST_MAIN(TestImages)
#include "tst_images.moc"
