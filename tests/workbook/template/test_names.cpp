// Every sheet and named range of the template, read from the list kept beside it.
#include "../../support/env.h"
#include "../../support/manual_clock.h"
#include "template_fixture.h"
#include "workbook/layout.h"
#include "workbook/macros.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

struct Listed {
    QString name, sheet, way, address, kind;
    int rows = 0, columns = 0;
};

std::vector<Listed> readList()
{
    QFile f(testenv::dataPath(u"../../src/workbook/template_names.tsv"_s));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << f.fileName().toStdString();
    std::vector<Listed> list;
    for (const QString& line : QString::fromUtf8(f.readAll()).split(u'\n')) {
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const QStringList p = line.split(u'\t');
        EXPECT_EQ(p.size(), 8) << line.toStdString();
        if (p.size() == 8)
            list.push_back({p[0], p[1], p[2], p[3], p[6], p[4].toInt(), p[5].toInt()});
    }
    return list;
}

QString plain(const QString& address)
{
    return QString(address).remove(u'$');
}

TEST(TemplateNames, EveryListedNameResolvesWithItsShapeTheWayTheProgramReachesIt)
{
    testwb::Book b;
    const std::vector<Listed> list = readList();
    ASSERT_GT(list.size(), 90u);
    for (const Listed& n : list) {
        SCOPED_TRACE(n.name.toStdString());
        xl::Range r = n.way == u"A"_s ? b.app->range(n.name) : b.sheet(n.sheet).range(n.name);
        EXPECT_EQ(r.worksheet().name(), n.sheet);
        EXPECT_EQ(plain(r.address()), n.address);
        EXPECT_EQ(r.rowCount(), n.rows);
        EXPECT_EQ(r.columnCount(), n.columns);
        // Way A needs a workbook-level name; S and B names belong to their sheet only.
        const bool bookLevel = b.book->findName(n.name, nullptr).has_value();
        EXPECT_EQ(bookLevel, n.way == u"A"_s);
        // Names are found whatever their case.
        EXPECT_EQ(b.sheet(n.sheet).range(n.name.toLower()).address(), r.address());
    }
}

TEST(TemplateNames, ListFileAndBuilderTableAgree)
{
    const std::vector<Listed> list = readList();
    const auto& table = workbook::templateNames();
    ASSERT_EQ(list.size(), table.size());
    const QHash<QString, workbook::NameKind> kinds = {{u"in"_s, workbook::NameKind::Input},
                                                       {u"out"_s, workbook::NameKind::Derived},
                                                       {u"state"_s, workbook::NameKind::State},
                                                       {u"view"_s, workbook::NameKind::View}};
    for (size_t i = 0; i < list.size(); ++i) {
        SCOPED_TRACE(list[i].name.toStdString());
        EXPECT_EQ(table[i].name, list[i].name);
        EXPECT_EQ(table[i].sheet, list[i].sheet);
        EXPECT_EQ(QString(QChar(table[i].way)), list[i].way);
        EXPECT_EQ(table[i].address, list[i].address);
        EXPECT_EQ(table[i].kind, kinds.value(list[i].kind));
    }
}

TEST(TemplateNames, SheetsAreNamedExactlyAndTheRosterOpensProtected)
{
    testwb::Book b;
    const QStringList want = workbook::templateSheets();
    ASSERT_EQ(b.book->worksheetCount(), want.size());
    for (int i = 0; i < want.size(); ++i)
        EXPECT_EQ(b.book->worksheets(i + 1).name(), want[i]);
    EXPECT_TRUE(b.sheet(u"人員配置表"_s).protectContents());
    EXPECT_EQ(b.book->activeSheet().name(), u"人員配置表"_s);
    // A new book opens as saved: its first recalculation does not count as a change.
    xl::Application app;
    EXPECT_TRUE(workbook::createTemplate(app, QDate(2026, 1, 1)).saved());
}

TEST(TemplateNames, ANewBookIsForTheMonthAfterToday)
{
    ManualClock clock(QDateTime(QDate(2027, 12, 31), QTime(23, 59)));
    xl::Application app;
    xl::Worksheet& main = workbook::createTemplate(app).worksheets(u"Main"_s);
    EXPECT_EQ(main.range(u"年"_s).value().toDouble(), 2028);
    EXPECT_EQ(main.range(u"月"_s).value().toDouble(), 1);
}

TEST(TemplateNames, TextSettingsKeepWhatTheProgramWritesIntoThem)
{
    testwb::Book b;
    // The publishing dialog stores one digit per page kind; a leading 0 must stay.
    xl::Range flags = b.sheet(u"Main"_s).range(u"HTML_ITEM"_s);
    flags.setValue(u"01100000"_s);
    EXPECT_EQ(flags.value(), QVariant(u"01100000"_s));
    EXPECT_EQ(flags.text(), u"01100000"_s);
}

TEST(TemplateNames, InputCellsAreUnlockedAndDerivedCellsLocked)
{
    testwb::Book b;
    for (const workbook::NameEntry& n : workbook::templateNames()) {
        if (n.kind != workbook::NameKind::Input && n.kind != workbook::NameKind::Derived)
            continue;
        SCOPED_TRACE(n.name.toStdString());
        xl::Worksheet& ws = b.sheet(n.sheet);
        const xl::Range r = ws.range(n.address);
        // 組合せ rows hold derived name cells between the member numbers: check the first columns.
        const int columns = std::min(r.columnCount(), 3);
        for (int i = 0; i < r.rowCount(); ++i) {
            for (int j = 0; j < columns; ++j) {
                if (n.name.startsWith(u"組合せ"_s) && j == 2)
                    continue;
                ASSERT_EQ(ws.isUserEditable(r.row() + i, r.column() + j), n.kind == workbook::NameKind::Input)
                    << (r.row() + i) << "," << (r.column() + j);
            }
        }
    }
}

TEST(TemplateNames, SavedFileKeepsNamesAndOpenedCopyRecountsAfterAttach)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"shift.xlsm"_s);
    {
        testwb::Book b;
        b.book->saveAs(path);
    }
    xl::Application app;
    xl::Workbook& book = app.workbooks().open(path);
    // The file's cached counts are stale on purpose: only attach() may give the truth.
    book.worksheets(u"スケジュール"_s).range(u"Member_Cnt"_s).setValue(99.0);
    workbook::attach(book);
    EXPECT_EQ(book.worksheets(u"スケジュール"_s).range(u"Member_Cnt"_s).value().toDouble(), 4.0);
    EXPECT_EQ(book.worksheets(u"基本設定"_s).range(u"Type_Cnt"_s).value().toDouble(), 3.0);
    EXPECT_EQ(book.worksheets(u"人員配置表"_s).range(u"Day_Cnt"_s).text(), u"30"_s);
    for (const workbook::NameEntry& n : workbook::templateNames()) {
        xl::Range r = n.way == 'A' ? app.range(n.name) : book.worksheets(n.sheet).range(n.name);
        EXPECT_EQ(plain(r.address()), n.address) << n.name.toStdString();
    }
    EXPECT_EQ(app.run(u"shift.xlsm!MyMainから起動.勤務Clear"_s), QVariant());
}

}  // namespace

namespace {

// The published pictures of these sheets cover fixed ranges; the tables a reader of the site needs
// must lie inside them.
TEST(TemplateNames, PicturedTablesLieInsideTheFixedPictureRanges)
{
    testwb::Book b;
    struct Picture { QString sheet, range; QStringList names; };
    const Picture pictures[] = {
        {u"人員配置表"_s, u"A3:BK81"_s, {u"Time_Table"_s}},
        {u"基本設定"_s, u"A1:AN170"_s, {}},
        {u"要員設定"_s, u"A1:DG60"_s, {u"Need_Table"_s, u"組合せ禁止_grp"_s, u"組合せ必須_grp"_s}},
        {u"スケジュール"_s, u"B3:AL54"_s, {u"Member_List"_s, u"勤務不可"_s, u"Member_DayOff"_s, u"Member_Time"_s}},
        {u"予約表"_s, u"A3:AG54"_s, {u"Member_Rsv"_s}},
    };
    for (const Picture& p : pictures) {
        xl::Worksheet& ws = b.sheet(p.sheet);
        const xl::Range frame = ws.range(p.range);
        QStringList names = p.names;
        if (names.isEmpty())
            for (const workbook::NameEntry& n : workbook::templateNames())
                if (n.sheet == p.sheet)
                    names << n.name;
        for (const QString& name : names) {
            const xl::Range r = ws.range(name);
            EXPECT_TRUE(r.row() >= frame.row() && r.lastRow() <= frame.lastRow() && r.column() >= frame.column()
                        && r.lastColumn() <= frame.lastColumn())
                << p.sheet.toStdString() << " " << name.toStdString();
        }
    }
    // The grid's totals, and the first 20 members of each combination row (all the month save keeps).
    const xl::Range shiftFrame = b.sheet(u"人員配置表"_s).range(u"A3:BK81"_s);
    EXPECT_LE(workbook::layout::kShiftHoursColumn, shiftFrame.lastColumn());
    EXPECT_LE(workbook::layout::kShiftDayBalanceRow, shiftFrame.lastRow());
    const xl::Range ban = b.sheet(u"要員設定"_s).range(u"組合せ禁止"_s);
    EXPECT_LE(ban.column() + 4 + 5 * 19, b.sheet(u"要員設定"_s).range(u"DG1"_s).column());
}

}  // namespace
