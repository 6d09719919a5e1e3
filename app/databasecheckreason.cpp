#include "app/databasecheckreason.h"

#include "db/databasefile.h"

#include <QObject>

DatabaseCheckReason describe(DatabaseCheck check, const QString &error)
{
    switch (check) {
    case DatabaseCheck::Ok:
        break;
    case DatabaseCheck::CannotOpen:
        return {false, false, error};
    case DatabaseCheck::NoPhraseTable:
        // A view of that name comes with words of its own.
        return {true, error.isEmpty(), error};
    case DatabaseCheck::PasswordNeeded:
        return {false, false, error};
    case DatabaseCheck::IdNotIntegerKey:
        return {true, false, error};
    case DatabaseCheck::MissingColumns:
        return {true, false, QObject::tr("the phrase table lacks the columns %1.").arg(error)};
    }
    return {};
}
