#ifndef PHRASEINSERTER_H
#define PHRASEINSERTER_H

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>

struct ImportReport;

// Stores the phrases of one import on the default connection: one prepared
// statement, one transaction. A single commit instead of one per phrase is what
// makes a large import take seconds rather than minutes.
class PhraseInserter
{
public:
    explicit PhraseInserter(const QString &statement);
    ~PhraseInserter();
    PhraseInserter(const PhraseInserter &) = delete;
    PhraseInserter &operator=(const PhraseInserter &) = delete;

    bool isReady() const { return ready; }
    // Bind the values here, then call exec().
    QSqlQuery &query() { return statementQuery; }
    // A phrase the database refuses is counted and skipped; the import goes on.
    void exec();
    // Commits and returns the number of phrases stored. When the commit fails,
    // everything is rolled back, so that count is 0 and the report says why.
    int finish(ImportReport *report);

private:
    QSqlDatabase db;
    QSqlQuery statementQuery;
    bool ready = false;
    bool ownTransaction = false;
    bool finished = false;
    int stored = 0;
    int refused = 0;
    QString firstRefusal;
    QString failure;
};

#endif // PHRASEINSERTER_H
