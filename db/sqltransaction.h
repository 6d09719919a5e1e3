#ifndef SQLTRANSACTION_H
#define SQLTRANSACTION_H

#include "db/sqlerrortext.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QString>

// Rolls back unless committed, so that no early return leaves a transaction open.
class SqlTransaction
{
public:
    explicit SqlTransaction(QSqlDatabase db)
        : db(std::move(db))
    {
        open = this->db.transaction();
    }
    ~SqlTransaction()
    {
        if (open)
            db.rollback();
    }
    bool began(QString *error) const
    {
        if (!open && error)
            *error = sqlErrorText(db.lastError());
        return open;
    }
    bool commit(QString *error)
    {
        if (db.commit()) {
            open = false;
            return true;
        }
        if (error)
            *error = sqlErrorText(db.lastError());
        return false;
    }

private:
    QSqlDatabase db;
    bool open = false;
};

#endif // SQLTRANSACTION_H
