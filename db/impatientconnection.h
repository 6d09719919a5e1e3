#ifndef IMPATIENTCONNECTION_H
#define IMPATIENTCONNECTION_H

#include <QSqlDatabase>
#include <QString>

// While it lives, a statement on the connection fails at once on another copy's lock
// instead of waiting out the busy timeout: for looks the window must not freeze on.
class ImpatientConnection
{
public:
    explicit ImpatientConnection(const QSqlDatabase &db);
    ~ImpatientConnection();
    ImpatientConnection(const ImpatientConnection &) = delete;
    ImpatientConnection &operator=(const ImpatientConnection &) = delete;

    // Whether the connection's timeout was read, and so will be put back.
    bool isReady() const { return !timeout.isEmpty(); }

private:
    QSqlDatabase db;
    QString timeout;
};

#endif // IMPATIENTCONNECTION_H
