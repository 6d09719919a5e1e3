#include "app/abouttext.h"

#include "app/globals.h"

#include <QObject>

QString aboutText(const QString &language)
{
    const bool russian = language == QStringLiteral("ru");
    const QString webPage =
        russian ? QStringLiteral("https://quillary.example.org/ru/") : QStringLiteral("https://quillary.example.org/");
    const QString supportPage = russian ? QStringLiteral("https://quillary.example.org/ru/support/")
                                        : QStringLiteral("https://quillary.example.org/support/");
    const QString siteName =
        russian ? QStringLiteral("quillary.example.org/ru") : QStringLiteral("quillary.example.org");
    static const QString notice = QStringLiteral("Copyright &copy; 2026 Tamberlane. All rights reserved.");

    const QString support = QObject::tr("Support");
    const QString programPage = QObject::tr("The program web page");
    const QString web = QObject::tr("Web");
    const QString version = QObject::tr("Version");

    return QStringLiteral("<h1>") + applicationName + QStringLiteral("™</h1>") +
           QStringLiteral("<p align=\"center\">") + version + QLatin1Char(' ') + appVersion + QStringLiteral("</p>") +
           QStringLiteral("<table border=\"0\" width=\"100%\">") + QStringLiteral("<tr><td align=\"right\">") + web +
           QStringLiteral(":</td><td><a href=\"") + webPage + QStringLiteral("\">") + programPage +
           QStringLiteral("</a></td></tr>") + QStringLiteral("<tr><td align=\"right\">") + support +
           QStringLiteral(":</td><td><a href=\"") + supportPage + QStringLiteral("\">") + siteName +
           QStringLiteral("</a></td></tr>") + QStringLiteral("</tr></table>") + QStringLiteral("<p align=\"center\">") +
           notice + QStringLiteral("</p>");
}
