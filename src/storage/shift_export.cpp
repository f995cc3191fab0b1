#include "storage/shift_export.h"

#include "engine/conditions.h"
#include "engine/convert.h"
#include "engine/model.h"
#include "platform/text/vb.h"
#include "platform/ui/prompt.h"
#include "shell/msg_box.h"
#include "shell/excel_layer.h"
#include "storage/pivot.h"
#include "storage/saved_shifts.h"

#include <algorithm>
#include <functional>

namespace {

constexpr int kSheets = 3;
// A shift-table block starts with three heading rows: day of the month, weekday, 休平日.
constexpr int kHeadRows = 3;
// and two heading columns: Id, 氏名.
constexpr int kHeadColumns = 2;
// Empty rows between two blocks.
constexpr int kGapRows = 4;

QString periodText(const 期間& p)
{
    return Format(p.開始日, QStringLiteral("m月d日")) + QStringLiteral("～") + Format(p.終了日, QStringLiteral("m月d日"));
}

QDate dateValue(const QVariant& v)
{
    return QDate::fromString(v.toString(), Qt::ISODate);
}

// What the export writes, read in full before any workbook exists.
struct ExportData {
    期間 wholePeriod;
    // Per period, oldest first: Id, 氏名, 日付, 略称, 休平日.
    std::vector<std::vector<QVariantList>> shifts;
    CrossTab 集計;
    // Id, 氏名, 日付, 勤務No, 略称, 休平日.
    std::vector<QVariantList> details;
};

const QStringList kDetailColumns = {QStringLiteral("Id"), QStringLiteral("氏名"), QStringLiteral("日付"),
                              QStringLiteral("勤務No"), QStringLiteral("略称"), QStringLiteral("休平日")};

// Shifts are counted for every saved member, named as the last save's roster has them (empty
// when it no longer does); a shift number without a saved type has no column to go to.
QString summarySql(const 期間& p)
{
    return QStringLiteral("SELECT h.Id, m.氏名, s.略称 COLLATE NOCASE, count(s.勤務No) FROM T_勤務表 h "
                          "LEFT JOIN T_名簿 m ON m.Id = h.Id JOIN T_勤務種別 s ON s.勤務No = h.勤務No "
                          "WHERE h.日付 >= '%1' AND h.日付 <= '%2' "
                          "GROUP BY h.Id, m.氏名 COLLATE NOCASE, s.略称 COLLATE NOCASE "
                          "ORDER BY h.Id, m.氏名 COLLATE NOCASE")
        .arg(p.開始日.toString(Qt::ISODate), p.終了日.toString(Qt::ISODate));
}

bool 読込(const std::vector<SavedPeriod>& span, const ExportKinds& kinds, ExportData& out)
{
    out.wholePeriod = {span.back().period.開始日, span.front().period.終了日};
    if (kinds.シフト表) {
        for (auto it = span.rbegin(); it != span.rend(); ++it) {
            out.shifts.emplace_back();
            if (!readAllRows(QStringLiteral("SELECT Id, 氏名, 日付, 略称, 休平日 FROM Q_勤務表 ") + periodWhere(it->period)
                              + QStringLiteral(" ORDER BY Id, 日付"),
                          out.shifts.back()))
                return false;
        }
    }
    if (kinds.クロス集計) {
        std::vector<QVariantList> grouped;
        if (!readAllRows(summarySql(out.wholePeriod), grouped))
            return false;
        out.集計 = クロス集計({QStringLiteral("Id"), QStringLiteral("氏名")}, grouped);
    }
    return !kinds.期間データ
        || readAllRows(QStringLiteral("SELECT ") + kDetailColumns.join(QStringLiteral(", ")) + QStringLiteral(" FROM Q_勤務表 ")
                        + periodWhere(out.wholePeriod) + QStringLiteral(" ORDER BY Id, 日付"),
                    out.details);
}

void writeBlock(xl::Worksheet& ws, int row, const xl::Block& block)
{
    if (block.rows() > 0 && block.columns() > 0)
        ws.cells(row, 1).resize(block.rows(), block.columns()).setBlock(block);
}

void writeHeadings(xl::Worksheet& ws, const QStringList& names)
{
    xl::Block head(1, int(names.size()));
    for (int k = 1; k <= head.columns(); ++k)
        head(1, k) = names[k - 1];
    writeBlock(ws, 3, head);
}

// Columns follow the days of the period; rows the members' places on the roster, down to the
// last member with a saved row (members no longer on the roster are left out).
xl::Block shiftTableBlock(const 期間& p, const std::vector<QVariantList>& rows)
{
    int last = 0;
    for (const QVariantList& r : rows)
        last = std::max(last, MemIdxOrM1(r[0].toInt()));
    xl::Block b(last + kHeadRows, p.dayCount() + kHeadColumns);
    for (int d = 1; d <= p.dayCount(); ++d) {
        b(1, d + kHeadColumns) = p.日付(d).day();
        b(2, d + kHeadColumns) = Format(p.日付(d), QStringLiteral("aaa"));
    }
    for (const QVariantList& r : rows) {
        const int m = MemIdxOrM1(r[0].toInt());
        const int d = int(p.開始日.daysTo(dateValue(r[2]))) + 1;
        if (m <= 0 || d < 1 || d > p.dayCount())
            continue;
        if (b(m + kHeadRows, 1).isNull()) {
            b(m + kHeadRows, 1) = r[0];
            b(m + kHeadRows, 2) = r[1].isNull() ? QVariant(MemName(m)) : r[1];
        }
        b(kHeadRows, d + kHeadColumns) = r[4];
        b(m + kHeadRows, d + kHeadColumns) = r[3];
    }
    return b;
}

void writeShiftSheet(xl::Worksheet& ws, const std::vector<SavedPeriod>& span, const ExportData& data)
{
    int r = 1;
    for (size_t i = 0; i < data.shifts.size(); ++i) {
        const 期間& p = span[span.size() - 1 - i].period;
        ws.setName(QStringLiteral("シフト表 ") + periodText(p));
        const xl::Block block = shiftTableBlock(p, data.shifts[i]);
        ws.cells(r, 1).setValue(QStringLiteral("シフト表　") + periodText(p));
        writeBlock(ws, r + 1, block);
        r += 1 + block.rows() + kGapRows;
    }
    ws.range(QStringLiteral("B:AZ")).autoFitColumns();
}

void writeSummarySheet(xl::Worksheet& ws, const ExportData& data)
{
    const QString span = periodText(data.wholePeriod);
    ws.setName(QStringLiteral("クロス集計 ") + span);
    ws.range(QStringLiteral("A1")).setValue(QStringLiteral("クロス集計　") + span);
    writeHeadings(ws, data.集計.fields);
    xl::Block b(int(data.集計.rows.size()), int(data.集計.fields.size()));
    for (int i = 1; i <= b.rows(); ++i)
        for (int k = 1; k <= b.columns(); ++k)
            b(i, k) = data.集計.rows[size_t(i - 1)][k - 1];
    writeBlock(ws, 4, b);
    ws.range(QStringLiteral("B:R")).autoFitColumns();
}

void writeDetailSheet(xl::Worksheet& ws, const ExportData& data)
{
    const QString span = periodText(data.wholePeriod);
    ws.setName(QStringLiteral("期間データ ") + span);
    ws.range(QStringLiteral("A1")).setValue(QStringLiteral("期間データ ") + span);
    writeHeadings(ws, kDetailColumns);
    xl::Block b(int(data.details.size()), int(kDetailColumns.size()));
    for (int i = 1; i <= b.rows(); ++i) {
        const QVariantList& r = data.details[size_t(i - 1)];
        for (int k = 1; k <= b.columns(); ++k)
            b(i, k) = k == 3 ? QVariant(dateValue(r[2])) : r[k - 1];
    }
    writeBlock(ws, 4, b);
    if (b.rows() > 0)
        ws.cells(4, 3).resize(b.rows(), 1).setNumberFormat(QStringLiteral("yyyy/mm/dd"));
    ws.range(QStringLiteral("B:E")).autoFitColumns();
}

xl::Workbook& newWorkbook(xl::Application& app)
{
    xl::Workbook& book = app.workbooks().add();
    while (book.worksheetCount() < kSheets)
        book.addSheet(QStringLiteral("Sheet%1").arg(book.worksheetCount() + 1));
    return book;
}

}  // namespace

xl::Application* シフト復元_別シート(const std::vector<SavedPeriod>& span, const ExportKinds& kinds)
{
    if (!kinds.クロス集計 && !kinds.シフト表 && !kinds.期間データ) {
        MsgBox(QStringLiteral("読み込むデータの種類を選択して下さい。"), ui::vbOKOnly | ui::vbSystemModal);
        return nullptr;
    }
    if (span.empty() || (!基本情報読込済 && !基本情報読込()))
        return nullptr;
    ExportData data;
    if (!読込(span, kinds, data))
        return nullptr;

    xl::Application& app = newExportApplication();
    app.setVisible(true);
    // The new window shows the workbook once it is complete.
    const XlSwitchesGuard frozen(app);
    xl::Workbook& book = newWorkbook(app);
    int next = 1;
    const auto section = [&](const std::function<void(xl::Worksheet&)>& write) {
        xl::Worksheet& ws = book.worksheets(next++);
        ws.activate();
        write(ws);
        ws.range(QStringLiteral("A1")).select();
    };
    if (kinds.シフト表)
        section([&](xl::Worksheet& ws) { writeShiftSheet(ws, span, data); });
    if (kinds.クロス集計)
        section([&](xl::Worksheet& ws) { writeSummarySheet(ws, data); });
    if (kinds.期間データ)
        section([&](xl::Worksheet& ws) { writeDetailSheet(ws, data); });
    book.worksheets(1).activate();
    return &app;
}
