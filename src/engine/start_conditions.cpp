#include "engine/start_conditions.h"

#include "engine/cells.h"
#include "engine/model.h"
#include "engine/workbook_access.h"
#include "platform/text/text_constants.h"
#include "platform/text/vb.h"
#include "platform/ui/prompt.h"
#include "shell/globals.h"
#include "shell/msg_box.h"
#include "shell/excel_layer.h"
#include "shell/status.h"
#include "workbook/sheet_names.h"

#include <QDate>
#include <QScopeGuard>
#include <cmath>
#include <optional>

using namespace cell_reading;

namespace {

const QString kMain = QStringLiteral("Main");
constexpr int kFirstYear = 2005;
constexpr int kLastYear = 2069;
// Generation tries each day this often, whatever the dialog shows.
constexpr int kDefaultTries = 50;

QString cellText(const QString& sheet, const QString& name)
{
    return XlText(activeBookRange(sheet, name).value());
}

// Cell i of 最適化比重, counted along its rows.
xl::Range weightCell(int i)
{
    const xl::Range r = bookLevelRange(QStringLiteral("最適化比重"));
    return r.cells((i - 1) / r.columnCount() + 1, (i - 1) % r.columnCount() + 1);
}

int weightCount()
{
    return std::clamp(Type_Cnt, 0, TYPE_MAX);
}

std::optional<double> parseNumber(const QString& text)
{
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

std::optional<int> parseInteger(const QString& text)
{
    const std::optional<double> v = parseNumber(text);
    if (!v || *v != std::floor(*v) || std::fabs(*v) > 1e6)
        return std::nullopt;
    return int(*v);
}

std::nullopt_t refuse(const QString& text, const QString& title)
{
    MsgBox(text, ui::vbOKOnly | ui::vbSystemModal, title);
    return std::nullopt;
}

// The values as numbers, once every check has passed.
struct Settings {
    QDate 日付;
    int 基準開始日 = 0;
    double 制限時間 = 0;
    std::array<double, kRestWeight + 1> weights{};
};

std::optional<Settings> validate(const StartConditions& in)
{
    const QString input = QStringLiteral("入力エラー");
    Settings v;
    const std::optional<double> limit = parseNumber(in.制限時間);
    if (!limit || *limit <= 0 || !fitsIn(NumberType::Single, *limit))
        return refuse(QStringLiteral("制限時間の入力値不正"), input);
    v.制限時間 = *limit;
    const std::optional<double> tries = parseNumber(in.試行回数);
    if (!tries || *tries <= 0)
        return refuse(QStringLiteral("試行回数の入力値不正"), input);
    const std::optional<int> day = parseInteger(in.日);
    v.日付 = day ? QDate(in.年.toInt(), in.月.toInt(), *day) : QDate();
    if (!v.日付.isValid())
        return refuse(QStringLiteral("日付の入力に誤りがあります"), QStringLiteral("入力不正"));
    const std::optional<int> first = parseInteger(in.基準開始日);
    if (!first || *first < 1 || *first > 31)
        return refuse(QStringLiteral("基準開始日の入力値不正"), input);
    v.基準開始日 = *first;
    for (int t = 1; t <= kRestWeight; ++t) {
        if (t > in.略称.size() && t != kRestWeight)
            continue;
        const std::optional<double> w = parseNumber(in.weights[size_t(t)]);
        if (!w || *w < 0) {
            const QString label = t == kRestWeight ? QStringLiteral("休み") : in.略称[t - 1];
            return refuse(QStringLiteral("最適化比重の入力値不正（%1）").arg(label), input);
        }
        v.weights[size_t(t)] = *w;
    }
    return v;
}

void writeSettings(const Settings& v, int weights)
{
    activeBookRange(kMain, QStringLiteral("年")).setValue(double(作成年));
    activeBookRange(kMain, QStringLiteral("月")).setValue(double(作成月));
    activeBookRange(kMain, QStringLiteral("日")).setValue(double(作成開始日));
    activeBookRange(kMain, QStringLiteral("基準開始日")).setValue(double(基準開始日));
    activeBookRange(kMain, QStringLiteral("試行回数")).setValue(double(kDefaultTries));
    // The value as typed: LimitTime is single precision, 0.4 would come back as 0.4000000059.
    activeBookRange(kMain, QStringLiteral("制限時間")).setValue(v.制限時間);
    for (int t = 1; t <= weights; ++t)
        weightCell(t).setValue(v.weights[size_t(t)]);
    weightCell(kRestWeight).setValue(v.weights[kRestWeight]);
    activeBookRange(kSettingsSheet, QStringLiteral("祝日年_org")).setValue(double(作成年));
}

void reloadLastMonthData()
{
    runLastMonthMacro(XlApp(), [] { DspSplash(QStringLiteral("先月データ読込み")); });
}

}  // namespace

QStringList yearList()
{
    QStringList years;
    for (int y = kFirstYear; y <= kLastYear; ++y)
        years << QString::number(y);
    return years;
}

QStringList monthList()
{
    QStringList months;
    for (int m = 1; m <= 12; ++m)
        months << QString::number(m);
    return months;
}

StartConditions readStartConditions()
{
    StartConditions c;
    c.年 = cellText(kMain, QStringLiteral("年"));
    if (!yearList().contains(c.年))
        c.年 = QString::number(kFirstYear);
    c.月 = cellText(kMain, QStringLiteral("月"));
    if (!monthList().contains(c.月))
        c.月 = QStringLiteral("1");
    c.日 = cellText(kMain, QStringLiteral("日"));
    c.基準開始日 = cellText(kMain, QStringLiteral("基準開始日"));
    c.試行回数 = cellText(kMain, QStringLiteral("試行回数"));
    c.制限時間 = cellText(kMain, QStringLiteral("制限時間"));
    if (c.制限時間.isEmpty())
        c.制限時間 = QStringLiteral("10");
    for (int t = 1; t <= weightCount(); ++t) {
        c.weights[size_t(t)] = XlText(weightCell(t).value());
        c.略称 << Type_Table(t, TYPE_略称);
    }
    c.weights[kRestWeight] = XlText(weightCell(kRestWeight).value());
    return c;
}

QString readPeriodSettings()
{
    QStringList faults;
    // The value of a cell for a variable of the type, or 0 with the fault noted.
    const auto read = [&faults](const QString& name, NumberType type, bool required) -> double {
        const xl::Range r = shiftBookRange(kMain, name);
        const QVariant v = r.value();
        const QString shown = XlText(v);
        if (isEmptyCell(v)) {
            if (required)
                faults << QStringLiteral("%1（%2）が空白です。").arg(cellPlace(r), name);
            return 0;
        }
        bool ok = v.typeId() != QMetaType::Bool;
        const double d = ok ? v.toDouble(&ok) : 0;
        if (!ok) {
            faults << QStringLiteral("%1（%2）の「%3」は数ではありません。").arg(cellPlace(r), name, shown);
            return 0;
        }
        if (!fitsIn(type, d)) {
            faults << QStringLiteral("%1（%2）の「%3」は %4 に収まりません（%5）。")
                          .arg(cellPlace(r), name, shown, typeName(type), typeRange(type));
            return 0;
        }
        return d;
    };
    LimitTime = toSingle(read(QStringLiteral("制限時間"), NumberType::Single, false));
    作成開始日 = toLong(read(QStringLiteral("日"), NumberType::Long, true));
    基準開始日 = toLong(read(QStringLiteral("基準開始日"), NumberType::Long, true));
    作成年 = toLong(read(QStringLiteral("年"), NumberType::Long, true));
    作成月 = toLong(read(QStringLiteral("月"), NumberType::Long, true));
    return faults.join(kCrLf);
}

bool 開始条件設定(const StartConditions& in, const std::function<void()>& accepted)
{
    const std::optional<Settings> v = validate(in);
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
        writeSettings(*v, int(in.略称.size()));
        reloadLastMonthData();
    } catch (const VbError& e) {
        MsgBox(e.text(), ui::vbOKOnly | ui::vbSystemModal, QStringLiteral("データエラー"));
        return false;
    }
    return true;
}
