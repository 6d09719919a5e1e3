#ifndef SERVERADDRESS_H
#define SERVERADDRESS_H

#include <QString>
#include <QStringList>

class QSqlDatabase;

// A PostgreSQL server database named by a libpq connection URI:
// postgresql://[user[:password]@][host][:port][/dbname][?key=value&...]
class ServerAddress
{
public:
    // Whether name is such a URI rather than the path of a database file.
    static bool isServerAddress(const QString &name);
    // Reads a URI; isValid() tells whether it was one.
    static ServerAddress parse(const QString &uri);
    // This address with the fields a user fills in, its options (TLS and the like) kept and
    // its password dropped. A blank field is left to libpq's defaults; port 0 too.
    ServerAddress withParts(const QString &host, int port, const QString &database, const QString &user) const;

    bool isValid() const { return valid; }
    // The URI without its password: what the title shows and the settings keep.
    QString shown() const;
    QString password() const { return secret; }
    QString host() const { return hostName; }
    int port() const { return portText.toInt(); }
    QString database() const { return dbName; }
    QString user() const { return userName; }
    // Sets the connection's host, port, database, user, password and options.
    void applyTo(QSqlDatabase &db) const;

private:
    bool valid = false;
    QString hostName;
    QString portText;
    QString dbName;
    QString userName;
    QString secret;
    // key=value pairs of the query, sslmode among them, in the order given.
    QStringList options;
};

#endif // SERVERADDRESS_H
