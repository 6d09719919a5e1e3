#include "browser/phrasepayload.h"
#include "fuzzdatabase.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    setUpFuzzing();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray payload = QByteArray::fromRawData(reinterpret_cast<const char *>(data), int(size));
    // Decoding what was encoded must give the same records back.
    const QVector<PhraseRecord> records = decodePhraseRecords(payload);
    const QVector<PhraseRecord> again = decodePhraseRecords(encodePhraseRecords(records));
    if (again.size() != records.size())
        std::abort();
    for (int i = 0; i < records.size(); ++i) {
        const PhraseRecord &a = records.at(i);
        const PhraseRecord &b = again.at(i);
        if (a.str != b.str || a.labels != b.labels || a.keyWord != b.keyWord || a.hotKey != b.hotKey ||
            a.html != b.html || a.rating != b.rating || a.frequency != b.frequency)
            std::abort();
    }
    return 0;
}
