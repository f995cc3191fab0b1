// Addresses, sheet and name lookup of the spreadsheet model.
#include "model_fixture.h"
#include "platform/xl/address.h"

namespace {

struct Names : BookTest {
    xl::Worksheet& main = ws;
    xl::Worksheet& setup = book.addSheet(QStringLiteral("基本設定"));
    void SetUp() override { main.setName(QStringLiteral("Main")); }
};

TEST(Address, ParsesAndWritesBackEveryForm)
{
    struct Case {
        const char* text;
        xl::Area area;
        const char* address;
    } cases[] = {
        {"A1", {1, 1, 1, 1}, "$A$1"},
        {"$d$5", {5, 4, 5, 4}, "$D$5"},
        {"B2:K12", {2, 2, 12, 11}, "$B$2:$K$12"},
        {"K12:B2", {2, 2, 12, 11}, "$B$2:$K$12"},
        {"B:AZ", {1, 2, xl::kMaxRows, 52}, "$B:$AZ"},
        {"$3:$5", {3, 1, 5, xl::kMaxColumns}, "$3:$5"},
        {"XFD1048576", {xl::kMaxRows, xl::kMaxColumns, xl::kMaxRows, xl::kMaxColumns}, "$XFD$1048576"},
    };
    for (const Case& c : cases) {
        const auto area = xl::parseArea(QString::fromUtf8(c.text));
        ASSERT_TRUE(area) << c.text;
        EXPECT_EQ(*area, c.area) << c.text;
        EXPECT_EQ(xl::areaAddress(*area), QString::fromUtf8(c.address)) << c.text;
    }
    for (const char* bad : {"", "A", "1", "A0", "XFE1", "A1048577", "A1:", "Day_Cnt", "SelRow", "A1B", "$$A1"})
        EXPECT_FALSE(xl::parseArea(QString::fromUtf8(bad))) << bad;
    // Letters across each wrap, both ways; column 0 has none.
    const std::pair<int, const char*> letters[] = {{1, "A"},    {26, "Z"},   {27, "AA"},  {52, "AZ"},
                                                   {53, "BA"},  {702, "ZZ"}, {703, "AAA"}, {16384, "XFD"}};
    for (const auto& [n, l] : letters) {
        EXPECT_EQ(xl::columnLetters(n), QLatin1String(l)) << n;
        EXPECT_EQ(xl::columnNumber(QString::fromLatin1(l).toLower()), n) << l;
    }
    EXPECT_EQ(xl::columnLetters(0), QString());
}

TEST(Address, SplitsAndQuotesSheetNames)
{
    const xl::SheetRef quoted = xl::splitSheetRef(QStringLiteral("='It''s Mine'!$A$1"));
    EXPECT_EQ(quoted.sheet, QStringLiteral("It's Mine"));
    EXPECT_EQ(quoted.rest, QStringLiteral("$A$1"));
    EXPECT_EQ(xl::quoteSheetName(QStringLiteral("基本設定")), QStringLiteral("基本設定"));
    EXPECT_EQ(xl::quoteSheetName(QStringLiteral("期間データ 2024")), QStringLiteral("'期間データ 2024'"));
    EXPECT_EQ(xl::quoteSheetName(QStringLiteral("It's")), QStringLiteral("'It''s'"));
}

TEST_F(Names, RangesCellsOffsetsAndResize)
{
    const xl::Range d5 = main.range(QStringLiteral("D5"));
    EXPECT_EQ(d5.offset(49, 30).address(), QStringLiteral("$AH$54"));
    const xl::Range grid = d5.resize(50, 31);
    EXPECT_EQ(grid.rowCount(), 50);
    EXPECT_EQ(grid.columnCount(), 31);
    EXPECT_EQ(grid.cells(2, 3).address(), QStringLiteral("$F$6"));
    EXPECT_EQ(grid.cells(51, 1).address(), QStringLiteral("$D$55"));   // beyond the range is fine
    EXPECT_EQ(main.cells(3, 4).address(), d5.offset(-2, 0).address());
    EXPECT_EQ(main.range(main.cells(9, 2), d5).address(), QStringLiteral("$B$5:$D$9"));
    const xl::Range columns = main.range(QStringLiteral("B:AZ"));
    EXPECT_EQ(columns.columnCount(), 51);
    EXPECT_EQ(columns.rowCount(), xl::kMaxRows);

    EXPECT_EQ(errorNumber([&] { main.cells(0, 1); }), 1004);
    EXPECT_EQ(errorNumber([&] { main.cells(1, xl::kMaxColumns + 1); }), 1004);
    EXPECT_EQ(errorNumber([&] { d5.offset(-5, 0); }), 1004);
    EXPECT_EQ(errorNumber([&] { d5.resize(0, 1); }), 1004);
    EXPECT_EQ(errorNumber([&] { main.range(QStringLiteral("A1:")); }), 1004);
    EXPECT_EQ(errorNumber([&] { main.range(QStringLiteral("基本設定!A1")); }), 1004);
    EXPECT_EQ(&main.range(QStringLiteral("main!B2")).parent(), &main);
}

TEST_F(Names, SheetsAreFoundIgnoringCaseAndRenamesAreChecked)
{
    EXPECT_EQ(&book.worksheets(QStringLiteral("main")), &main);
    EXPECT_EQ(&book.sheets(QStringLiteral("MAIN")), &main);
    EXPECT_EQ(&book.worksheets(2), &setup);
    EXPECT_EQ(&app.worksheets(QStringLiteral("Main")), &main);
    EXPECT_EQ(errorNumber([&] { book.worksheets(QStringLiteral("nothing")); }), 9);
    EXPECT_EQ(errorNumber([&] { book.worksheets(3); }), 9);
    for (const char* bad : {"", "a:b", "a/b", "a[1]", "12345678901234567890123456789012", "MAIN", "'quoted'"})
        EXPECT_EQ(errorNumber([&] { setup.setName(QString::fromUtf8(bad)); }), 1004) << bad;
    EXPECT_EQ(setup.name(), QStringLiteral("基本設定"));
    main.setName(QStringLiteral("main"));   // a sheet may change the case of its own name
    EXPECT_EQ(main.name(), QStringLiteral("main"));
}

TEST_F(Names, SheetAndWorkbookScopes)
{
    book.defineName(QStringLiteral("Type_Cnt"), setup.range(QStringLiteral("B3")), &setup);
    book.defineName(QStringLiteral("Time_Table"), main.range(QStringLiteral("D5:AH54")));
    book.defineName(QStringLiteral("最適化比重"), setup.range(QStringLiteral("C20:Q20")));
    book.defineName(QStringLiteral("Dirty"), main.range(QStringLiteral("A1")), &main);

    // Way S: the name must resolve on the given sheet.
    EXPECT_EQ(setup.range(QStringLiteral("type_cnt")).address(), QStringLiteral("$B$3"));
    EXPECT_EQ(main.range(QStringLiteral("Time_table")).address(), QStringLiteral("$D$5:$AH$54"));
    EXPECT_EQ(setup.range(QStringLiteral("最適化比重")).columnCount(), 15);
    EXPECT_EQ(errorNumber([&] { main.range(QStringLiteral("Type_Cnt")); }), 1004);     // another sheet's own
    EXPECT_EQ(errorNumber([&] { setup.range(QStringLiteral("Time_Table")); }), 1004);  // refers to Main
    // Way A: only workbook-level names through the Application.
    EXPECT_EQ(app.range(QStringLiteral("最適化比重")).address(), QStringLiteral("$C$20:$Q$20"));
    EXPECT_EQ(errorNumber([&] { app.range(QStringLiteral("Type_Cnt")); }), 1004);
    EXPECT_EQ(&app.range(QStringLiteral("基本設定!B3")).parent(), &setup);

    EXPECT_EQ(main.range(QStringLiteral("D5:AH54")).name(), QStringLiteral("Time_Table"));
    EXPECT_EQ(main.range(QStringLiteral("A1")).name(), QStringLiteral("Dirty"));
    EXPECT_EQ(main.range(QStringLiteral("main!dirty")).address(), QStringLiteral("$A$1"));
    EXPECT_EQ(app.range(QStringLiteral("Main!Dirty")).address(), QStringLiteral("$A$1"));
    EXPECT_EQ(errorNumber([&] { app.range(QStringLiteral("Dirty")); }), 1004);   // sheet level only
    EXPECT_EQ(errorNumber([&] { main.range(QStringLiteral("A2")).name(); }), 1004);

    // Renaming a sheet keeps its names pointing at it.
    setup.setName(QStringLiteral("Basic Settings"));
    EXPECT_EQ(setup.range(QStringLiteral("Type_Cnt")).address(), QStringLiteral("$B$3"));
    EXPECT_EQ(&app.range(QStringLiteral("最適化比重")).parent(), &setup);
    EXPECT_EQ(book.data().names[2].refersTo, QStringLiteral("'Basic Settings'!$C$20:$Q$20"));

    for (const char* bad : {"", "A1", "1abc", "two words"})
        EXPECT_EQ(errorNumber([&] { book.defineName(QString::fromUtf8(bad), main.range(QStringLiteral("A1"))); }), 1004) << bad;
    book.deleteName(QStringLiteral("dirty"), &main);
    EXPECT_EQ(errorNumber([&] { main.range(QStringLiteral("Dirty")); }), 1004);
    EXPECT_EQ(errorNumber([&] { book.deleteName(QStringLiteral("Dirty"), &main); }), 1004);
    // Redefining a name moves it.
    main.range(QStringLiteral("D6:AH55")).setName(QStringLiteral("TIME_TABLE"));
    EXPECT_EQ(main.range(QStringLiteral("Time_Table")).address(), QStringLiteral("$D$6:$AH$55"));
}

TEST_F(Names, HiddenSheetsAndPrintSettings)
{
    // Hiding the active sheet shows the next; the last shown sheet stays; a hidden one is not activated.
    main.setVisible(xl::kSheetHidden);
    EXPECT_EQ(&book.activeSheet(), &setup);
    EXPECT_EQ(errorNumber([&] { setup.setVisible(xl::kSheetVeryHidden); }), 1004);
    EXPECT_EQ(errorNumber([&] { main.activate(); }), 1004);

    // Title rows are the sheet's own name of whole rows.
    setup.setPrintTitleRows(QStringLiteral("3:4"));
    EXPECT_EQ(errorNumber([&] { setup.setPrintTitleRows(QStringLiteral("A3:B4")); }), 1004);
    EXPECT_EQ(book.findName(QStringLiteral("Print_Titles"), &setup)->address(), QStringLiteral("$3:$4"));
    EXPECT_FALSE(book.findName(QStringLiteral("Print_Titles"), &main));
}

}  // namespace
