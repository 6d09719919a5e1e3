#include "db/servernotices.h"

#include "db/serverdatabase.h"
#include "db/tracecategories.h"

#include <QSqlDatabase>

ServerNotices::ServerNotices(QObject *parent)
    : QObject(parent)
{
    // An import or another copy's paste announces every phrase; one reload answers them all.
    burst.setSingleShot(true);
    burst.setInterval(50);
    connect(&burst, &QTimer::timeout, this, [this] {
        pending = false;
        emit changed();
    });
}

void ServerNotices::setConnection(const QString &name)
{
    connection = name;
    pending = false;
    burst.stop();
    listen();
}

void ServerNotices::listen()
{
    const QSqlDatabase db = QSqlDatabase::database(connection, false);
    if (!isServerConnection(db) || !db.isOpen())
        return;
    QSqlDriver *driver = db.driver();
    // A connection opened again has forgotten what it listened to.
    if (!driver->subscribedToNotifications().contains(phraseChannel()))
        driver->subscribeToNotification(phraseChannel());
    connect(driver,
            qOverload<const QString &, QSqlDriver::NotificationSource, const QVariant &>(&QSqlDriver::notification),
            this, &ServerNotices::notified, Qt::UniqueConnection);
}

void ServerNotices::start()
{
    running = true;
    listen();
    if (pending && !burst.isActive())
        burst.start();
}

void ServerNotices::stop()
{
    running = false;
    burst.stop();
}

void ServerNotices::notified(const QString &name, QSqlDriver::NotificationSource source, const QVariant &payload)
{
    qCDebug(lcWatch) << "notified" << payload << (source == QSqlDriver::SelfSource ? "self" : "other");
    if (name != phraseChannel() || source == QSqlDriver::SelfSource)
        return;
    pending = true;
    if (running && !burst.isActive())
        burst.start();
}
