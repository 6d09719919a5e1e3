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
#include <QSettings>
#include <QSplashScreen>
#include <QTranslator>

#include <cstdio>
#include <optional>

#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#endif

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

// The command line's texts in the language of the settings, while the application object lives. The
// window loads its own, which follow the language menu.
class Translations
{
public:
    Translations()
    {
        const QString language =
            QSettings(organizationName, applicationName).value(QStringLiteral("Settings/Language")).toString();
        if (language.isEmpty())
            return;
        const QString folder = programDataFolder() + QStringLiteral("/translations");
        if (program.load(QStringLiteral("Quillary_") + language, folder, QString(), QString()))
            QCoreApplication::installTranslator(&program);
        if (qt.load(QStringLiteral("QtBase_") + language, folder, QString(), QString()))
            QCoreApplication::installTranslator(&qt);
    }

private:
    QTranslator program;
    QTranslator qt;
};

} // namespace

int main(int argc, char *argv[])
{
    CommandLine line;
    {
        // The command decides which application object the program needs. This one reads
        // the arguments as the system hands them over (on Windows, as UTF-16) and runs
        // what needs no window, in the language the window was last set to.
        const QCoreApplication core(argc, argv);
        const Translations translations;
        line = CommandLine::parse(QCoreApplication::arguments());
        switch (line.command) {
        case CommandLine::Version:
            write(stdout, applicationName + QLatin1Char(' ') + appVersion + QLatin1Char('\n'));
            return 0;
        case CommandLine::UsageError:
            write(stderr, CommandLine::usageLine(line.error) + QLatin1Char('\n'));
            return 2;
        default:
            break;
        }
        if (line.isHeadless()) {
#ifdef Q_OS_WIN
            // Texts and files pass byte for byte, with no CR added before a line break or taken from one.
            _setmode(_fileno(stdin), _O_BINARY);
            _setmode(_fileno(stdout), _O_BINARY);
#endif
            QFile in, out, err;
            out.open(stdout, QIODevice::WriteOnly | QIODevice::Unbuffered);
            err.open(stderr, QIODevice::WriteOnly | QIODevice::Unbuffered);
            return CommandRunner(&out, &err, in.open(stdin, QIODevice::ReadOnly) ? &in : nullptr).run(line);
        }
        // Handing a search to the running copy needs no display.
        if (line.command == CommandLine::Find && SummonChannel::sendToRunningCopy(line.text))
            return 0;
        if (line.command != CommandLine::Help) {
            if (const std::optional<QString> display = unreachableDisplay()) {
                write(stderr,
                      QStringLiteral("quillary: %1\n")
                          .arg(display->isEmpty() ? QObject::tr("Cannot connect to the display: no display is set.")
                                                  : QObject::tr("Cannot connect to the display %1.").arg(*display)));
                return 1;
            }
        }
    }
    if (line.command == CommandLine::Help) {
        // The help names the program as typed, not by the path it was started from.
        char name[] = "quillary";
        char *nameOnly[] = {name, nullptr};
        int one = 1;
        const QCoreApplication app(one, nameOnly);
        const Translations translations;
        write(stdout, CommandLine::helpText());
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
