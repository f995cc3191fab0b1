#pragma once
// What the tests of the program's layers share: the sample work folders and QStrings printed as
// text in failure messages. Each fixture resets the program's globals with its layer's reset.
#include "engine/conditions.h"
#include "engine/model.h"
#include "platform/ui/prompt.h"
#include "sample_book.h"
#include "shell/globals.h"
#include "shell/excel_layer.h"
#include "shell/myfunc_main.h"
#include "shell/rs_db.h"
#include "text.h"

#include <QString>
#include <QStringList>

// Sample condition files, relative to the source tree.
inline const char* const kGeneral = "examples/シフト表作成/条件.csv";
inline const char* const kCare = "examples/作成例1/条件.csv";
inline const char* const kLarge = "examples/作成例2/条件.csv";

// A sample's conditions opened into a fresh workbook, with two work days of room for every
// member, and read into the model, the table left as read (reservations only); false when the
// reading showed a message.
inline bool loadSampleModel(const char* relativeFile)
{
    xl::Workbook* book = nullptr;
    if (!openSampleBook(sourceFile(relativeFile), &book).ok)
        return false;
    giveWorkDayRoom(*book, 2);
    全条件読込(-1);
    return ui::shownMessages().empty();
}

// Titles of the message boxes shown so far, the first first.
inline QStringList shownTitles()
{
    QStringList titles;
    for (const ui::MessageRequest& r : ui::shownMessages())
        titles << r.title;
    return titles;
}
