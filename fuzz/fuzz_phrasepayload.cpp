#include "browser/phrasepayload.h"

// Whatever the clipboard holds, what is decoded must encode and decode to the same records.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray payload = QByteArray::fromRawData(reinterpret_cast<const char *>(data), int(size));
    const QByteArray once = encodePhraseRecords(decodePhraseRecords(payload));
    if (encodePhraseRecords(decodePhraseRecords(once)) != once)
        qFatal("fuzz_phrasepayload: records changed on a second round");
    return 0;
}
