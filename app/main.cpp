#include "app/commandline.h"
#include "app/commandrunner.h"
#include "app/globals.h"
#include "app/quillary.h"
#include "app/summonchannel.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibrary>
#include <QPixmap>
#include <QSplashScreen>

#include <cstdio>
#include <optional>

namespace {

void write(std::FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
}

#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN) && !defined(Q_OS_ANDROID)
// Asked as the xcb platform asks. Without libxcb the platform cannot load either and says so itself.
bool xServerAnswers(const QByteArray &display)
{
    QLibrary xcb(QStringLiteral("xcb"), 1);
    const auto connect = reinterpret_cast<void *(*)(const char *, int *)>(xcb.resolve("xcb_connect"));
    const auto hasError = reinterpret_cast<int (*)(void *)>(xcb.resolve("xcb_connection_has_error"));
    const auto disconnect = reinterpret_cast<void (*)(void *)>(xcb.resolve("xcb_disconnect"));
    if (!connect || !hasError || !disconnect)
        return true;
    void *connection = connect(display.constData(), nullptr);
    const bool answers = hasError(connection) == 0;
    disconnect(connection);
    return answers;
}
#endif

// The display the window cannot reach, as the user would name it (empty when none is
// set), or nothing when it may start. Qt would abort with a page about reinstalling.
std::optional<QString> unreachableDisplay()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN) && !defined(Q_OS_ANDROID)
    // The platforms Qt tries in turn; it gives up only when every one fails.
    QByteArray platforms = qgetenv("QT_QPA_PLATFORM");
    if (platforms.isEmpty())
        platforms = qgetenv("XDG_SESSION_TYPE") == "wayland" ? "wayland;xcb" : "xcb";
    QStringList tried;
    for (const QByteArray &platform : platforms.split(';')) {
        const QByteArray name = platform.split(':').first();
        if (name == "xcb") {
            const QByteArray display = qgetenv("DISPLAY");
            if (display.isEmpty())
                continue;
            if (xServerAnswers(display))
                return std::nullopt;
            tried << QString::fromLocal8Bit(display);
        } else if (name.startsWith("wayland")) {
            // Where libwayland looks: a socket handed down, or one named in the runtime folder.
            const QString socket = qEnvironmentVariable("WAYLAND_DISPLAY", QStringLiteral("wayland-0"));
            if (qEnvironmentVariableIsSet("WAYLAND_SOCKET") ||
                QFileInfo::exists(QDir(qEnvironmentVariable("XDG_RUNTIME_DIR")).filePath(socket)))
                return std::nullopt;
            if (qEnvironmentVariableIsSet("WAYLAND_DISPLAY"))
                tried << socket;
        } else {
            // offscreen, vnc and the like need no display.
            return std::nullopt;
        }
    }
    return tried.join(QStringLiteral(", "));
#else
    return std::nullopt;
#endif
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

    if (const std::optional<QString> display = unreachableDisplay()) {
        write(stderr, QStringLiteral("quillary: %1\n")
                          .arg(display->isEmpty() ? QObject::tr("cannot connect to the display: no display is set")
                                                  : QObject::tr("cannot connect to the display %1").arg(*display)));
        return 1;
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
