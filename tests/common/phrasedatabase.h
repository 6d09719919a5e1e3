#ifndef PHRASEDATABASE_H
#define PHRASEDATABASE_H

#include "sqlscript.h"

#include <QtSql>

// Phrase databases for the tests, made by the same script as the shipped empty template, new.db.
namespace PhraseDatabase {

inline bool build(QSqlDatabase &db)
{
    QString error;
    const bool built = runSqlScript(db, QStringLiteral(QUILLARY_TEMPLATE_DIR "/schema.sql"), &error);
    if (!built)
        qWarning("%s", qPrintable(error));
    return built;
}

// A new file at `path`, readable and writable by its owner only, as a copied template would be.
inline bool create(const QString &path)
{
    const QString connection = QStringLiteral("phrasedatabase-create");
    bool built = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(path);
        built = !QFile::exists(path) && db.open() && db.transaction() && build(db) && db.commit();
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
    return built && QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
}

} // namespace PhraseDatabase

#endif // PHRASEDATABASE_H
