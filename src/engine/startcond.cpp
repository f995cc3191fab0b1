#include "engine/startcond.h"

#include "engine/cells.h"
#include "engine/model.h"
#include "engine/workbook_access.h"
#include "platform/ui/prompt.h"
#include "shell/globals.h"
#include "shell/msgbox.h"
#include "shell/myexcel.h"
#include "shell/status.h"

#include <QDate>
#include <QScopeGuard>
#include <cmath>
#include <optional>

using namespace engine_cells;

namespace {

const QString kMain = QStringLiteral("Main");
const QString k基本設定 = QStringLiteral("基本設定");
constexpr int kFirstYear = 2005;
constexpr int kLastYear = 2069;
// Generation tries each day this often, whatever the dialog shows.
constexpr int k試行回数 = 50;

QString 文字(const QString& sheet, const QString& name)
{
    return textOf(RangeS(sheet, name).value());
}

// Cell i of 最適化比重, counted along its rows.
xl::Range 比重セル(int i)
{
    const xl::Range r = RangeA(QStringLiteral("最適化比重"));
    return r.cells((i - 1) / r.columnCount() + 1, (i - 1) % r.columnCount() + 1);
}

int 比重数()
{
    return std::clamp(Type_Cnt, 0, TYPE_MAX);
}

std::optional<double> 数値(const QString& text)
{
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

std::optional<int> 整数(const QString& text)
{
    const std::optional<double> v = 数値(text);
    if (!v || *v != std::floor(*v) || std::fabs(*v) > 1e6)
        return std::nullopt;
    return int(*v);
}

std::nullopt_t 拒否(const QString& text, const QString& title)
{
    MsgBox(text, ui::vbOKOnly | ui::vbSystemModal, title);
    return std::nullopt;
}

// The values as numbers, once every check has passed.
struct 設定値 {
    QDate 日付;
    int 基準開始日 = 0;
    double 制限時間 = 0;
    std::array<double, 休み比重 + 1> 比重{};
};

std::optional<設定値> 検査(const 開始条件& in)
{
    const QString input = QStringLiteral("入力エラー");
    設定値 v;
    const std::optional<double> limit = 数値(in.制限時間);
    if (!limit || *limit <= 0)
        return 拒否(QStringLiteral("制限時間の入力値不正"), input);
    v.制限時間 = *limit;
    const std::optional<double> tries = 数値(in.試行回数);
    if (!tries || *tries <= 0)
        return 拒否(QStringLiteral("試行回数の入力値不正"), input);
    const std::optional<int> day = 整数(in.日);
    v.日付 = day ? QDate(in.年.toInt(), in.月.toInt(), *day) : QDate();
    if (!v.日付.isValid())
        return 拒否(QStringLiteral("日付の入力に誤りがあります"), QStringLiteral("入力不正"));
    const std::optional<int> first = 整数(in.基準開始日);
    if (!first || *first < 1 || *first > 31)
        return 拒否(QStringLiteral("基準開始日の入力値不正"), input);
    v.基準開始日 = *first;
    for (int t = 1; t <= 休み比重; ++t) {
        if (t > in.略称.size() && t != 休み比重)
            continue;
        const std::optional<double> w = 数値(in.比重[size_t(t)]);
        if (!w || *w < 0) {
            const QString label = t == 休み比重 ? QStringLiteral("休み") : in.略称[t - 1];
            return 拒否(QStringLiteral("最適化比重の入力値不正（%1）").arg(label), input);
        }
        v.比重[size_t(t)] = *w;
    }
    return v;
}

void 書込(const 設定値& v, int weights)
{
    RangeS(kMain, QStringLiteral("年")).setValue(double(作成年));
    RangeS(kMain, QStringLiteral("月")).setValue(double(作成月));
    RangeS(kMain, QStringLiteral("日")).setValue(double(作成開始日));
    RangeS(kMain, QStringLiteral("基準開始日")).setValue(double(基準開始日));
    RangeS(kMain, QStringLiteral("試行回数")).setValue(double(k試行回数));
    // The value as typed: LimitTime is single precision, 0.4 would come back as 0.4000000059.
    RangeS(kMain, QStringLiteral("制限時間")).setValue(v.制限時間);
    for (int t = 1; t <= weights; ++t)
        比重セル(t).setValue(v.比重[size_t(t)]);
    比重セル(休み比重).setValue(v.比重[休み比重]);
    RangeS(k基本設定, QStringLiteral("祝日年_org")).setValue(double(作成年));
}

void 先月データ再読込()
{
    runLastMonthMacro(XlApp(), [] { DspSplash(QStringLiteral("先月データ読込み")); });
}

}  // namespace

QStringList 年リスト()
{
    QStringList years;
    for (int y = kFirstYear; y <= kLastYear; ++y)
        years << QString::number(y);
    return years;
}

QStringList 月リスト()
{
    QStringList months;
    for (int m = 1; m <= 12; ++m)
        months << QString::number(m);
    return months;
}

開始条件 開始条件読込()
{
    開始条件 c;
    c.年 = 文字(kMain, QStringLiteral("年"));
    if (!年リスト().contains(c.年))
        c.年 = QString::number(kFirstYear);
    c.月 = 文字(kMain, QStringLiteral("月"));
    if (!月リスト().contains(c.月))
        c.月 = QStringLiteral("1");
    c.日 = 文字(kMain, QStringLiteral("日"));
    c.基準開始日 = 文字(kMain, QStringLiteral("基準開始日"));
    c.試行回数 = 文字(kMain, QStringLiteral("試行回数"));
    c.制限時間 = 文字(kMain, QStringLiteral("制限時間"));
    if (c.制限時間.isEmpty())
        c.制限時間 = QStringLiteral("10");
    for (int t = 1; t <= 比重数(); ++t) {
        c.比重[size_t(t)] = textOf(比重セル(t).value());
        c.略称 << Type_Table(t, TYPE_略称);
    }
    c.比重[休み比重] = textOf(比重セル(休み比重).value());
    return c;
}

bool 開始条件設定(const 開始条件& in, const std::function<void()>& accepted)
{
    const std::optional<設定値> v = 検査(in);
    if (!v)
        return false;
    if (accepted)
        accepted();
    xlAppSetting(false, false, false);
    DspSplash(QStringLiteral("日付を設定しています！"));
    const auto restore = qScopeGuard([] {
        xlAppSetting(true, true, true);
        DspSplash(QString());
    });
    作成年 = v->日付.year();
    作成月 = v->日付.month();
    作成開始日 = v->日付.day();
    基準開始日 = v->基準開始日;
    LimitTime = float(v->制限時間);
    try {
        書込(*v, int(in.略称.size()));
        先月データ再読込();
    } catch (const VbError& e) {
        MsgBox(e.text(), ui::vbOKOnly | ui::vbSystemModal, QStringLiteral("データエラー"));
        return false;
    }
    return true;
}
