#include "exchange/txtreader.h"
#include "fuzzdatabase.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    setUpFuzzing();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    ImportReport report;
    const int stored = importTxt(writeFuzzFile("txt", data, size), &report);
    // Every record of a readable file goes into the table; nothing refuses it here.
    if (stored < 0 || report.refused != 0)
        std::abort();
    emptyPhraseTable();
    return 0;
}
