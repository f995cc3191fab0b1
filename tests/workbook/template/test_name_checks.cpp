// Workbooks whose names were redefined elsewhere (shrunk, moved, missing, on another sheet): opening
// one must end in a message naming what is wrong, never in a recalculation reading past a block.
#include "../../support/reset_test.h"
#include "template_fixture.h"
#include "workbook/macros.h"
#include "workbook/state.h"

#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

struct Damage {
    const char* what;
    std::function<void(xl::Workbook&)> edit;
    QStringList said;   // parts of the message
};

void redefine(xl::Workbook& book, const QString& name, const QString& sheet, const QString& address)
{
    xl::Worksheet& ws = book.worksheets(sheet);
    book.defineName(name, ws.range(address), &ws);
}

const Damage kDamages[] = {
    {"derived row shrunk",
     [](xl::Workbook& b) { redefine(b, u"休日調査"_s, u"スケジュール"_s, u"E2:H2"_s); },
     {u"名前 \"休日調査\" が スケジュール!$E$2:$H$2 (1 行 4 列) を指しています"_s,
      u"スケジュール!$E$2:$AI$2 (1 行 31 列) のはずです"_s}},
    {"type table narrowed",
     [](xl::Workbook& b) { redefine(b, u"Type_Table_Input"_s, u"基本設定"_s, u"B5:C14"_s); },
     {u"名前 \"Type_Table_Input\""_s, u"(10 行 2 列)"_s}},
    {"roster moved down a row",
     [](xl::Workbook& b) { redefine(b, u"Member_List"_s, u"スケジュール"_s, u"B6:D55"_s); },
     {u"スケジュール!$B$6:$D$55 (50 行 3 列) を指しています"_s, u"スケジュール!$B$5:$D$54 (50 行 3 列) のはずです"_s}},
    {"sheet name points to another sheet",
     [](xl::Workbook& b) {
         b.deleteName(u"Need_Table"_s, &b.worksheets(u"要員設定"_s));
         b.defineName(u"Need_Table"_s, b.worksheets(u"Main"_s).range(u"D5:AH14"_s));
     },
     {u"名前 \"Need_Table\" が Main!$D$5:$AH$14"_s, u"要員設定!$D$5:$AH$14 (10 行 31 列) のはずです"_s}},
    {"workbook name missing",
     [](xl::Workbook& b) { b.deleteName(u"先月_結果"_s); },
     {u"名前 \"先月_結果\" がないか、セル範囲を指していません"_s}},
    {"workbook name hidden by a smaller one of its sheet",
     [](xl::Workbook& b) { redefine(b, u"過去計"_s, u"人員配置表"_s, u"CC5:CO6"_s); },
     {u"名前 \"過去計\" が 人員配置表!$CC$5:$CO$6"_s}},
    {"sheet renamed",
     [](xl::Workbook& b) { b.worksheets(u"予約表"_s).setName(u"予約"_s); },
     {u"シート \"予約表\" がありません"_s}},
};

void PrintTo(const Damage& d, std::ostream* os)
{
    *os << d.what;
}

class DamagedNames : public ResetTest<resetWorkbookState>, public testing::WithParamInterface<Damage> {};

// The names are edited in a copy opened without the program's code, as in another spreadsheet
// program, and the saved file is opened again.
TEST_P(DamagedNames, OpeningSaysWhatIsWrongAndInstallsNothing)
{
    QTemporaryDir dir;
    const QString sound = dir.filePath(u"sound.xlsm"_s), path = dir.filePath(u"shift.xlsm"_s);
    {
        // Shifts on every day, so that the totals read every day's column of every block.
        testwb::Book b;
        b.sheet(u"人員配置表"_s).range(u"D5:AH5"_s).setValue(u"日"_s);
        b.book->saveAs(sound);
    }
    {
        xl::Application elsewhere;
        xl::Workbook& copy = elsewhere.workbooks().open(sound);
        GetParam().edit(copy);
        copy.saveAs(path);
    }
    xl::Application app;
    xl::Workbook& book = app.workbooks().open(path);
    try {
        workbook::attach(book);
        FAIL() << "attached";
    } catch (const xl::Error& e) {
        EXPECT_EQ(e.number, 1004);
        EXPECT_TRUE(e.description.startsWith(u"'%1' は壊れているため開けません: "_s.arg(path))) << e.description.toStdString();
        for (const QString& part : GetParam().said)
            EXPECT_TRUE(e.description.contains(part)) << e.description.toStdString() << "\n" << part.toStdString();
    }
    // Nothing was installed: no formulas to run over the damaged blocks, no macros.
    book.worksheets(u"Main"_s).range(u"年"_s).setValue(2027.0);
    book.calculate();
    EXPECT_THROW(book.runMacro(u"勤務Clear"_s), xl::Error);
}

INSTANTIATE_TEST_SUITE_P(Names, DamagedNames, testing::ValuesIn(kDamages),
                         [](const testing::TestParamInfo<Damage>& i) { return "case" + std::to_string(i.index); });

}  // namespace
