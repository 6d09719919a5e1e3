#include "exchange/phraseinserter.h"

#include "exchange/importreport.h"

#include <QObject>
#include <QSqlError>

PhraseInserter::PhraseInserter(const QString &statement)
    : db(QSqlDatabase::database())
    , statementQuery(db)
{
    ready = statementQuery.prepare(statement);
    if (!ready) {
        failure = QObject::tr("The phrases cannot be stored: %1").arg(statementQuery.lastError().text());
        return;
    }
    // Inside a transaction somebody else began, the phrases simply become part of it.
    ownTransaction = db.transaction();
}

PhraseInserter::~PhraseInserter()
{
    if (!finished && ownTransaction)
        db.rollback();
}

void PhraseInserter::exec()
{
    // A trigger may drop a row without an error; only a row that arrived counts.
    if (statementQuery.exec() && statementQuery.numRowsAffected() > 0) {
        ++stored;
        return;
    }
    if (refused++ == 0)
        firstRefusal = statementQuery.lastError().text();
}

int PhraseInserter::finish(ImportReport *report)
{
    finished = true;
    statementQuery.finish();
    if (ownTransaction && !db.commit()) {
        failure = QObject::tr("The imported phrases could not be saved: %1").arg(db.lastError().text());
        db.rollback();
        stored = 0;
    }
    if (report) {
        report->stored = stored;
        report->refused = refused;
        if (!failure.isEmpty())
            report->error = failure;
        else if (refused > 0)
            report->error = QObject::tr("%n phrase(s) could not be stored: %1", "", refused).arg(firstRefusal);
        else
            report->error.clear();
    }
    return stored;
}
