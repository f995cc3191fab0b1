#include "template_fixture.h"

using namespace Qt::StringLiterals;

namespace testwb {

Book::Book()
{
    book = &workbook::createTemplate(*app, QDate(2026, 4, 1));
    xl::Worksheet& basic = sheet(u"基本設定"_s);
    const char16_t* types[3][2] = {{u"日勤", u"日"}, {u"準夜", u"準"}, {u"深夜", u"深"}};
    const double hours[3] = {8, 8, 8};
    const double colours[3] = {34, 36, 38};
    for (int t = 0; t < 3; ++t) {
        xl::Range row = basic.range(u"Type_Table_Input"_s);
        row.cells(t + 1, 1).setValue(QString::fromUtf16(types[t][0]));
        row.cells(t + 1, 2).setValue(QString::fromUtf16(types[t][1]));
        row.cells(t + 1, 7).setValue(hours[t]);
        row.cells(t + 1, 9).setValue(colours[t]);
    }
    xl::Range members = sheet(u"スケジュール"_s).range(u"Member_List"_s);
    const char16_t* names[4] = {u"青木", u"井上", u"上田", u"遠藤"};
    for (int i = 0; i < 4; ++i) {
        members.cells(i + 1, 1).setValue(double(101 + i));
        members.cells(i + 1, 2).setValue(QString::fromUtf16(names[i]));
        members.cells(i + 1, 3).setValue(i < 2 ? u"主任"_s : u"看護師"_s);
    }
}

double Book::number(const QString& sheetName, const QString& name)
{
    return value(sheetName, name).toDouble();
}

}  // namespace testwb
