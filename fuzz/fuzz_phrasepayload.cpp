#include "browser/phrasepayload.h"

#include <cstdlib>

// Whatever the clipboard holds, what is decoded must encode and decode to the same records.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray payload = QByteArray::fromRawData(reinterpret_cast<const char *>(data), int(size));
    const QByteArray once = encodePhraseRecords(decodePhraseRecords(payload));
    if (encodePhraseRecords(decodePhraseRecords(once)) != once)
        std::abort();
    return 0;
}
