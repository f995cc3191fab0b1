#include "site_fixture.h"


#include "engine/conditions.h"
#include "platform/xl/render.h"
#include "shell/myfile.h"
#include "shell/desktop.h"
#include "shell/status.h"
#include "storage/state.h"
#include "workbook/recalc.h"

#include <QDir>

using namespace Qt::StringLiterals;

namespace sitefx {

void SiteMonth::SetUp()
{
    resetStorageState();
    ASSERT_TRUE(dir.isValid());
    // The program folder with its shipped parts; the logs go there too.
    AppPath = dir.filePath(u"app"_s);
    ASSERT_TRUE(QDir().mkpath(AppPath));
    ASSERT_FALSE(FolderCopy(sourceFile("parts"), AppPath + u"/parts"_s));
    stWorkPath = AppPath;
    stDbPath = AppPath;
    closeSharedProgress();
    setShellOpener([this](const QUrl& url) {
        opened << url.toLocalFile();
        return true;
    });
}

void SiteMonth::TearDown()
{
    setShellOpener({});
    closeSharedProgress();
    resetStorageState();
}

void SiteMonth::open(const char* conditionFile)
{
    xl::Workbook* book = nullptr;
    const condition_file::Status st = openSampleBook(sourceFile(conditionFile), &book);
    ASSERT_TRUE(st.ok) << st.error.toStdString();
    const workbook::ShiftTypes types = workbook::readShiftTypes(*book);
    const int days = workbook::readPeriod(*book).dayCount();
    const int members = int(workbook::cellNumber(sheet(u"スケジュール"_s).range(u"Member_Cnt"_s).value()));
    const QString rest = XlText(sheet(u"基本設定"_s).range(u"Yasumi_Kigou"_s).value()).trimmed();
    const xl::Block need = sheet(u"要員設定"_s).range(u"Need_Table"_s).block();
    xl::Range gridRange = sheet(u"人員配置表"_s).range(u"Time_Table"_s);
    xl::Block grid(gridRange.rowCount(), gridRange.columnCount());
    int next = 0;
    for (int d = 1; d <= days; ++d) {
        for (int i = 1; i <= members; ++i)
            grid(i, d) = rest;
        int placed = 0;
        for (int t = 1; t <= types.count; ++t)
            for (int k = 0; k < int(workbook::cellNumber(need(t, d))) && placed < members; ++k, ++placed)
                grid(next++ % members + 1, d) = types.abbreviations[t - 1];
    }
    gridRange.setBlock(grid);
    ASSERT_TRUE(基本情報読込());
}

xl::Worksheet& SiteMonth::sheet(const QString& name)
{
    return xlBook->worksheets(name);
}

QString SiteMonth::shiftAt(int i, int d)
{
    return sheet(u"人員配置表"_s).range(u"Time_Table"_s).cells(i, d).text();
}

QColor cellColour(const QImage& picture, xl::Worksheet& ws, int top, int left, int row, int column)
{
    int x = 0, y = 0;
    for (int c = left; c < column; ++c)
        x += ws.columnHidden(c) ? 0 : xl::columnWidthPixels(ws.columnWidth(c));
    for (int r = top; r < row; ++r)
        y += ws.rowHidden(r) ? 0 : xl::rowHeightPixels(ws.rowHeight(r));
    // Near the bottom-right corner, clear of the text and of the cell's borders.
    const int w = xl::columnWidthPixels(ws.columnWidth(column)), h = xl::rowHeightPixels(ws.rowHeight(row));
    return picture.pixelColor(x + w - 5, y + h - 4);
}

}  // namespace sitefx
