#include "exchange/inireader.h"
#include "fuzzdatabase.h"

// Both forms: a first line ending in CR CR LF selects the section form.
extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    setUpFuzzing();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    ImportReport report;
    const int stored = importIni(writeFuzzFile("ini", data, size), &report);
    if (stored < 0 || report.refused != 0)
        std::abort();
    emptyPhraseTable();
    return 0;
}
