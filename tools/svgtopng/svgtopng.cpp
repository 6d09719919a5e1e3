// svgtopng IN.svg OUT.png WIDTH HEIGHT
// Renders a drawing to a transparent PNG of the given size at build time, so the
// program ships plain pixmaps and needs no SVG support when it runs.

#include <QByteArray>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QMessageLogContext>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>

#include <cstdio>

namespace {
int fail(const QString &message)
{
    std::fprintf(stderr, "svgtopng: %s\n", qPrintable(message));
    return 1;
}

// Set when Qt complains while reading or drawing, e.g. about a gradient id that does not
// exist; such a drawing still renders, just wrongly, so it must fail the build.
bool troubled = false;

// A build machine without a desktop session has no runtime folder; Qt's warning about
// it would repeat once per picture and bury the messages that matter.
void quietHandler(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtDebugMsg || type == QtInfoMsg || message.startsWith(QStringLiteral("QStandardPaths:")))
        return;
    troubled = true;
    std::fprintf(stderr, "svgtopng: %s\n", qPrintable(message));
}

int parseSize(const char *text)
{
    bool ok = false;
    const int value = QString::fromLocal8Bit(text).toInt(&ok);
    return ok && value > 0 && value <= 8192 ? value : 0;
}
} // namespace

int main(int argc, char *argv[])
{
    qInstallMessageHandler(quietHandler);
    // A build machine has no display; SVG text still needs a GUI application for fonts.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    QGuiApplication app(argc, argv);
    troubled = false; // only the drawing's own complaints count, not the platform's start-up notes

    if (argc != 5)
        return fail(QStringLiteral("usage: svgtopng IN.svg OUT.png WIDTH HEIGHT"));
    const QString input = QString::fromLocal8Bit(argv[1]);
    const QString output = QString::fromLocal8Bit(argv[2]);
    const int width = parseSize(argv[3]);
    const int height = parseSize(argv[4]);
    if (width == 0 || height == 0)
        return fail(
            QStringLiteral("bad size %1x%2").arg(QString::fromLocal8Bit(argv[3]), QString::fromLocal8Bit(argv[4])));

    // QSvgRenderer only warns about a missing file, so check it first to name the real cause.
    QFile file(input);
    if (!file.open(QIODevice::ReadOnly))
        return fail(input + QStringLiteral(": ") + file.errorString());
    QSvgRenderer renderer(file.readAll());
    if (!renderer.isValid())
        return fail(input + QStringLiteral(": not a valid SVG drawing"));

    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
        renderer.render(&painter);
    }

    if (troubled)
        return fail(input + QStringLiteral(": the drawing has errors"));

    QImageWriter writer(output, QByteArrayLiteral("png"));
    if (!writer.write(image))
        return fail(output + QStringLiteral(": ") + writer.errorString());
    return 0;
}
