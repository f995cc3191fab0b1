#include "optimise/assignability.h"

#include "engine/convert.h"
#include "engine/model.h"
#include "engine/rules.h"
#include "optimise/manual_common.h"
#include "platform/text/cp932.h"
#include "platform/text/text_constants.h"

#include <algorithm>

namespace {

QString memberReport(int m, int t, int d)
{
    QString r = 勤務不可理由(m, t, d);
    if (r.isEmpty())
        r = QStringLiteral("割り当て可");
    const QString name = MemName(m);
    const int pad = std::max(16 - 2 * int(name.size()), 0);
    return (QStringLiteral("    ") + QString::number(MemNo(m))).right(4) + QLatin1Char(':') + name
        + QString(pad, QLatin1Char(' ')) + QStringLiteral(" - ") + r;
}

QString allMembersReport(int t, int d)
{
    QString body;
    for (int i = 1; i <= Member_Cnt; ++i) {
        QString r = 勤務不可理由(i, t, d);
        if (r.isEmpty())
            r = QStringLiteral("割当可");
        // The number right-aligned and the name left-aligned, as in the one-member line.
        body += RSetA(QString::number(MemNo(i)), 4) + QLatin1Char(':') + LSetA(MemName(i), 20) + QStringLiteral(" - ")
            + r + kCrLf;
    }
    return body;
}

}  // namespace

QString assignabilityReport(int m, int t, int d)
{
    const QString heading = t == 0 ? QLatin1Char('(') + Yasumi_Kigou + QLatin1Char(')')
                                   : QLatin1Char('(') + TypeText2(t) + QStringLiteral("):") + TypeName1(t);
    return QString::number(dayOfMonth(d)) + QStringLiteral("日") + QLatin1Char(' ') + heading + QStringLiteral(" の勤務可否判定")
        + kCrLf + QStringLiteral("-----------------------------------------------") + kCrLf
        + QStringLiteral("　- (x:y):割り当て済み") + kCrLf + QStringLiteral("　---------------------------------------------")
        + kCrLf + (m >= 1 ? memberReport(m, t, d) : allMembersReport(t, d));
}
