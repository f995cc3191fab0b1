#pragma once
// A new workbook of its own Application, and the number of the error a call raises.
#include "platform/xl/xl.h"

#include <gtest/gtest.h>
#include <functional>

// 0 when the call raises nothing.
inline int errorNumber(const std::function<void()>& f)
{
    try {
        f();
    } catch (const xl::Error& e) {
        return e.number;
    }
    return 0;
}

struct BookTest : ::testing::Test {
    xl::Application app;
    xl::Workbook& book = app.workbooks().add();
    xl::Worksheet& ws = book.worksheets(1);
    xl::Range at(const char* a) { return ws.range(QString::fromUtf8(a)); }
};
