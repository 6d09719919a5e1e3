#include "app/globals.h"
#include "app/quillary.h"

#include <QApplication>
#include <QPixmap>
#include <QSplashScreen>

int main(int argc, char *argv[])
{
    Q_INIT_RESOURCE(images);
    QApplication app(argc, argv);

    const QPixmap pixmap(QStringLiteral(":/images/splash.png"));
    splash = new QSplashScreen(pixmap, Qt::WindowStaysOnTopHint);
    splash->show();

    Quillary window;
    return app.exec();
}
