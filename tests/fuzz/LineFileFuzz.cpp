// Line files come from disk and may hold any bytes: reading them must never crash, and
// what is read must write back and read again as the same lines.
#include "base/AppError.h"
#include "base/LineFile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QStringList lines = tevuna::linefile::split(bytes);
    if (tevuna::linefile::split(tevuna::linefile::join(lines)) != lines)
        std::abort();
    for (qsizetype i = 0; i <= lines.size(); ++i) {
        try {
            tevuna::strToInt(tevuna::lineAt(lines, i));
        } catch (const tevuna::AppError &) {
        }
    }
    return 0;
}
