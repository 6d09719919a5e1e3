#include "db/serveraddress.h"

#include <QSqlDatabase>
#include <QUrl>

namespace {

const QLatin1String schemes[] = {QLatin1String("postgresql://"), QLatin1String("postgres://")};

QString decoded(const QString &part)
{
    return QUrl::fromPercentEncoding(part.toUtf8());
}

QString encoded(const QString &part, const QByteArray &keep = QByteArray())
{
    return QString::fromUtf8(QUrl::toPercentEncoding(part, keep));
}

// A value as libpq's key=value syntax takes it, quoted so that blanks and quotes stay in it.
QString quotedOption(const QString &key, const QString &value)
{
    QString escaped = value;
    escaped.replace(QLatin1Char('\\'), QLatin1String("\\\\")).replace(QLatin1Char('\''), QLatin1String("\\'"));
    return key + QLatin1String("='") + escaped + QLatin1Char('\'');
}

} // namespace

bool ServerAddress::isServerAddress(const QString &name)
{
    for (const QLatin1String scheme : schemes) {
        if (name.startsWith(scheme, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

ServerAddress ServerAddress::parse(const QString &uri)
{
    ServerAddress address;
    QString rest;
    for (const QLatin1String scheme : schemes) {
        if (uri.startsWith(scheme, Qt::CaseInsensitive))
            rest = uri.mid(scheme.size());
    }
    if (rest.isNull())
        return address;
    const int queryAt = rest.indexOf(QLatin1Char('?'));
    const QString query = queryAt < 0 ? QString() : rest.mid(queryAt + 1);
    rest = rest.left(queryAt < 0 ? rest.size() : queryAt);
    const int pathAt = rest.indexOf(QLatin1Char('/'));
    address.dbName = pathAt < 0 ? QString() : decoded(rest.mid(pathAt + 1));
    QString authority = rest.left(pathAt < 0 ? rest.size() : pathAt);
    const int at = authority.lastIndexOf(QLatin1Char('@'));
    if (at >= 0) {
        const QString userInfo = authority.left(at);
        authority = authority.mid(at + 1);
        const int colon = userInfo.indexOf(QLatin1Char(':'));
        address.userName = decoded(userInfo.left(colon < 0 ? userInfo.size() : colon));
        address.secret = colon < 0 ? QString() : decoded(userInfo.mid(colon + 1));
    }
    // The port follows the last colon outside an IPv6 address's brackets.
    const int colon = authority.lastIndexOf(QLatin1Char(':'));
    if (colon >= 0 && colon > authority.lastIndexOf(QLatin1Char(']'))) {
        address.portText = authority.mid(colon + 1);
        authority = authority.left(colon);
    }
    if (authority.startsWith(QLatin1Char('[')) && authority.endsWith(QLatin1Char(']')))
        authority = authority.mid(1, authority.size() - 2);
    address.hostName = decoded(authority);
    for (const QString &pair : query.split(QLatin1Char('&'), Qt::SkipEmptyParts)) {
        const int equals = pair.indexOf(QLatin1Char('='));
        const QString key = decoded(pair.left(equals < 0 ? pair.size() : equals));
        const QString value = equals < 0 ? QString() : decoded(pair.mid(equals + 1));
        if (key.isEmpty())
            return address;
        if (key == QLatin1String("password"))
            address.secret = value;
        else if (key == QLatin1String("user"))
            address.userName = value;
        else if (key == QLatin1String("dbname"))
            address.dbName = value;
        else if (key == QLatin1String("host"))
            address.hostName = value;
        else if (key == QLatin1String("port"))
            address.portText = value;
        else
            address.options << quotedOption(key, value);
    }
    bool numeric = true;
    address.portText.toInt(&numeric);
    address.valid = address.portText.isEmpty() || numeric;
    return address;
}

ServerAddress ServerAddress::withParts(const QString &host, int port, const QString &database,
                                       const QString &user) const
{
    ServerAddress address = *this;
    address.valid = true;
    address.hostName = host.trimmed();
    address.portText = port > 0 ? QString::number(port) : QString();
    address.dbName = database.trimmed();
    address.userName = user.trimmed();
    address.secret.clear();
    return address;
}

QString ServerAddress::shown() const
{
    QString uri = QStringLiteral("postgresql://");
    if (!userName.isEmpty())
        uri += encoded(userName) + QLatin1Char('@');
    // A socket folder goes into the query: a slash cannot stand in the host part.
    const bool socket = hostName.startsWith(QLatin1Char('/'));
    if (!socket)
        uri += hostName.contains(QLatin1Char(':')) ? QLatin1Char('[') + hostName + QLatin1Char(']')
                                                   : encoded(hostName, ",");
    if (!portText.isEmpty())
        uri += QLatin1Char(':') + portText;
    uri += QLatin1Char('/') + encoded(dbName);
    QStringList query;
    if (socket)
        query << QStringLiteral("host=") + encoded(hostName, "/");
    for (const QString &option : options) {
        const int equals = option.indexOf(QLatin1Char('='));
        QString value = option.mid(equals + 2).chopped(1);
        value.replace(QLatin1String("\\'"), QLatin1String("'")).replace(QLatin1String("\\\\"), QLatin1String("\\"));
        query << encoded(option.left(equals)) + QLatin1Char('=') + encoded(value);
    }
    if (!query.isEmpty())
        uri += QLatin1Char('?') + query.join(QLatin1Char('&'));
    return uri;
}

void ServerAddress::applyTo(QSqlDatabase &db) const
{
    db.setHostName(hostName);
    db.setPort(portText.isEmpty() ? -1 : portText.toInt());
    db.setDatabaseName(dbName);
    db.setUserName(userName);
    db.setPassword(secret);
    // The driver joins its options with blanks into libpq's key=value string.
    db.setConnectOptions(options.join(QLatin1Char(';')));
}
