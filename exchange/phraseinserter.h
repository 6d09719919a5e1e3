#ifndef PHRASEINSERTER_H
#define PHRASEINSERTER_H

#include "db/phrasestore.h"

struct ImportReport;

// Stores the phrases of one import on the default connection in one transaction:
// a single commit instead of one per phrase is what makes a large import take
// seconds rather than minutes. All or nothing: the first phrase the database
// refuses ends the import and takes back every phrase it added.
class PhraseInserter
{
public:
    PhraseInserter();
    ~PhraseInserter();
    PhraseInserter(const PhraseInserter &) = delete;
    PhraseInserter &operator=(const PhraseInserter &) = delete;

    // False once the import has failed; the reader then stops reading.
    bool add(const PhraseRecord &record);
    // Commits and returns the number of phrases stored, 0 after a failure, which
    // the report then explains.
    int finish(ImportReport *report);

private:
    PhraseStore store;
    bool failed = false;
    int read = 0;
    QString failure;
};

#endif // PHRASEINSERTER_H
