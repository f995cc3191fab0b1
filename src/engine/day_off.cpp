#include "engine/day_off.h"

#include "engine/model.h"
#include "platform/text/text_constants.h"
#include "platform/text/vb.h"

namespace {

void addRun(std::vector<RestRun>& runs, int m, int length, int start)
{
    const QString label = QString::number(m) + QLatin1Char(':') + Member_List(m, 1) + QStringLiteral("　") + Member_List(m, 2);
    runs.push_back({label, length, start, m});
}

}  // namespace

int GetDayOffCnt(std::vector<RestRun>& runs)
{
    runs.clear();
    const int limit = 連続休み上限;
    if (limit < 1)
        return 0;
    for (int m = 1; m <= Member_Cnt; ++m) {
        int length = 0;
        int start = 0;
        for (int d = 1; d <= Day_Cnt; ++d) {
            if (Time_Table(m, d) == 0) {
                if (length == 0)
                    start = d;
                ++length;
                continue;
            }
            if (length > limit)
                addRun(runs, m, length, start);
            length = 0;
            start = 0;
        }
        if (start != 0 && length > limit)
            addRun(runs, m, length, start);
    }
    return int(runs.size());
}

QString restRunReport(const std::vector<RestRun>& runs, const QDate& base)
{
    if (runs.empty())
        return QStringLiteral("連続休み日数の超過はありません！");
    QString text = QStringLiteral("自動割当の休みから始まる超過連続数") + kCrLf + QString(44, QLatin1Char('-')) + kCrLf + kCrLf
        + QStringLiteral("連続休み日数上限：") + QString::number(連続休み上限) + QStringLiteral("日") + kCrLf + kCrLf;
    for (const RestRun& r : runs) {
        const QDate first = base.addDays(r.開始日 - 1);
        const QDate last = base.addDays(r.開始日 + r.dayCount - 2);
        text += QString::number(r.dayCount) + QStringLiteral("日: ") + Format(first, QStringLiteral("dd(aaa)")) + QStringLiteral("～")
            + Format(last, QStringLiteral("dd(aaa)")) + QStringLiteral("　　") + r.label + kCrLf;
    }
    return text;
}
