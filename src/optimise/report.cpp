#include "optimise/report.h"

#include "engine/model.h"
#include "optimise/best_shift.h"
#include "optimise/decimal_align.h"
#include "optimise/score.h"
#include "optimise/window_steps.h"
#include "platform/os/clock.h"
#include "platform/text/cp932.h"
#include "platform/text/text_constants.h"
#include "platform/text/vb.h"
#include "shell/globals.h"
#include "shell/msg_box.h"
#include "shell/myfunc_main.h"
#include "shell/mylog.h"
#include "shell/status.h"

#include <QStringList>
#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>

namespace {

// Column widths in bytes; a negative width prints nothing, so an analysis drops two columns.
struct Widths {
    int label = 24;
    int value = 10;
    int before = 10;
    int weight = 6;
    int change = 6;
};

Widths widthsFor(int mode)
{
    Widths w;
    if (mode == 0) {
        w.before = -10;
        w.change = -6;
    }
    return w;
}

// The general decimal form: seven significant digits for a single, fifteen for a double.
QString numberText(const QVariant& v)
{
    switch (v.typeId()) {
    case QMetaType::UnknownType:
        return {};
    case QMetaType::Float:
        return QString::number(double(v.toFloat()), 'g', 7);
    case QMetaType::Double:
        return QString::number(v.toDouble(), 'g', 15);
    default:
        return v.toString();
    }
}

QVariant term(std::optional<float> value)
{
    return value ? QVariant(*value) : QVariant();
}

QString weightCell(std::optional<long> weight, const Widths& w)
{
    return RSetA(weight ? QString::number(*weight) : QString(), w.weight);
}

// The current terms, empty ones as 0.
struct Current {
    ScoreTerms P;
    ScoreTerms C;
};

Current currentTerms()
{
    Current c;
    auto value = [](std::optional<float> v) { return QVariant(v.value_or(0.0f)); };
    c.P[0] = 全分散計算();
    c.P[1] = value(各勤務日数分散_今期(0));
    c.C[1] = value(各勤務日数分散_累計(0));
    c.P[3] = value(休日勤務分散_今期());
    c.C[3] = value(休日勤務分散_累計());
    c.P[4] = 単勤単休総数計算(QStringLiteral("勤務"));
    c.P[5] = 単勤単休総数計算(QStringLiteral("休み"));
    c.P[6] = value(単勤単休分散(QStringLiteral("勤務")));
    c.P[7] = value(単勤単休分散(QStringLiteral("休み")));
    return c;
}

// ",v1,v2,...," over the shift types, so that item k of the split belongs to type k.
QString typeList(const std::function<std::optional<float>(int)>& termOf)
{
    QString list = QStringLiteral(",");
    for (int k = 1; k <= Type_Cnt; ++k)
        list += numberText(term(termOf(k))) + QLatin1Char(',');
    return list;
}

QString listItem(const QStringList& items, int k)
{
    return k < items.size() ? items[k] : QString();
}

class ReportWriter {
public:
    explicit ReportWriter(int mode) : mode_(mode), w_(widthsFor(mode)) {}

    void line(const QString& s = {}) { text_ += s + kCrLf; }
    void heading(const QString& first)
    {
        text_ += レポート見出し作成(mode_, first) + レポート区切り線(QStringLiteral("-"), 45);
    }
    // label, value cell, before cell, weight cell, change cell.
    void row(const QString& label, bool labelLeft, const QVariant& now, const QVariant& before,
             std::optional<long> weight)
    {
        text_ += (labelLeft ? LSetA(label, w_.label) : RSetA(label, w_.label)) + レポート値書式(now, w_.value)
                 + レポート値書式(before, w_.before) + weightCell(weight, w_)
                 + RSetA(レポート増減書式(before, now), w_.change) + kCrLf;
    }
    // A count ends under the units digit of the value cells.
    void countRow(const QString& label, const QVariant& now, const QVariant& before, long weight)
    {
        const QString gap(6, QLatin1Char(' '));
        text_ += RSetA(label, w_.label) + RSetA(numberText(now) + gap, w_.value)
                 + RSetA(QString::number(Val(numberText(before))) + gap, w_.before) + weightCell(weight, w_)
                 + RSetA(レポート増減書式(before, now), w_.change) + kCrLf;
    }
    void typeSection(const QString& first, const QString& currentList, const QVariant& beforeList, long weight)
    {
        heading(first);
        const QStringList now = currentList.split(QLatin1Char(','));
        const QStringList before = beforeList.toString().split(QLatin1Char(','));
        for (int k = 1; k <= Type_Cnt; ++k) {
            const QString label = RSetA(QString::number(k), 9) + QStringLiteral("：") + Type_Table(k, TYPE_略称)
                                  + QLatin1Char('(') + Type_Table(k, TYPE_勤務) + QLatin1Char(')');
            row(label, true, listItem(now, k), listItem(before, k),
                k == 荷重_優先勤務 ? std::optional<long>(weight) : std::nullopt);
        }
    }
    QString& text() { return text_; }

private:
    int mode_;
    Widths w_;
    QString text_;
};

QString weight4(long v)
{
    return RSetA(QString::number(v), 4);
}

template <class Value>
QString dumpCell(const Value& v)
{
    return RSetA(numberText(QVariant(v)), 3);
}

template <class Value>
QString dump2(const vb::TwoDimArray<Value>& a, int rowLimit, int columnLimit)
{
    if (Type_Cnt * Member_Cnt < 1)
        return {};
    QString heading = RSetA(QStringLiteral("no"), 3);
    for (int j = 0; j <= a.UBound(2); ++j)
        heading += RSetA(QString::number(j), 3);
    QString text = heading + kCrLf + QString(LenA(heading), QLatin1Char('-')) + kCrLf;
    for (int i = 0; i <= std::min(a.UBound(1), rowLimit); ++i) {
        text += RSetA(QString::number(i), 3);
        for (int j = 0; j <= std::min(a.UBound(2), columnLimit); ++j)
            text += dumpCell(a(i, j));
        text += kCrLf;
    }
    return text;
}

}  // namespace

qint64 TickCount()
{
    return os::elapsedMs();
}

void 分散要素取得(ScoreTerms& P, ScoreTerms& C)
{
    P[0] = 全分散計算();
    P[1] = term(各勤務日数分散_今期(0));
    C[1] = term(各勤務日数分散_累計(0));
    P[3] = term(休日勤務分散_今期());
    C[3] = term(休日勤務分散_累計());
    P[4] = 単勤単休総数計算(QStringLiteral("勤務"));
    P[5] = 単勤単休総数計算(QStringLiteral("休み"));
    P[6] = term(単勤単休分散(QStringLiteral("勤務")));
    P[7] = term(単勤単休分散(QStringLiteral("休み")));
    P[2] = typeList(各勤務日数分散_今期);
    C[2] = typeList(各勤務日数分散_累計);
}

QString 荷重分散レポート作成(qint64 startTick, const ScoreTerms* P, const ScoreTerms* C, int mode, const QString& prefix)
{
    const ScoreTerms p = P ? *P : ScoreTerms{};
    const ScoreTerms c = C ? *C : ScoreTerms{};
    const Current now = currentTerms();
    ReportWriter r(mode);
    r.text() = prefix;
    r.line(elapsedText(TickCount() - startTick));
    r.heading(QString());
    r.row(QStringLiteral("【荷重分散計】 "), false, now.P[0], p[0], std::nullopt);
    r.line();
    r.row(QStringLiteral("[累計]　"), false, now.C[1], c[1], 荷重_総勤務日数);
    r.row(QStringLiteral("個別勤務計 今期 　"), false, now.P[1], p[1], 荷重_各勤務日数_今期);
    r.row(QStringLiteral("[累計]　"), false, now.C[1], c[1], 荷重_各勤務日数);
    r.row(QStringLiteral("休日出勤 今期 　"), false, now.P[3], p[3], 荷重_休日勤務_今期);
    r.row(QStringLiteral("[累計]　"), false, now.C[3], c[3], 荷重_休日勤務);
    r.line();

    r.typeSection(QStringLiteral("今期 "), typeList(各勤務日数分散_今期), p[2], 荷重_優先勤務倍率_今期);
    r.line();
    r.typeSection(QStringLiteral("[累計]"), typeList(各勤務日数分散_累計), c[2], 荷重_優先勤務倍率);
    r.line();
    r.line();

    r.line(QStringLiteral("  --- 単勤(1日だけの勤務)、単休(1日だけの休み) ---"));
    r.line();
    r.heading(QString());
    r.countRow(QStringLiteral("総数 単勤   "), now.P[4], p[4], 荷重_単勤総数_今期);
    r.countRow(QStringLiteral("単休   "), now.P[5], p[5], 荷重_単休総数_今期);
    r.row(QStringLiteral("分散 単勤   "), false, now.P[6], p[6], 荷重_単勤分散_今期);
    r.row(QStringLiteral("単休   "), false, now.P[7], p[7], 荷重_単休分散_今期);
    return r.text();
}

QString 荷重パラメータ一覧()
{
    const QString indent(3, QLatin1Char(' '));
    QString t = QStringLiteral("  ■分散値計算 荷重パラメータ ■ =====================") + kCrLf + kCrLf;
    t += indent + QString(20, QLatin1Char(' ')) + QStringLiteral("荷重") + QString(11, QLatin1Char(' '))
         + QStringLiteral("荷重") + kCrLf;
    t += QString(4, QLatin1Char(' ')) + QString(50, QLatin1Char('-')) + kCrLf;
    t += indent + QStringLiteral("　今期  各勤務日数：") + weight4(荷重_各勤務日数_今期) + QStringLiteral("　")
         + QStringLiteral(" [累計]：") + weight4(荷重_各勤務日数) + kCrLf;
    t += indent + QStringLiteral("　　　　　休日勤務：") + weight4(荷重_休日勤務_今期) + QStringLiteral("　")
         + QStringLiteral("       ：") + weight4(荷重_休日勤務) + kCrLf;
    t += indent + QStringLiteral("　　　　　休み曜日：") + weight4(荷重_休み曜日_今期) + kCrLf + kCrLf;
    if (荷重_優先勤務 >= 1) {
        t += indent + 優先勤務ラベル(26) + kCrLf;
        t += QString(23, QLatin1Char(' ')) + weight4(荷重_優先勤務倍率_今期) + QStringLiteral("         ：")
             + weight4(荷重_優先勤務倍率) + kCrLf + kCrLf;
    }
    const std::pair<const char16_t*, long> singles[] = {
        {u"総数 単勤：", 荷重_単勤総数_今期},
        {u"　　 単休：", 荷重_単休総数_今期},
        {u"分散 単勤：", 荷重_単勤分散_今期},
        {u"　　 単休：", 荷重_単休分散_今期},
    };
    for (const auto& [label, weight] : singles)
        t += indent + RSetA(QString::fromUtf16(label), 20) + weight4(weight) + kCrLf;
    return t + kCrLf;
}

void 勤務分散解析()
{
    Sw_中止 = false;
    確保完了 = true;
    if (!現状収集(0))
        return;
    const qint64 start = TickCount();
    DspSplash(QString());
    QString text = 荷重分散レポート作成(start, nullptr, nullptr, 0, QString()) + kCrLf + 荷重パラメータ一覧();
    if (DebugMode)
        text += MemoryDump();
    MyMsgBox(text, 0, QStringLiteral("処理結果"), DebugMode ? 1000 : 500, 450, 0, QString(), -1, QString(), -1,
             QString(), -1, -1, 1);
    ResultLog書込(text, true);
    if (optimiserWindowSteps.afterResultLog)
        optimiserWindowSteps.afterResultLog();
}

QString MemoryDump()
{
    return kCrLf + QStringLiteral("【Member_Sum】") + kCrLf + 配列ダンプ(Member_Sum, Member_Cnt, 999) + kCrLf + kCrLf
           + QStringLiteral("【Member_Sum_Past】") + kCrLf + kCrLf + kCrLf + QStringLiteral("【Member_Sum_K】") + kCrLf
           + 配列ダンプ(Member_Sum_K, Member_Cnt, 999) + kCrLf + kCrLf + QStringLiteral("【Time_Table】") + kCrLf
           + 配列ダンプ(Time_Table, Member_Cnt, 999) + kCrLf;
}

QString 配列ダンプ(const vb::TwoDimArray<float>& a, int rowLimit, int columnLimit)
{
    return dump2(a, rowLimit, columnLimit);
}

QString 配列ダンプ(const vb::TwoDimArray<int>& a, int rowLimit, int columnLimit)
{
    return dump2(a, rowLimit, columnLimit);
}

QString 配列ダンプ(const vb::OneDimArray<float>& a, int rowLimit, int)
{
    if (Type_Cnt * Member_Cnt < 1)
        return {};
    QString text;
    for (int i = 0; i <= std::min(a.UBound(), rowLimit); ++i)
        text += RSetA(QString::number(i), 3) + dumpCell(a(i)) + kCrLf;
    return text;
}

QString elapsedText(qint64 elapsedMs)
{
    const double t = double(elapsedMs) / 1000;
    const long m = long(t / 60);
    const double s = t - 60.0 * double(m);
    return QStringLiteral("処理時間 ") + (m > 0 ? QString::number(m) + QStringLiteral("分") : QString())
           + Format(s, QStringLiteral("0.0##")) + QStringLiteral("秒");
}

QString レポート見出し作成(int mode, const QString& first)
{
    const Widths w = widthsFor(mode);
    return RSetA(first, w.label) + LSetA(mode == 0 ? QStringLiteral("　解析値") : QStringLiteral("　更新後"), w.value)
           + LSetA(QStringLiteral("　更新前"), w.before) + RSetA(QStringLiteral("荷重"), w.weight)
           + RSetA(QStringLiteral("増減"), w.change) + kCrLf;
}

QString レポート区切り線(const QString& ch, int n)
{
    return QString(5, QLatin1Char(' ')) + QString(std::max(n, 0), ch.isEmpty() ? QLatin1Char(' ') : ch.at(0)) + kCrLf;
}

QString 優先勤務ラベル(int width)
{
    const long p = 荷重_優先勤務;
    QString label = QStringLiteral("優先勤務　") + QString::number(p);
    // A stored number may outlive a shift type that was removed since.
    if (p >= 1 && p <= Type_Cnt)
        label += QStringLiteral("：") + Type_Table(int(p), TYPE_略称) + QLatin1Char('(') + Type_Table(int(p), TYPE_勤務)
                 + QLatin1Char(')');
    return RSetA(label, width);
}

QString レポート値書式(const QVariant& v, int width)
{
    return LSetA(小数点位置揃え(float(Val(numberText(v))), 4, 3), width);
}

QString レポート増減書式(const QVariant& before, const QVariant& after)
{
    auto rounded = [](const QVariant& v) { return std::nearbyint(Val(numberText(v)) * 1000) / 1000; };
    const double b = rounded(before);
    const double a = rounded(after);
    const QString mark = b < a ? QStringLiteral("▲") : b > a ? QStringLiteral("▽") : QString();
    return RSetA(mark, 2);
}
