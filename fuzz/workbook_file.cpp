// The workbook file reader over any bytes: a damaged file is refused with xl::Error and leaves
// nothing open; nothing else may happen to it.
#include "fuzz_support.h"
#include "platform/xl/xl.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = fuzz::inputFile(data, size, QStringLiteral("input.xlsx"));
    xl::Application app;
    try {
        app.workbooks().open(path);
    } catch (const xl::Error&) {
        if (app.activeWorkbook())
            std::abort();
    }
    return 0;
}
