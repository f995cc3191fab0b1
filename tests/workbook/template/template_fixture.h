#pragma once
// A template workbook with a small condition set: three shift types, four members, April 2026.
#include "platform/xl/xl.h"
#include "workbook/template.h"

#include <QString>
#include <QVariant>
#include <memory>

namespace testwb {

struct Book {
    std::unique_ptr<xl::Application> app = std::make_unique<xl::Application>();
    xl::Workbook* book = nullptr;

    Book();
    xl::Worksheet& sheet(const QString& name) { return book->worksheets(name); }
    xl::Range range(const QString& sheetName, const QString& name) { return sheet(sheetName).range(name); }
    QVariant value(const QString& sheetName, const QString& name) { return range(sheetName, name).value(); }
    double number(const QString& sheetName, const QString& name);
    void set(const QString& sheetName, const QString& address, const QVariant& v)
    {
        sheet(sheetName).range(address).setValue(v);
    }
};

}  // namespace testwb
