#include "workbook/template.h"

#include "platform/os/clock.h"
#include "workbook/layout.h"
#include "workbook/macros.h"
#include "workbook/sheet_names.h"

#include <QDir>
#include <QStringList>

using namespace Qt::StringLiterals;

namespace workbook {

namespace {

const std::vector<NameEntry> kNames = {
    {u"Time_Table"_s, kRosterSheet, 'B', u"D5:AH54"_s, NameKind::Input},
    {u"Day_Cnt"_s, kRosterSheet, 'S', u"AY1"_s, NameKind::Derived},
    {u"shift_データ数"_s, kRosterSheet, 'S', u"BA1"_s, NameKind::Derived},
    {u"過去累計使用"_s, kRosterSheet, 'A', u"BC1"_s, NameKind::Input},
    {u"初期値使用"_s, kRosterSheet, 'A', u"BE1"_s, NameKind::Input},
    {u"休平日"_s, kRosterSheet, 'S', u"D2:AH2"_s, NameKind::Derived},
    {u"行番号"_s, kRosterSheet, 'S', u"BN1"_s, NameKind::State},
    {u"列番号"_s, kRosterSheet, 'S', u"BN2"_s, NameKind::State},
    {u"SelRow"_s, kRosterSheet, 'S', u"BN3"_s, NameKind::State},
    {u"Dirty"_s, kRosterSheet, 'S', u"BN4"_s, NameKind::State},
    {u"TimeSum"_s, kRosterSheet, 'B', u"BN5"_s, NameKind::State},
    {u"先月_月"_s, kRosterSheet, 'A', u"BR1"_s, NameKind::State},
    {u"先月_結果"_s, kRosterSheet, 'A', u"BR3:CA54"_s, NameKind::State},
    {u"過去計"_s, kRosterSheet, 'A', u"CC5:CO54"_s, NameKind::State},
    {u"Type_Cnt"_s, u"基本設定"_s, 'S', u"H3"_s, NameKind::Derived},
    {u"Type_Table_Input"_s, u"基本設定"_s, 'S', u"B5:J14"_s, NameKind::Input},
    {u"Type_Span"_s, u"基本設定"_s, 'S', u"I5:I14"_s, NameKind::Input},
    {u"Type_Count"_s, u"基本設定"_s, 'S', u"K5:K14"_s, NameKind::Input},
    {u"REST_TIME"_s, u"基本設定"_s, 'S', u"L5:M14"_s, NameKind::Input},
    {u"REST_TIME2"_s, u"基本設定"_s, 'S', u"N5:O14"_s, NameKind::Input},
    {u"REST_TIME3"_s, u"基本設定"_s, 'S', u"P5:Q14"_s, NameKind::Input},
    {u"最少必要人数"_s, u"基本設定"_s, 'S', u"R5:S14"_s, NameKind::Input},
    {u"Type_Table_Org"_s, u"基本設定"_s, 'S', u"U5:U14"_s, NameKind::Derived},
    {u"Type_Table_List"_s, u"基本設定"_s, 'S', u"U5:V14"_s, NameKind::Derived},
    {u"翌日禁止"_s, u"基本設定"_s, 'S', u"C18:L27"_s, NameKind::Input},
    {u"DayBefore_Table"_s, u"基本設定"_s, 'S', u"C28:L28"_s, NameKind::Derived},
    {u"Kinsi_Pattern_Cnt"_s, u"基本設定"_s, 'S', u"L30"_s, NameKind::Derived},
    {u"禁止パターン"_s, u"基本設定"_s, 'S', u"C32:G42"_s, NameKind::Input},
    {u"Hissu_Pattern_Cnt"_s, u"基本設定"_s, 'S', u"L44"_s, NameKind::Derived},
    {u"必須パターン"_s, u"基本設定"_s, 'S', u"C46:D56"_s, NameKind::Input},
    {u"連続勤務上限"_s, u"基本設定"_s, 'S', u"H59"_s, NameKind::Input},
    {u"連続休み上限"_s, u"基本設定"_s, 'S', u"H60"_s, NameKind::Input},
    {u"基点曜日"_s, u"基本設定"_s, 'A', u"H61"_s, NameKind::Input},
    {u"週間勤務日数上限"_s, u"基本設定"_s, 'A', u"H62"_s, NameKind::Input},
    {u"勤務日数調整"_s, u"基本設定"_s, 'S', u"H63"_s, NameKind::Input},
    {u"勤務時間調整"_s, u"基本設定"_s, 'S', u"H64"_s, NameKind::Input},
    {u"勤務集中"_s, u"基本設定"_s, 'S', u"H65"_s, NameKind::Input},
    {u"平日勤務集中"_s, u"基本設定"_s, 'S', u"H66"_s, NameKind::Input},
    {u"休日対象外"_s, u"基本設定"_s, 'S', u"H67"_s, NameKind::Input},
    {u"勤務指定"_s, u"基本設定"_s, 'S', u"H68"_s, NameKind::Input},
    {u"指定勤務"_s, u"基本設定"_s, 'S', u"H69"_s, NameKind::Input},
    {u"Yasumi_Kigou"_s, u"基本設定"_s, 'S', u"H70"_s, NameKind::Input},
    {u"Color_Yasumi"_s, u"基本設定"_s, 'S', u"H71"_s, NameKind::Input},
    {u"自動再挑戦"_s, u"基本設定"_s, 'A', u"H72"_s, NameKind::Input},
    {u"経過表示"_s, u"基本設定"_s, 'S', u"H73"_s, NameKind::Input},
    {u"進行状況表示"_s, u"基本設定"_s, 'A', u"H74"_s, NameKind::Input},
    {u"行列ハイライト"_s, u"基本設定"_s, 'S', u"H75"_s, NameKind::Input},
    {u"自動画面最大化"_s, u"基本設定"_s, 'S', u"H76"_s, NameKind::Input},
    {u"過去参照スパン"_s, u"基本設定"_s, 'S', u"H77"_s, NameKind::Input},
    {u"祝日年_org"_s, u"基本設定"_s, 'S', u"H78"_s, NameKind::Derived},
    {u"最適化比重"_s, u"基本設定"_s, 'A', u"C82:Q82"_s, NameKind::Input},
    {u"休み_List"_s, u"基本設定"_s, 'S', u"C85:C91"_s, NameKind::Input},
    {u"職制_Ex"_s, u"基本設定"_s, 'S', u"B95:C104"_s, NameKind::Input},
    {u"Member_Cnt"_s, u"スケジュール"_s, 'S', u"AO3"_s, NameKind::Derived},
    {u"番号数"_s, u"スケジュール"_s, 'S', u"AO4"_s, NameKind::Derived},
    {u"名前数"_s, u"スケジュール"_s, 'S', u"AO5"_s, NameKind::Derived},
    {u"個人条件数"_s, u"スケジュール"_s, 'S', u"AO6"_s, NameKind::Derived},
    {u"予定休み区分"_s, u"スケジュール"_s, 'S', u"AO8"_s, NameKind::Input},
    {u"全不可罫線色"_s, u"スケジュール"_s, 'S', u"AO9"_s, NameKind::Input},
    {u"Member_List"_s, u"スケジュール"_s, 'S', u"B5:D54"_s, NameKind::Input},
    {u"休日調査"_s, u"スケジュール"_s, 'S', u"E2:AI2"_s, NameKind::Derived},
    {u"勤務不可"_s, u"スケジュール"_s, 'S', u"E5:AI54"_s, NameKind::Input},
    {u"Member_DayOff"_s, u"スケジュール"_s, 'S', u"AJ5:AJ54"_s, NameKind::Input},
    {u"Member_Time"_s, u"スケジュール"_s, 'S', u"AK5:AK54"_s, NameKind::Input},
    {u"Member_Scdl"_s, u"スケジュール"_s, 'S', u"AR5:BV54"_s, NameKind::Derived},
    {u"Need_Table"_s, u"要員設定"_s, 'S', u"D5:AH14"_s, NameKind::Input},
    {u"組合せ禁止数"_s, u"要員設定"_s, 'S', u"Q21"_s, NameKind::Derived},
    {u"組合せ禁止"_s, u"要員設定"_s, 'S', u"B23:GR37"_s, NameKind::Input},
    {u"組合せ必須数"_s, u"要員設定"_s, 'S', u"Q39"_s, NameKind::Derived},
    {u"組合せ必須"_s, u"要員設定"_s, 'S', u"B41:GR55"_s, NameKind::Input},
    {u"組合せ禁止数_grp"_s, u"要員設定"_s, 'S', u"AO5"_s, NameKind::Derived},
    {u"組合せ禁止_grp"_s, u"要員設定"_s, 'S', u"AK5:AM19"_s, NameKind::Input},
    {u"組合せ必須数_grp"_s, u"要員設定"_s, 'S', u"AU5"_s, NameKind::Derived},
    {u"組合せ必須_grp"_s, u"要員設定"_s, 'S', u"AQ5:AS19"_s, NameKind::Input},
    {u"予約数"_s, u"予約表"_s, 'S', u"AJ3"_s, NameKind::Derived},
    {u"予約罫線色"_s, u"予約表"_s, 'S', u"AJ4"_s, NameKind::Input},
    {u"Member_Rsv"_s, u"予約表"_s, 'S', u"C5:AG54"_s, NameKind::Input},
    {u"年"_s, u"Main"_s, 'S', u"C3"_s, NameKind::Input},
    {u"月"_s, u"Main"_s, 'S', u"C4"_s, NameKind::Input},
    {u"日"_s, u"Main"_s, 'S', u"C5"_s, NameKind::Input},
    {u"基準開始日"_s, u"Main"_s, 'S', u"C6"_s, NameKind::Input},
    {u"制限時間"_s, u"Main"_s, 'S', u"C7"_s, NameKind::Input},
    {u"試行回数"_s, u"Main"_s, 'S', u"C8"_s, NameKind::Input},
    {u"バックグラウンド動作"_s, u"Main"_s, 'S', u"C12"_s, NameKind::Input},
    {u"ベストシフト作成"_s, u"Main"_s, 'S', u"C13"_s, NameKind::Input},
    {u"Sw_確保優先"_s, u"Main"_s, 'S', u"C14"_s, NameKind::Input},
    {u"HTML_ITEM"_s, u"Main"_s, 'S', u"C16"_s, NameKind::Input},
    {u"HTML_PATH"_s, u"Main"_s, 'S', u"C17"_s, NameKind::Input},
    {u"シフト別_Idx"_s, u"シフト別"_s, 'S', u"A1"_s, NameKind::View},
    {u"Idxシフト一覧"_s, u"シフト一覧"_s, 'A', u"A1"_s, NameKind::View},
    {u"Idx日別"_s, u"日別要員"_s, 'S', u"A1"_s, NameKind::View},
    {u"YoinMax"_s, u"日別要員"_s, 'S', u"B1"_s, NameKind::View},
    {u"時間帯_IdxDay"_s, u"時間帯別"_s, 'S', u"A1"_s, NameKind::View},
    {u"SelectId"_s, u"個人別"_s, 'S', u"A1"_s, NameKind::View},
};

xl::BorderEdge thinEdge()
{
    return xl::BorderEdge{xl::kContinuous, xl::kThin, layout::kGridLine};
}

xl::CellStyle boxed(xl::CellStyle s)
{
    s.left = s.top = s.bottom = s.right = thinEdge();
    return s;
}

xl::CellStyle titleStyle()
{
    xl::CellStyle s;
    s.bold = true;
    s.fontSize = 14;
    return s;
}

xl::CellStyle sectionStyle()
{
    xl::CellStyle s;
    s.bold = true;
    s.fontSize = 11;
    s.fontColor = layout::kSection;
    return s;
}

xl::CellStyle headingStyle()
{
    xl::CellStyle s;
    s.bold = true;
    s.fill = layout::kHeading;
    s.horizontalAlignment = xl::kAlignCenter;
    s.verticalAlignment = xl::kAlignCenter;
    return boxed(s);
}

xl::CellStyle labelStyle()
{
    xl::CellStyle s;
    s.fill = layout::kHeading;
    return boxed(s);
}

xl::CellStyle inputStyle()
{
    xl::CellStyle s;
    s.locked = false;
    return boxed(s);
}

xl::CellStyle derivedStyle()
{
    xl::CellStyle s;
    s.fill = layout::kDerived;
    s.fontColor = QColor(0x40, 0x40, 0x40);
    return boxed(s);
}

xl::CellStyle noteStyle()
{
    xl::CellStyle s;
    s.fontColor = QColor(0x59, 0x59, 0x59);
    s.fontSize = 9;
    return s;
}

xl::CellStyle centred(xl::CellStyle s)
{
    s.horizontalAlignment = xl::kAlignCenter;
    return s;
}

xl::CellStyle small(xl::CellStyle s, double size = 9)
{
    s.fontSize = size;
    return s;
}

xl::CellStyle withFormat(xl::CellStyle s, const QString& format)
{
    s.numberFormat = format;
    return s;
}

// Group names (職制) such as 介護福祉士 fit their column.
constexpr double kGroupWidth = 11.5;

// An A4 print of the sheet's input block, one page wide (and tall), repeating its heading rows.
void printSetUp(xl::Worksheet& ws, const QString& area, int orientation, const QString& titleRows = {}, int pagesTall = 0)
{
    ws.setPageSetup(xl::PageSetup{orientation, 0, 1, pagesTall, xl::kPaperA4});
    ws.setPrintArea(area);
    if (!titleRows.isEmpty())
        ws.setPrintTitleRows(titleRows);
}

// A tiny writer over one sheet: texts, styles and widths by address.
class Painter {
public:
    explicit Painter(xl::Worksheet& ws) : ws_(ws) {}
    xl::Worksheet& sheet() { return ws_; }
    void text(const QString& address, const QString& t, const xl::CellStyle& s = {})
    {
        xl::Range r = ws_.range(address);
        r.setValue(t);
        r.setStyle(s);
    }
    void value(const QString& address, const QVariant& v) { ws_.range(address).setValue(v); }
    void style(const QString& address, const xl::CellStyle& s) { ws_.range(address).setStyle(s); }
    void width(const QString& columns, double w) { ws_.range(columns).setColumnWidth(w); }
    // Label in labelCol and an input or derived cell beside it.
    void labelled(int row, int labelCol, const QString& label, int valueCol, const xl::CellStyle& s,
                  const QVariant& initial = {})
    {
        xl::Range l = ws_.cells(row, labelCol);
        l.setValue(label);
        l.setStyle(labelStyle());
        xl::Range v = ws_.cells(row, valueCol);
        v.setStyle(s);
        if (initial.isValid())
            v.setValue(initial);
    }
    void note(int row, int col, const QString& t)
    {
        xl::Range r = ws_.cells(row, col);
        r.setValue(t);
        r.setStyle(noteStyle());
    }

private:
    xl::Worksheet& ws_;
};

QString cellName(int row, int col)
{
    return xl::columnLetters(col) + QString::number(row);
}

// Day grid headings: row 3 dates ("d"), row 4 weekdays, filled by the recalculation.
void dayHeadings(Painter& p, int firstCol)
{
    const int last = firstCol + kMaxDays - 1;
    p.style(cellName(3, firstCol) + u':' + cellName(3, last), withFormat(headingStyle(), u"d"_s));
    p.style(cellName(4, firstCol) + u':' + cellName(4, last), small(headingStyle()));
    p.width(xl::columnLetters(firstCol) + u':' + xl::columnLetters(last), 3.8);
}

void buildShiftSheet(xl::Worksheet& ws)
{
    Painter p(ws);
    p.text(u"A1"_s, u"勤務表"_s, titleStyle());
    p.labelled(1, 50, u"期間の日数"_s, 51, centred(derivedStyle()));
    p.labelled(1, 52, u"勤務入力数"_s, 53, centred(derivedStyle()));
    p.labelled(1, 54, u"前月累計を使用"_s, 55, centred(inputStyle()), false);
    p.labelled(1, 56, u"前月末を使用"_s, 57, centred(inputStyle()), false);
    p.width(u"AX:AX"_s, 11);
    p.width(u"AY:AY"_s, 5);
    p.width(u"AZ:AZ"_s, 11);
    p.width(u"BA:BA"_s, 5);
    p.width(u"BB:BB"_s, 15.5);
    p.width(u"BC:BC"_s, 7);
    p.width(u"BD:BD"_s, 13.5);
    p.width(u"BE:BE"_s, 7);
    ws.setRowHidden(2, true);   // 休平日: the holiday row the month save reads

    p.text(u"A3"_s, u"番号"_s, headingStyle());
    p.text(u"B3"_s, u"氏名"_s, headingStyle());
    p.text(u"C3"_s, u"職制"_s, headingStyle());
    p.style(u"A4:C4"_s, headingStyle());
    dayHeadings(p, layout::kGridLeft);
    p.style(u"A5:C54"_s, derivedStyle());
    p.style(u"D5:AH54"_s, centred(inputStyle()));

    // Totals beside the grid.
    xl::CellStyle spill = headingStyle();
    spill.horizontalAlignment = xl::kAlignLeft;
    p.text(u"AI3"_s, u"勤務別の回数"_s, spill);
    p.style(u"AJ3:AR3"_s, headingStyle());
    p.style(u"AI4:AR4"_s, small(headingStyle()));
    p.text(u"AS3"_s, u"勤務"_s, headingStyle());
    p.text(u"AT3"_s, u"休み"_s, headingStyle());
    p.text(u"AU3"_s, u"休日"_s, headingStyle());
    p.text(u"AV3"_s, u"時間"_s, headingStyle());
    p.text(u"AS4"_s, u"日数"_s, small(headingStyle()));
    p.text(u"AT4"_s, u"日数"_s, small(headingStyle()));
    p.text(u"AU4"_s, u"勤務"_s, small(headingStyle()));
    p.text(u"AV4"_s, u"合計"_s, small(headingStyle()));
    p.style(u"AI5:AV54"_s, centred(derivedStyle()));
    p.width(u"AI:AR"_s, 3.8);
    p.width(u"AS:AV"_s, 5.0);

    // Staff per day under the grid.
    p.text(u"A55"_s, u"日別"_s, headingStyle());
    p.style(u"A56:A67"_s, headingStyle());
    p.style(u"B55:C64"_s, labelStyle());
    p.text(u"B65"_s, u"勤務計"_s, labelStyle());
    p.text(u"B66"_s, u"必要人数"_s, labelStyle());
    p.text(u"B67"_s, u"過不足"_s, labelStyle());
    p.style(u"C65:C67"_s, labelStyle());
    p.style(u"D55:AH67"_s, centred(derivedStyle()));
    p.note(69, 1, u"セルに勤務の略称を入力します（休みは休み記号）。右側と下側の集計は自動で計算されます。"_s);

    p.width(u"A:A"_s, 6);
    p.width(u"B:B"_s, 12.5);
    p.width(u"C:C"_s, kGroupWidth);
    ws.freezePanes(4, 3);
    printSetUp(ws, u"A1:AV67"_s, xl::kLandscape, u"$3:$4"_s);

    // Program state, to the right of the printed area.
    const char16_t* state[] = {u"行番号", u"列番号", u"SelRow", u"Dirty", u"TimeSum"};
    for (int i = 0; i < 5; ++i)
        p.labelled(i + 1, 65, QString::fromUtf16(state[i]), 66, derivedStyle());
    p.labelled(1, 69, u"先月_月"_s, 70, derivedStyle());
    p.text(u"BR2"_s, u"先月の結果（最後の10日）"_s, sectionStyle());
    p.style(u"BR3:CA4"_s, small(headingStyle()));
    p.style(u"BR5:CA54"_s, centred(derivedStyle()));
    p.text(u"CC3"_s, u"先月までの累計（1～10: 勤務別、11: 計、13: 休日勤務）"_s, sectionStyle());
    for (int j = 1; j <= 13; ++j)
        p.text(cellName(4, 80 + j), QString::number(j), small(headingStyle()));
    p.style(u"CC5:CO54"_s, centred(derivedStyle()));
    p.width(u"BR:CO"_s, 4.0);
    p.width(u"BM:BM"_s, 8.0);
    ws.protect();
}

void buildBasicSheet(xl::Worksheet& ws)
{
    Painter p(ws);
    p.text(u"A1"_s, u"基本設定"_s, titleStyle());

    p.text(u"B3"_s, u"勤務種別"_s, sectionStyle());
    p.labelled(3, 7, u"種別数"_s, 8, centred(derivedStyle()));
    const char16_t* heads[] = {u"勤務名", u"略称", u"開始", u"翌日", u"備考", u"終了", u"時間",
                               u"間隔(日)", u"色番号", u"回数\n上限", u"休憩1\n開始", u"休憩1\n終了",
                               u"休憩2\n開始", u"休憩2\n終了", u"休憩3\n開始", u"休憩3\n終了",
                               u"平日\n最少", u"休日\n最少"};
    p.text(u"A4"_s, u"No"_s, headingStyle());
    xl::CellStyle wrapped = small(headingStyle());
    wrapped.wrapText = true;
    for (int j = 0; j < 18; ++j)
        p.text(cellName(4, 2 + j), QString::fromUtf16(heads[j]), wrapped);
    ws.setRowHeight(4, 26);
    for (int t = 1; t <= kMaxTypes; ++t)
        p.text(cellName(4 + t, 1), QString::number(t), centred(labelStyle()));
    p.style(u"B5:S14"_s, inputStyle());
    p.style(u"C5:E14"_s, centred(inputStyle()));
    p.style(u"G5:S14"_s, centred(inputStyle()));
    p.style(u"D5:D14"_s, withFormat(centred(inputStyle()), u"h:mm"_s));
    p.style(u"G5:G14"_s, withFormat(centred(inputStyle()), u"h:mm"_s));
    p.style(u"L5:Q14"_s, withFormat(centred(inputStyle()), u"h:mm"_s));
    p.text(u"U4"_s, u"勤務名（自動）"_s, small(headingStyle()));
    p.text(u"V4"_s, u"略称（自動）"_s, small(headingStyle()));
    p.style(u"U5:V14"_s, derivedStyle());
    p.note(15, 2, u"時刻は 8:30 のように入力。色番号は 1～56（セルがその色になります）。間隔: 同じ勤務の間を空ける最少日数。"_s);

    p.text(u"B16"_s, u"翌日の勤務制限（前日の勤務の行で、翌日に入れない勤務の列に × を入力）"_s, sectionStyle());
    p.text(u"B17"_s, u"前日＼翌日"_s, small(headingStyle()));
    p.style(u"C17:L17"_s, headingStyle());
    p.style(u"B18:B27"_s, derivedStyle());
    p.style(u"C18:L27"_s, centred(inputStyle()));
    p.text(u"B28"_s, u"マスク（自動）"_s, small(labelStyle()));
    p.style(u"C28:L28"_s, small(centred(derivedStyle())));

    p.text(u"B30"_s, u"禁止パターン（続けて入れてはいけない勤務の並び。休みは -）"_s, sectionStyle());
    p.labelled(30, 11, u"件数"_s, 12, centred(derivedStyle()));
    p.text(u"B31"_s, u"No"_s, headingStyle());
    for (int j = 1; j <= 5; ++j)
        p.text(cellName(31, 2 + j), QString::number(j) + u"日目"_s, small(headingStyle()));
    for (int i = 1; i <= kPatternRows; ++i) {
        p.text(cellName(31 + i, 2), QString::number(i), centred(labelStyle()));
        p.text(cellName(45 + i, 2), QString::number(i), centred(labelStyle()));
    }
    p.style(u"C32:G42"_s, centred(inputStyle()));

    p.text(u"B44"_s, u"必須パターン（この勤務の翌日は必ずこの勤務）"_s, sectionStyle());
    p.labelled(44, 11, u"件数"_s, 12, centred(derivedStyle()));
    p.text(u"B45"_s, u"No"_s, headingStyle());
    p.text(u"C45"_s, u"勤務"_s, small(headingStyle()));
    p.text(u"D45"_s, u"翌日"_s, small(headingStyle()));
    p.style(u"C46:D56"_s, centred(inputStyle()));

    p.text(u"B58"_s, u"勤務の制限と作成の設定"_s, sectionStyle());
    struct Setting { int row; const char16_t* label; QVariant initial; const char16_t* hint; };
    const Setting settings[] = {
        {59, u"連続勤務の上限（日）", 5.0, u"0 = 制限なし"},
        {60, u"連続休みの上限（日）", 0.0, u"0 = 制限なし"},
        {61, u"週の起点曜日", 0.0, u"1=月 2=火 … 7=日、0 = 週の制限なし"},
        {62, u"週の勤務日数上限", 0.0, u"0 = 制限なし"},
        {63, u"勤務日数の調整", true, u"TRUE / FALSE"},
        {64, u"勤務時間の調整", false, u"TRUE / FALSE"},
        {65, u"勤務の集中", false, u"TRUE / FALSE"},
        {66, u"平日の勤務集中", false, u"TRUE / FALSE"},
        {67, u"休日を対象外にする", false, u"TRUE / FALSE"},
        {68, u"調整する勤務を指定", false, u"TRUE のとき下の番号の勤務だけを調整"},
        {69, u"調整する勤務の番号", QVariant(), u"例: 1,2"},
        {70, u"休み記号", u"休"_s, u"休みのセルに表示する文字"},
        {71, u"休みの色番号", 0.0, u"0 = 色なし"},
        {72, u"失敗時に自動で再挑戦", true, u"TRUE / FALSE"},
        {73, u"経過表示", 0.0, u"1 以上で作成中の様子を表示"},
        {74, u"進行状況の表示位置", 0.0, u"0 中央、1 右上、2 右下、3 左下"},
        {75, u"選択セルの行列ハイライト", true, u"TRUE / FALSE"},
        {76, u"画面を自動で最大化", false, u"TRUE / FALSE"},
        {77, u"過去参照スパン（月）", 3.0, u""},
        {78, u"祝日の年（自動）", QVariant(), u"期間の年の祝日を使います"},
    };
    for (const Setting& s : settings) {
        p.text(cellName(s.row, 2), QString::fromUtf16(s.label), labelStyle());
        p.style(cellName(s.row, 3) + u':' + cellName(s.row, 7), labelStyle());
        p.style(cellName(s.row, 8), s.row == 78 ? centred(derivedStyle()) : centred(inputStyle()));
        if (s.initial.isValid())
            p.value(cellName(s.row, 8), s.initial);
        p.note(s.row, 9, QString::fromUtf16(s.hint));
    }

    p.text(u"B80"_s, u"最適化の比重（勤務ごと。12 番目は休み）"_s, sectionStyle());
    p.style(u"C81:Q81"_s, small(headingStyle()));
    p.text(u"N81"_s, u"休み"_s, small(headingStyle()));
    p.text(u"B82"_s, u"比重"_s, labelStyle());
    p.style(u"C82:Q82"_s, centred(inputStyle()));
    for (int j = 1; j <= 15; ++j)
        if (j <= kMaxTypes || j == 12)
            p.value(cellName(82, 2 + j), 1.0);

    p.text(u"B84"_s, u"固定休（曜日ごと: 1 = 休み、0 = 指定なし、-1 = 勤務）"_s, sectionStyle());
    const char16_t* week[] = {u"日", u"月", u"火", u"水", u"木", u"金", u"土"};
    for (int i = 0; i < 7; ++i) {
        p.text(cellName(85 + i, 2), QString::fromUtf16(week[i]), centred(labelStyle()));
        p.style(cellName(85 + i, 3), centred(inputStyle()));
        p.value(cellName(85 + i, 3), 0.0);
    }

    p.text(u"B93"_s, u"職制（グループ）"_s, sectionStyle());
    p.text(u"B94"_s, u"名称"_s, headingStyle());
    p.text(u"C94"_s, u"色番号"_s, small(headingStyle()));
    p.style(u"B95:B104"_s, inputStyle());
    p.style(u"C95:C104"_s, centred(inputStyle()));

    p.width(u"A:A"_s, 4);
    p.width(u"B:B"_s, 12);
    p.width(u"C:E"_s, 5.5);
    p.width(u"F:F"_s, 8);
    p.width(u"G:H"_s, 6.5);
    p.width(u"I:S"_s, 6.5);
    p.width(u"T:T"_s, 2);
    p.width(u"U:U"_s, 12);
    p.width(u"V:V"_s, 11);
    printSetUp(ws, u"A1:S104"_s, xl::kPortrait, {}, 1);
    ws.protect();
}

void buildScheduleSheet(xl::Worksheet& ws)
{
    Painter p(ws);
    p.text(u"A1"_s, u"個人条件設定"_s, titleStyle());
    p.text(u"D2"_s, u"休日"_s, small(labelStyle()));
    xl::CellStyle holidayRow = small(centred(derivedStyle()), 7);
    holidayRow.wrapText = true;
    p.style(u"E2:AI2"_s, holidayRow);
    ws.setRowHeight(2, 22);
    p.text(u"A3"_s, u"No"_s, headingStyle());
    p.text(u"B3"_s, u"番号"_s, headingStyle());
    p.text(u"C3"_s, u"氏名"_s, headingStyle());
    p.text(u"D3"_s, u"職制"_s, headingStyle());
    p.style(u"A4:D4"_s, headingStyle());
    p.text(u"E1"_s, u"勤務できない日に × を、特定の勤務だけできない日にはその略称（例: 夜,明）を入力"_s, noteStyle());
    dayHeadings(p, layout::kScheduleLeft);
    p.text(u"AJ3"_s, u"予定休日数"_s, small(headingStyle()));
    p.text(u"AK3"_s, u"時間上限"_s, small(headingStyle()));
    p.style(u"AJ4:AK4"_s, headingStyle());
    for (int i = 1; i <= kMaxMembers; ++i)
        p.text(cellName(4 + i, 1), QString::number(i), centred(labelStyle()));
    p.style(u"B5:D54"_s, inputStyle());
    p.style(u"B5:B54"_s, centred(inputStyle()));
    p.style(u"E5:AI54"_s, small(centred(inputStyle()), 9));
    p.style(u"AJ5:AK54"_s, centred(inputStyle()));

    p.labelled(3, 40, u"人数"_s, 41, centred(derivedStyle()));
    p.labelled(4, 40, u"番号数"_s, 41, centred(derivedStyle()));
    p.labelled(5, 40, u"名前数"_s, 41, centred(derivedStyle()));
    p.labelled(6, 40, u"個人条件数"_s, 41, centred(derivedStyle()));
    p.labelled(8, 40, u"予定休み区分"_s, 41, centred(inputStyle()), 0.0);
    p.note(8, 42, u"1 = 右の数は勤務日数、0 = 休日数"_s);
    p.labelled(9, 40, u"全不可の枠色"_s, 41, centred(inputStyle()), 0.0);
    p.note(9, 42, u"色番号、0 = 枠なし"_s);

    p.text(u"AR3"_s, u"勤務不可マスク（自動）"_s, sectionStyle());
    p.style(u"AR5:BV54"_s, small(centred(derivedStyle()), 8));

    p.width(u"A:A"_s, 4);
    p.width(u"B:B"_s, 7);
    p.width(u"C:C"_s, 12.5);
    p.width(u"D:D"_s, kGroupWidth);
    p.width(u"AJ:AK"_s, 9);
    p.width(u"AL:AM"_s, 2);
    p.width(u"AN:AN"_s, 13);
    p.width(u"AO:AO"_s, 6);
    p.width(u"AP:AQ"_s, 2);
    p.width(u"AR:BV"_s, 4.5);
    ws.freezePanes(4, 4);
    printSetUp(ws, u"A1:AK54"_s, xl::kLandscape, u"$3:$4"_s);
    ws.protect();
}

void buildNeedSheet(xl::Worksheet& ws)
{
    Painter p(ws);
    p.text(u"A1"_s, u"要員設定"_s, titleStyle());
    p.text(u"E1"_s, u"勤務ごと・日ごとに必要な人数を入力"_s, noteStyle());
    p.text(u"B3"_s, u"勤務"_s, headingStyle());
    p.text(u"C3"_s, u"略称"_s, headingStyle());
    p.style(u"B4:C4"_s, headingStyle());
    dayHeadings(p, layout::kNeedLeft);
    p.text(u"AI3"_s, u"合計"_s, headingStyle());
    p.style(u"AI4"_s, headingStyle());
    p.style(u"B5:C14"_s, derivedStyle());
    p.style(u"D5:AH14"_s, centred(inputStyle()));
    p.style(u"AI5:AI15"_s, centred(derivedStyle()));
    p.text(u"B15"_s, u"合計"_s, labelStyle());
    p.style(u"C15"_s, labelStyle());
    p.style(u"D15:AH15"_s, centred(derivedStyle()));

    // Group combinations beside the needs.
    auto groupTable = [&](int left, int countCol, const QString& title) {
        p.text(cellName(3, left), title, sectionStyle());
        p.text(cellName(4, left), u"勤務"_s, headingStyle());
        p.text(cellName(4, left + 1), u"人数"_s, headingStyle());
        p.text(cellName(4, left + 2), u"職制"_s, headingStyle());
        p.style(cellName(5, left) + u':' + cellName(19, left + 2), inputStyle());
        p.style(cellName(5, left + 1) + u':' + cellName(19, left + 1), centred(inputStyle()));
        p.text(cellName(4, countCol), u"件数"_s, small(labelStyle()));
        p.style(cellName(5, countCol), centred(derivedStyle()));
    };
    groupTable(37, 41, u"職制の組合せ禁止"_s);
    groupTable(43, 47, u"職制の組合せ必須"_s);
    p.note(20, 37, u"勤務・職制の * はすべて"_s);

    // Member combinations: shift, number, members in every fifth column with their names.
    auto memberTable = [&](int top, const QString& title, const QString& hint) {
        p.text(cellName(top - 2, 2), title, sectionStyle());
        p.labelled(top - 2, 16, u"件数"_s, 17, centred(derivedStyle()));
        p.note(top - 2, 19, hint);
        p.text(cellName(top - 1, 2), u"勤務"_s, headingStyle());
        p.text(cellName(top - 1, 3), u"人数"_s, headingStyle());
        p.text(cellName(top - 1, 4), u"(人数)"_s, small(headingStyle()));
        p.style(cellName(top, 2) + u':' + cellName(top + kCombinationRows - 1, 2), inputStyle());
        p.style(cellName(top, 3) + u':' + cellName(top + kCombinationRows - 1, 3), centred(inputStyle()));
        p.style(cellName(top, 4) + u':' + cellName(top + kCombinationRows - 1, 4), small(centred(derivedStyle())));
        for (int k = 1; k <= 40; ++k) {
            const int c = 2 + 3 + 5 * (k - 1);   // range column 4 + 5(k-1)
            p.text(cellName(top - 1, c), QString::number(k), small(headingStyle()));
            p.text(cellName(top - 1, c + 1), u"氏名"_s, small(headingStyle()));
            p.style(cellName(top - 1, c + 2) + u':' + cellName(top - 1, c + 4), small(headingStyle()));
            p.style(cellName(top, c) + u':' + cellName(top + kCombinationRows - 1, c), centred(inputStyle()));
            p.style(cellName(top, c + 1) + u':' + cellName(top + kCombinationRows - 1, c + 4),
                    small(derivedStyle(), 8));
        }
    };
    memberTable(23, u"組合せ禁止（同じ日に同じ勤務に入れない職員）"_s,
                u"勤務名（* はすべて）、人数、職員の番号を入力。職制の禁止と合わせて 16 件まで"_s);
    memberTable(41, u"組合せ必須（同じ日に一緒に入る職員）"_s,
                u"勤務名（* はすべて）、人数、職員の番号を入力"_s);

    p.width(u"A:A"_s, 2);
    p.width(u"B:B"_s, 10);
    p.width(u"C:C"_s, 5);
    p.width(u"D:GR"_s, 4.5);
    ws.freezePanes(0, 3);
    printSetUp(ws, u"A1:AW55"_s, xl::kLandscape);   // the group tables and nine members a row
    ws.protect();
}

void buildReserveSheet(xl::Worksheet& ws)
{
    Painter p(ws);
    p.text(u"A1"_s, u"予約表"_s, titleStyle());
    p.text(u"C1"_s, u"必ずその勤務にしたい日に勤務の略称を入力"_s, noteStyle());
    p.text(u"A3"_s, u"番号"_s, headingStyle());
    p.text(u"B3"_s, u"氏名"_s, headingStyle());
    p.style(u"A4:B4"_s, headingStyle());
    dayHeadings(p, layout::kReserveLeft);
    p.style(u"A5:B54"_s, derivedStyle());
    p.style(u"C5:AG54"_s, centred(inputStyle()));
    p.labelled(3, 35, u"予約数"_s, 36, centred(derivedStyle()));
    p.labelled(4, 35, u"予約の枠色"_s, 36, centred(inputStyle()), 0.0);
    p.note(5, 35, u"色番号、0 = 枠なし"_s);
    p.width(u"A:A"_s, 7);
    p.width(u"B:B"_s, 12.5);
    p.width(u"AH:AH"_s, 2);
    p.width(u"AI:AI"_s, 12);
    p.width(u"AJ:AJ"_s, 6);
    ws.freezePanes(4, 2);
    printSetUp(ws, u"A1:AG54"_s, xl::kLandscape, u"$3:$4"_s, 1);
    ws.protect();
}

void buildMainSheet(xl::Worksheet& ws, QDate period)
{
    Painter p(ws);
    p.text(u"A1"_s, u"開始条件"_s, titleStyle());
    struct Item { int row; const char16_t* label; QVariant initial; const char16_t* hint; };
    const Item items[] = {
        {3, u"年", double(period.year()), u""},
        {4, u"月", double(period.month()), u""},
        {5, u"作成開始日", 1.0, u"この日から作成します"},
        {6, u"期間の開始日", 1.0, u"1 = 月初めから月末まで"},
        {7, u"制限時間（分）", 10.0, u""},
        {8, u"試行回数", 10.0, u""},
        {12, u"バックグラウンド動作", false, u"TRUE / FALSE"},
        {13, u"ベストシフト作成", false, u"TRUE / FALSE"},
        {14, u"作成方法", 2.0, u"0 単勤・単休 最少化（高）、1 同（低）、2 確保優先"},
        {16, u"HTML の項目", QVariant(), u""},
        {17, u"HTML の出力先", QVariant(), u""},
    };
    for (const Item& it : items) {
        p.text(cellName(it.row, 2), QString::fromUtf16(it.label), labelStyle());
        p.style(cellName(it.row, 3), centred(inputStyle()));
        if (it.initial.isValid())
            p.value(cellName(it.row, 3), it.initial);
        p.note(it.row, 4, QString::fromUtf16(it.hint));
    }
    p.style(u"C16:C17"_s, inputStyle());
    // The page-kind flags are a text of digits ("01100000"): as a number they would lose their
    // leading zeros and select the wrong pages.
    p.style(u"C16"_s, withFormat(inputStyle(), u"@"_s));
    p.text(u"B10"_s, u"期間"_s, labelStyle());
    p.style(u"C10"_s, derivedStyle());
    p.width(u"A:A"_s, 2);
    p.width(u"B:B"_s, 22);
    p.width(u"C:C"_s, 14);
    printSetUp(ws, u"A1:H17"_s, xl::kPortrait);
    ws.protect();
}

// A view sheet: its index cell A1 and a title in row 1; the pictured area from `drawn` on stays
// empty here. It prints what is drawn there, on one page under its title row; until a view is
// drawn its print area is that empty cell, so printing the book gives no page for it.
void buildViewSheet(xl::Worksheet& ws, const QString& title, const QString& drawn, int orientation,
                    const QString& titleCell = u"B1"_s)
{
    Painter p(ws);
    p.text(titleCell, title, titleStyle());
    p.value(u"A1"_s, 1.0);
    printSetUp(ws, drawn, orientation, u"$1:$1"_s, 1);
}

QDate defaultPeriod()
{
    const QDate next = os::today().addMonths(1);
    return QDate(next.year(), next.month(), 1);
}

}  // namespace

void showWorkingCells(xl::Workbook& book, bool shown)
{
    const std::pair<QString, QString> working[] = {
        {kRosterSheet, u"BM:CO"_s},    // selection state, Dirty, TimeSum, last month, running totals
        {u"スケジュール"_s, u"AR:BV"_s},  // Member_Scdl masks
        {u"基本設定"_s, u"U:V"_s},        // the type lists
        {u"基本設定"_s, u"28:28"_s},      // DayBefore_Table masks
    };
    for (const auto& [sheet, lines] : working)
        book.worksheets(sheet).range(lines).setHidden(!shown);
    book.worksheets(u"dbg"_s).setVisible(shown ? xl::kSheetVisible : xl::kSheetHidden);
}

const std::vector<NameEntry>& templateNames()
{
    return kNames;
}

QStringList templateSheets()
{
    return {kRosterSheet, u"Main"_s, u"基本設定"_s, u"スケジュール"_s, u"要員設定"_s, u"予約表"_s,
            u"シフト別"_s, u"シフト一覧"_s, u"日別要員"_s, u"時間帯別"_s, u"個人別"_s,
            u"名前リスト"_s, u"dbg"_s};
}

namespace {

QString placeText(const xl::Range& r)
{
    return u"%1!%2 (%3 行 %4 列)"_s.arg(xl::quoteSheetName(r.worksheet().name()), r.address())
        .arg(r.rowCount())
        .arg(r.columnCount());
}

// What is wrong with one name of the template, the way the program reaches it: through its sheet
// and, for a workbook-level name, through the workbook too; empty when nothing is.
QString nameProblem(xl::Workbook& book, xl::Worksheet& ws, const NameEntry& n)
{
    const xl::Range want = ws.range(n.address);
    for (const xl::Worksheet* scope : {&ws, n.way == 'A' ? nullptr : &ws}) {
        const std::optional<xl::Range> found = book.findName(n.name, scope);
        if (!found)
            return u"名前 \"%1\" がないか、セル範囲を指していません"_s.arg(n.name);
        if (*found != want)
            return u"名前 \"%1\" が %2 を指しています。%3 のはずです"_s.arg(n.name, placeText(*found), placeText(want));
    }
    return {};
}

}  // namespace

void checkNames(xl::Workbook& book)
{
    constexpr int kShown = 5;
    QStringList problems;
    for (const QString& sheet : templateSheets())
        if (!book.findSheet(sheet))
            problems << u"シート \"%1\" がありません"_s.arg(sheet);
    for (const NameEntry& n : kNames) {
        xl::Worksheet* ws = book.findSheet(n.sheet);
        const QString problem = ws ? nameProblem(book, *ws, n) : QString();
        if (!problem.isEmpty())
            problems << problem;
    }
    if (problems.isEmpty())
        return;
    const qsizetype more = problems.size() - kShown;
    if (more > 0) {
        problems.resize(kShown);
        problems << u"ほか %1 か所"_s.arg(more);
    }
    throw xl::Error(1004, u"'%1' は壊れているため開けません: シートか名前の付いたセル範囲が勤務表のひな形と違います。\n%2"_s.arg(
                              QDir::toNativeSeparators(book.fullName()), problems.join(u'\n')));
}

xl::Workbook& createTemplate(xl::Application& app, QDate period)
{
    if (!period.isValid())
        period = defaultPeriod();
    xl::Workbook& book = app.workbooks().add();
    const QStringList sheets = templateSheets();
    book.worksheets(1).setName(sheets.front());
    for (int i = 1; i < sheets.size(); ++i)
        book.addSheet(sheets[i]);

    buildShiftSheet(book.worksheets(kRosterSheet));
    buildMainSheet(book.worksheets(u"Main"_s), period);
    buildBasicSheet(book.worksheets(u"基本設定"_s));
    buildScheduleSheet(book.worksheets(u"スケジュール"_s));
    buildNeedSheet(book.worksheets(u"要員設定"_s));
    buildReserveSheet(book.worksheets(u"予約表"_s));
    buildViewSheet(book.worksheets(u"シフト別"_s), u"シフト別人員"_s, u"B4"_s, xl::kPortrait);
    buildViewSheet(book.worksheets(u"シフト一覧"_s), u"シフト一覧"_s, u"C4"_s, xl::kLandscape);
    buildViewSheet(book.worksheets(u"日別要員"_s), u"日別要員"_s, u"A3"_s, xl::kLandscape, u"C1"_s);
    book.worksheets(u"日別要員"_s).range(u"B1"_s).setValue(0.0);   // YoinMax
    buildViewSheet(book.worksheets(u"時間帯別"_s), u"時間帯別勤務状況"_s, u"A4"_s, xl::kLandscape);
    buildViewSheet(book.worksheets(u"個人別"_s), u"個人別"_s, u"B3"_s, xl::kPortrait);
    {
        // The hand-over cell of the condition file's path is nothing to print: the print area
        // is an empty cell, so printing the book gives no page for it.
        Painter p(book.worksheets(u"名前リスト"_s));
        p.text(u"B1"_s, u"条件ファイル"_s, labelStyle());
        p.width(u"B:B"_s, 12);
        p.width(u"C:C"_s, 60);
        p.sheet().setPrintArea(u"A1"_s);
    }

    for (const NameEntry& n : kNames) {
        xl::Worksheet& ws = book.worksheets(n.sheet);
        book.defineName(n.name, ws.range(n.address), n.way == 'A' ? nullptr : &ws);
    }

    book.worksheets(kRosterSheet).activate();
    showWorkingCells(book, false);
    attach(book);
    book.setSaved(true);
    return book;
}

}  // namespace workbook
