// An independent program reads the files we write (and writes one we read): python3 with the
// openpyxl module. Skipped when either is missing.
#include "platform/xl/xlsx.h"
#include "xlsx_fixture.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace xl;

namespace {

// The system python first: a python3 earlier on PATH may lack the system's modules.
QString pythonWithOpenpyxl()
{
    for (const QString& candidate : {QStringLiteral("/usr/bin/python3"), QStringLiteral("python3")}) {
        QProcess p;
        p.start(candidate, {QStringLiteral("-c"), QStringLiteral("import openpyxl")});
        if (p.waitForFinished(20000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0)
            return candidate;
    }
    return {};
}

QJsonObject runPython(const QString& python, const char* script, const QString& path)
{
    QProcess p;
    p.start(python, {QStringLiteral("-c"), QString::fromUtf8(script), path});
    if (!p.waitForFinished(30000) || p.exitCode() != 0) {
        ADD_FAILURE() << p.readAllStandardError().toStdString();
        return {};
    }
    return QJsonDocument::fromJson(p.readAllStandardOutput()).object();
}

const char* const kReadScript = R"PY(
import json, sys, zipfile, openpyxl
path = sys.argv[1]
out = {}
with zipfile.ZipFile(path) as z:
    out['types'] = z.read('[Content_Types].xml').decode('utf-8')
wb = openpyxl.load_workbook(path)
values = openpyxl.load_workbook(path, data_only=True)
out['sheets'] = wb.sheetnames
out['active'] = wb.active.title
ws = wb['基本設定']
out['a1'] = ws['A1'].value
out['b1'] = ws['B1'].value
out['e1'] = ws['E1'].value
out['a2'] = ws['A2'].value
out['a2_format'] = ws['A2'].number_format
out['a3'] = ws['A3'].value.isoformat()
out['b4_formula'] = ws['B4'].value
out['b4_value'] = values['基本設定']['B4'].value
out['fill'] = ws['A1'].fill.fgColor.rgb
out['font'] = [ws['A1'].font.color.rgb, bool(ws['A1'].font.b), ws['A1'].font.sz, ws['A1'].font.name]
out['border_left'] = ws['A1'].border.left.style
out['width_a'] = ws.column_dimensions['A'].width
out['default_width'] = ws.sheet_format.defaultColWidth
out['hidden_row'] = bool(ws.row_dimensions[8].hidden)
out['height_1'] = ws.row_dimensions[1].height
out['freeze'] = ws.freeze_panes
out['protected'] = bool(ws.protection.sheet)
out['lines'] = wb['My Sheet']['B1'].value
out['default_font'] = [ws['B1'].font.name, ws['B1'].font.charset]
area = ws.print_area   # a list or a text, by version
area = area if isinstance(area, list) else area.split(',')
out['page'] = [ws.page_setup.orientation, bool(ws.sheet_properties.pageSetUpPr.fitToPage), ws.page_setup.fitToWidth,
               int(ws.page_setup.fitToHeight), int(ws.page_setup.paperSize), [a.split('!')[-1] for a in area],
               ws.print_title_rows.split('!')[-1]]
out['state'] = wb["It's"].sheet_state
names = {}
try:
    for d in wb.defined_names.definedName:
        names['%s@%s' % (d.name, d.localSheetId)] = d.attr_text
except AttributeError:
    for n, d in wb.defined_names.items():
        names['%s@None' % n] = d.attr_text
    for i, sheet in enumerate(wb.worksheets):
        for n, d in sheet.defined_names.items():
            names['%s@%d' % (n, i)] = d.attr_text
out['names'] = names
print(json.dumps(out))
)PY";

const char* const kWriteScript = R"PY(
import sys, datetime, openpyxl
from openpyxl.styles import PatternFill, Font
from openpyxl.workbook.defined_name import DefinedName
wb = openpyxl.Workbook()
ws = wb.active
ws.title = '勤務 表'
ws['A1'] = '日勤'
ws['B1'] = 42
ws['C1'] = datetime.date(2024, 4, 1)
ws['D1'] = True
ws['A1'].fill = PatternFill('solid', fgColor='FF00B050')
ws['A1'].font = Font(bold=True, color='FF0000FF')
ws.column_dimensions['B'].width = 20.7109375
ws.row_dimensions[2].hidden = True
ws.freeze_panes = 'B2'
try:
    wb.defined_names.append(DefinedName('Staff', attr_text="'勤務 表'!$A$1:$A$9"))
except AttributeError:
    wb.defined_names['Staff'] = DefinedName('Staff', attr_text="'勤務 表'!$A$1:$A$9")
wb.save(sys.argv[1])
)PY";

}  // namespace

TEST(XlsxIndependentReader, OpenpyxlReadsWhatWeWrite)
{
    const QString python = pythonWithOpenpyxl();
    if (python.isEmpty())
        GTEST_SKIP() << "python3 with openpyxl is not installed";
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("独立 確認.xlsm"));
    writeWorkbookFile(xlsxtest::sampleBook(), path, true);
    const QJsonObject o = runPython(python, kReadScript, path);
    ASSERT_FALSE(o.isEmpty());

    EXPECT_TRUE(o[QStringLiteral("types")].toString().contains(QStringLiteral("application/vnd.ms-excel.sheet.macroEnabled.main+xml")));
    EXPECT_FALSE(o[QStringLiteral("types")].toString().contains(QStringLiteral("vbaProject")));
    // Column A's 12.5 characters are 12.5 plus the cell padding in the file, in 1/256 steps. The
    // usual default width is written too: other programs take a narrower one when it is missing.
    const QJsonObject want = QJsonDocument::fromJson(R"({
        "sheets": ["基本設定", "My Sheet", "It's"], "active": "My Sheet", "a1": "勤務表", "b1": 1,
        "e1": 123456789.125, "a2": true, "a2_format": "\"TRUE\";\"TRUE\";\"FALSE\"", "a3": "2024-02-29T00:00:00", "b4_formula": "=B1+2", "b4_value": 3,
        "fill": "FFFFFF00", "font": ["FFC00000", true, 14, "ＭＳ Ｐゴシック"], "border_left": "thin",
        "width_a": 13.2109375, "default_width": 9.140625, "hidden_row": true, "height_1": 27.75, "freeze": "B3", "protected": true,
        "lines": "two\nlines\r\nand a tab\t.", "default_font": ["游ゴシック", 128],
        "page": ["landscape", true, null, 0, 9, ["$A$1:$K$12"], "$1:$2"], "state": "hidden"})")
                                 .object();
    ASSERT_FALSE(want.isEmpty());
    for (auto it = want.begin(); it != want.end(); ++it)
        EXPECT_EQ(o[it.key()], it.value()) << it.key().toStdString();
    const QJsonObject names = o[QStringLiteral("names")].toObject();
    EXPECT_EQ(names[QStringLiteral("Time_Table@None")].toString(), QStringLiteral("基本設定!$B$3:$K$12"));
    EXPECT_EQ(names[QStringLiteral("Local@1")].toString(), QStringLiteral("'My Sheet'!$B$2"));
    EXPECT_EQ(names[QStringLiteral("Quote@2")].toString(), QStringLiteral("'It''s'!$A$1:$A$5"));
}

TEST(XlsxIndependentReader, WeReadWhatOpenpyxlWrites)
{
    const QString python = pythonWithOpenpyxl();
    if (python.isEmpty())
        GTEST_SKIP() << "python3 with openpyxl is not installed";
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("from python.xlsx"));
    QProcess p;
    p.start(python, {QStringLiteral("-c"), QString::fromUtf8(kWriteScript), path});
    ASSERT_TRUE(p.waitForFinished(30000) && p.exitCode() == 0) << p.readAllStandardError().toStdString();

    const BookData book = readWorkbookFile(path);
    ASSERT_EQ(book.sheets.size(), 1u);
    const SheetData& s = book.sheets[0];
    EXPECT_EQ(s.name, QStringLiteral("勤務 表"));
    EXPECT_EQ(s.cells.at({1, 1}).value, QVariant(QStringLiteral("日勤")));
    EXPECT_EQ(s.cells.at({1, 2}).value, QVariant(42.0));
    EXPECT_EQ(s.cells.at({1, 3}).value, QVariant(QDate(2024, 4, 1)));
    EXPECT_EQ(s.cells.at({1, 4}).value, QVariant(true));
    const CellStyle& a1 = book.styles[size_t(s.cells.at({1, 1}).style)];
    EXPECT_EQ(a1.fill, QColor(0x00, 0xB0, 0x50));
    EXPECT_EQ(a1.fontColor, QColor(0, 0, 255));
    EXPECT_TRUE(a1.bold);
    EXPECT_EQ(s.columnWidths.at(2), 20.0);
    EXPECT_EQ(s.hiddenRows, std::vector<int>{2});
    EXPECT_EQ(s.frozenRows, 1);
    EXPECT_EQ(s.frozenColumns, 1);
    ASSERT_EQ(book.names.size(), 1u);
    EXPECT_EQ(book.names[0].name, QStringLiteral("Staff"));
    EXPECT_EQ(book.names[0].refersTo, QStringLiteral("'勤務 表'!$A$1:$A$9"));
}
