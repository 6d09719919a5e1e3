#include "app/commandline.h"
#include "app/commandrunner.h"
#include "app/globals.h"
#include "app/quillary.h"
#include "app/summonchannel.h"

#include <QApplication>
#include <QFile>
#include <QPixmap>
#include <QSplashScreen>

#include <cstdio>

namespace {

void write(std::FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
}

} // namespace

int main(int argc, char *argv[])
{
    // The command decides which application object the program needs. A short-lived
    // one reads the arguments as the system hands them over (on Windows, as UTF-16).
    QStringList arguments;
    {
        const QCoreApplication reader(argc, argv);
        arguments = QCoreApplication::arguments();
    }
    const CommandLine line = CommandLine::parse(arguments);
    switch (line.command) {
    case CommandLine::Help: {
        // The help names the program as typed, not by the path it was started from.
        char name[] = "quillary";
        char *nameOnly[] = {name, nullptr};
        int one = 1;
        QCoreApplication app(one, nameOnly);
        write(stdout, CommandLine::helpText());
        return 0;
    }
    case CommandLine::Version:
        write(stdout, applicationName + QLatin1Char(' ') + appVersion + QLatin1Char('\n'));
        return 0;
    case CommandLine::UsageError:
        write(stderr, QStringLiteral("quillary: %1\nTry 'quillary --help'.\n").arg(line.error));
        return 2;
    default:
        break;
    }

    if (line.isHeadless()) {
        QCoreApplication app(argc, argv);
        QFile out, err;
        out.open(stdout, QIODevice::WriteOnly | QIODevice::Unbuffered);
        err.open(stderr, QIODevice::WriteOnly | QIODevice::Unbuffered);
        return CommandRunner(&out, &err).run(line);
    }

    if (line.command == CommandLine::Find) {
        // Handing a search to the running copy needs no display.
        QCoreApplication handOver(argc, argv);
        if (SummonChannel::sendToRunningCopy(line.text))
            return 0;
    }

    Q_INIT_RESOURCE(images);
    QApplication app(argc, argv);

    SummonChannel channel;
    channel.listen();
    const QPixmap pixmap(QStringLiteral(":/images/splash.png"));
    splash = new QSplashScreen(pixmap, Qt::WindowStaysOnTopHint);
    splash->show();

    Quillary window(line.file, line.command == CommandLine::Find ? std::optional<QString>(line.text) : std::nullopt);
    QObject::connect(&channel, &SummonChannel::summoned, &window, &Quillary::summon);
    channel.serve();
    return app.exec();
}
