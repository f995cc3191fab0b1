// The condition reading over a workbook that any condition file has filled: the file is loaded
// into a fresh template as 条件読込 does, and when the load accepts it, the whole condition set is
// read into the model. Bad input gives a message box, never a fault.
#include "fuzz_support.h"

#include "engine/conditions.h"
#include "engine/model.h"
#include "engine/start_conditions.h"
#include "platform/ui/prompt.h"
#include "shell/globals.h"
#include "shell/excel_layer.h"
#include "workbook/condition_file.h"
#include "workbook/template.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // A file the reader refuses never reaches a book: checking first spares building one.
    condition_file::ConditionFile parsed;
    if (!condition_file::parse(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)), parsed).ok)
        return 0;
    const QString path = fuzz::inputFile(data, size, QStringLiteral("条件.csv"));
    resetShellGlobals();
    AppPath = stWorkPath = stDbPath = fuzz::scratchFolder();
    resetXlGlobals();
    resetConditionModel();
    ui::resetMessages();

    xl::Workbook& book = workbook::createTemplate(XlApp(), QDate(2027, 1, 1));
    if (condition_file::loadConditions(book, path).ok) {
        xlBook = &book;
        stBookName = book.name();
        // The period as start-up reads it from sheet Main.
        readPeriodSettings();
        全条件読込(-1);
    }
    resetXlGlobals();
    return 0;
}
