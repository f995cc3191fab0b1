// The condition file reader over any bytes: it accepts a file or gives a reason, nothing else.
#include "workbook/condition_file.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    condition_file::ConditionFile file;
    const condition_file::Status st = condition_file::parse(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)), file);
    if (!st.ok && st.error.isEmpty())
        std::abort();  // a refusal must say why
    return 0;
}
