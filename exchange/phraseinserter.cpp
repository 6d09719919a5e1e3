#include "exchange/phraseinserter.h"

#include "exchange/importreport.h"

#include <QObject>

PhraseInserter::PhraseInserter()
{
    failed = !store.begin(&failure);
}

PhraseInserter::~PhraseInserter()
{
    store.rollback();
}

bool PhraseInserter::add(const PhraseRecord &record)
{
    if (failed)
        return false;
    ++read;
    failed = !store.add(record, &failure);
    return !failed;
}

int PhraseInserter::finish(ImportReport *report)
{
    if (!failed)
        failed = !store.commit(&failure);
    const int stored = failed ? 0 : read;
    if (report) {
        report->error = failed
                            ? QObject::tr("%n phrase(s) were read, none of them was stored: %1", "", read).arg(failure)
                            : QString();
    }
    return stored;
}
