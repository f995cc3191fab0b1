// The condition file reader over any bytes: it accepts a file or gives a reason, nothing else.
#include "workbook/condfile.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    condfile::ConditionFile file;
    const condfile::Status st = condfile::parse(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)), file);
    if (!st.ok && st.error.isEmpty())
        std::abort();  // a refusal must say why
    return 0;
}
