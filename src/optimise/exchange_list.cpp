#include "optimise/exchange_list.h"

#include "engine/cells.h"
#include "engine/convert.h"
#include "engine/model.h"
#include "engine/reason.h"
#include "engine/rules.h"
#include "engine/sheet_refresh.h"
#include "engine/totals.h"
#include "optimise/manual_common.h"
#include "platform/text/cp932.h"
#include "platform/text/text_constants.h"
#include "platform/text/vb.h"
#include "shell/globals.h"
#include "shell/excel_layer.h"

#include <cstdlib>

namespace {

const QString kTab = QStringLiteral("\t");
const QString kAllowed = QStringLiteral("<==>");
const QString kForbidden = QStringLiteral("<…>");

QString shiftColumnText(int s)
{
    return QString::number(s) + QLatin1Char(':') + TypeText2(s);
}

int remainingWorkDays(int i)
{
    return toInteger(double(Member_DayOff(i)) - double(Member_WorkDays(i)));
}

// Field 6 of a refused exchange: which member and which rule. Numbers stand right-aligned in
// their columns, texts left-aligned.
QString reasonColumnText(long code)
{
    const long a = code % 1000;
    const long b = (code / 1000) % 1000;
    const long c = code / 1000000;
    long reasonNo = 0, memberC = 0, memberB = 0;
    const QString text = 理由コード分解(a, reasonNo, memberC, memberB);
    const QString x = RSetA(ZeroToBlank(QString::number(c)), 2) + QLatin1Char(',')
        + LSetA(ZeroToBlank(QString::number(b)), 2) + QLatin1Char(' ') + RSetA(QString::number(a), 3)
        + QLatin1Char(':') + text;
    return LSetA(x, 50);
}

QString listLine(int j, int d, int sm, int sj, int gap, bool refused, long code)
{
    const QStringList fields = {
        RSetA(QString::number(dayOfMonth(d)), 3) + QStringLiteral("日"),
        shiftColumnText(sm),
        refused ? kForbidden : kAllowed,
        RSetA(QString::number(j), 3) + QLatin1Char(':') + QString::number(MemNo(j)),
        shiftColumnText(sj),
        ZeroToBlank(QString::number(gap)),
        refused ? reasonColumnText(code) : QString(50, QLatin1Char(' ')),
        QString(),
        QString::number(d),
    };
    return fields.join(kTab);
}

}  // namespace

QString exchangeListDefaultAnswer()
{
    return QString::number(MemNo(1)) + QStringLiteral(" -");
}

QString exchangeListQuestion()
{
    const QString e = RSetA(QString::number(MemNo(1)), 6);
    const QStringList lines = {
        QStringLiteral("調査対象のIDを入力"),
        QString(),
        QStringLiteral("休みと勤務の交換　スペース　- (マイナス)を入力"),
        QStringLiteral("交換不可も含める　スペース　* (アスタリスク)を入力"),
        QString(),
        QStringLiteral("例"),
        e + QStringLiteral("　　交換可能な全て"),
        e + QStringLiteral(" -　片方が休みの場合のみ"),
        e + QStringLiteral(" *　交換不可も含める"),
    };
    return lines.join(kCrLf);
}

ExchangeListRequest parseExchangeListAnswer(const QString& answer)
{
    // An input method gives full-width digits, blanks and signs; they mean the same here.
    const QString narrow = answer.normalized(QString::NormalizationForm_KC);
    ExchangeListRequest request;
    request.restOnly = narrow.contains(QLatin1Char('-'));
    request.includeForbidden = narrow.contains(QLatin1Char('*'));
    const QString first = narrow.trimmed().section(QLatin1Char(' '), 0, 0);
    // A number no member number can be names nobody.
    const double number = Val(first);
    request.member = fitsIn(NumberType::Integer, number) ? MemIdxOrM1(toInteger(number)) : -1;
    return request;
}

QStringList buildExchangeList(const ExchangeListRequest& request)
{
    const int m = request.member;
    QStringList lines;
    for (int d = 1; d <= Day_Cnt; ++d) {
        for (int j = 1; j <= Member_Cnt; ++j) {
            if (j == m)
                continue;
            const int sm = Time_Table(m, d);
            const int sj = Time_Table(j, d);
            if (sm == sj || (request.restOnly && sm != 0 && sj != 0))
                continue;
            const int gap = std::abs(remainingWorkDays(m) - remainingWorkDays(j));
            勤務変更(m, j, d);
            long code = 0;
            const bool refused = 交換可否判定(QStringLiteral("勤務日数判定要"), d, m, j, code) != 0;
            勤務変更(m, j, d);
            if (refused && !request.includeForbidden)
                continue;
            lines << listLine(j, d, sm, sj, gap, refused, code);
        }
    }
    return lines;
}

QString refusedExchangeLine()
{
    return QStringLiteral("交換可能な勤務は有りません！") + kTab;
}

std::optional<ExchangeLine> parseExchangeLine(const QString& line)
{
    const QStringList fields = line.split(kTab);
    if (fields.size() < 3)
        return std::nullopt;
    ExchangeLine row;
    row.memberB = toInteger(Val(fields.value(3).section(QLatin1Char(':'), 0, 0)));
    row.day = toInteger(Val(fields.value(8)));
    QString caption;
    for (int k = 0; k <= 6; ++k)
        caption += fields.value(k) + QLatin1Char(' ');
    row.caption = TrimSpaces(caption);
    row.forbidden = row.caption.contains(kForbidden);
    return row;
}

void makeExchange(int a, int b, int d)
{
    const XlSwitchesGuard switches(XlSwitchesGuard::OnAtEnd{});
    xlAppSetting(false, false, false);
    勤務変更(a, b, d);
    勤務セル表示(a, b, d);
    xlRunRetry(nullptr, stBookName + QStringLiteral("!勤務色置換"));
    xlAppSetting(true, true, true);
    人員配置表更新();
    xlRunRetry(nullptr, stBookName + QStringLiteral("!休み色置換"));
}
