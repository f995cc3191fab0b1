#include "engine/shift_load.h"

#include "engine/convert.h"
#include "engine/model.h"
#include "engine/totals.h"
#include "engine/workbook_access.h"
#include "platform/ui/prompt.h"
#include "shell/msg_box.h"
#include "shell/excel_layer.h"
#include "shell/status.h"
#include "workbook/sheet_names.h"

#include <algorithm>
#include <vector>

bool シフト表読込(int firstDay, int lastDay, int quiet, int noCount)
{
    if (firstDay == -1)
        return true;
    if (quiet == 0)
        DspSplash(QStringLiteral("シフト表 参照中"));
    std::vector<std::vector<QString>> cells;
    RangeToArray(shiftBookRange(kRosterSheet, QStringLiteral("Time_Table")), cells);
    const int rows = int(cells.size()) - 1;
    const int columns = rows > 0 ? int(cells[1].size()) - 1 : 0;
    const int last = std::min({lastDay, Day_Cnt, columns});
    const int members = std::min(Member_Cnt, rows);
    const int first = std::max(firstDay, 1);

    // "*" stands for any shift and is no assignment; refuse the grid before anything changes.
    for (int i = 1; i <= members; ++i)
        for (int d = first; d <= last; ++d)
            if (TypeIdx(cells[size_t(i)][size_t(d)]) == kAllShifts) {
                DspSplash(QString());
                MsgBox(QStringLiteral("【人員配置表】の%1番目のメンバーの%2日に「*」が入っています！").arg(i).arg(d)
                           + QStringLiteral("\r\n勤務の略称か休みを入力してください！"),
                       ui::vbOKOnly | ui::vbSystemModal, QStringLiteral("入力エラー"));
                return false;
            }

    for (int i = 1; i <= members; ++i)
        for (int d = first; d <= last; ++d) {
            const int t = TypeIdx(cells[size_t(i)][size_t(d)]);
            if (t > 0) {
                Time_Table(i, d) = t;
                if (noCount == 0)
                    勤務集計加算(i, t, d);
            } else {
                Time_Table(i, d) = 0;
            }
        }
    DspSplash(QString());
    return true;
}

long 休日勤務数(int m, int day, int shift)
{
    long count = 0;
    for (int d = 1; d <= Day_Cnt; ++d) {
        if (Holiday_Chk(d) == 0)
            continue;
        if (d == day)
            count += shift != 0 ? 1 : 0;
        else
            count += Time_Table(m, d) != 0 ? 1 : 0;
    }
    return count;
}

namespace {

QString holidayWorkers(bool most)
{
    QString list;
    long best = most ? 0 : 99;
    for (int i = 1; i <= Member_Cnt; ++i) {
        const long n = 休日勤務数(i, 0, 0);
        if (n == best) {
            list += QString::number(i) + QLatin1Char(',');
        } else if (most ? n > best : n < best) {
            best = n;
            list = QString::number(i) + QLatin1Char(',');
        }
    }
    return list;
}

}  // namespace

QString 休日勤務最多者()
{
    return holidayWorkers(true);
}

QString 休日勤務最少者()
{
    return holidayWorkers(false);
}
