#include "optimise/readjust.h"

#include "engine/convert.h"
#include "engine/model.h"
#include "engine/rules.h"
#include "engine/totals.h"
#include "platform/os/clock.h"
#include "platform/text/vb.h"
#include "platform/ui/prompt.h"
#include "shell/msgbox.h"
#include "shell/myexcel.h"
#include "shell/period.h"

#include <algorithm>

namespace {

constexpr int kProposalFill = 5;
constexpr int kProposalEdge = 3;
const QString kCrLf = QStringLiteral("\r\n");

bool 許される(int d, int a, int b)
{
    return exchangeAllowed(QString(), d, a, b);
}

void 記録表示(const 交換記録& r)
{
    for (int m : {r.x, r.y})
        勤務セル(m, r.day).setValue(勤務記号(Time_Table(m, r.day)));
}

// Both cells of every record once, in the order they first appear.
std::vector<std::pair<int, int>> 提案セル(const std::vector<交換記録>& records)
{
    std::vector<std::pair<int, int>> cells;
    for (const 交換記録& r : records)
        for (int m : {r.x, r.y})
            if (std::find(cells.begin(), cells.end(), std::pair(m, r.day)) == cells.end())
                cells.emplace_back(m, r.day);
    return cells;
}

std::vector<セル外観> 外観保存(const std::vector<交換記録>& records)
{
    std::vector<セル外観> saved;
    for (const auto& [m, d] : 提案セル(records)) {
        const xl::Range cell = 勤務セル(m, d);
        xl::Worksheet& sheet = cell.worksheet();
        const int row = cell.row(), column = cell.column();
        saved.push_back({m, d, cell.style(),
                         {sheet.cells(row, column - 1).style().right, sheet.cells(row - 1, column).style().bottom,
                          sheet.cells(row + 1, column).style().top, sheet.cells(row, column + 1).style().left}});
    }
    return saved;
}

void 外観復元(const std::vector<セル外観>& saved)
{
    for (auto it = saved.rbegin(); it != saved.rend(); ++it) {
        const xl::Range cell = 勤務セル(it->member, it->day);
        cell.setStyle(it->style);
        xl::Worksheet& sheet = cell.worksheet();
        const int row = cell.row(), column = cell.column();
        const std::pair<xl::Range, xl::BorderEdge xl::CellStyle::*> neighbours[] = {
            {sheet.cells(row, column - 1), &xl::CellStyle::right},
            {sheet.cells(row - 1, column), &xl::CellStyle::bottom},
            {sheet.cells(row + 1, column), &xl::CellStyle::top},
            {sheet.cells(row, column + 1), &xl::CellStyle::left},
        };
        for (size_t k = 0; k < 4; ++k) {
            xl::CellStyle style = neighbours[k].first.style();
            style.*neighbours[k].second = it->facing[k];
            neighbours[k].first.setStyle(style);
        }
    }
}

void 提案着色(const std::vector<交換記録>& records)
{
    for (const auto& [m, d] : 提案セル(records)) {
        const xl::Range cell = 勤務セル(m, d);
        cell.interior().setColorIndex(kProposalFill);
        for (int edge : {xl::kEdgeLeft, xl::kEdgeTop, xl::kEdgeBottom, xl::kEdgeRight})
            cell.borders(edge).setColorIndex(kProposalEdge);
    }
}

QString 失敗文(bool gaveUp)
{
    if (!gaveUp)
        return QStringLiteral("調整失敗");
    return QStringLiteral("調整失敗") + kCrLf + kCrLf
        + QStringLiteral("入れ替えの組合せが多すぎるため、探索を途中で打ち切りました。");
}

}  // namespace

int 再調整探索::実行(int d, int t)
{
    list_.clear();
    started_ = os::elapsedMs();
    return search(d, t);
}

int 再調整探索::search(int d, int t)
{
    // The last day has no next day to move a rest to; a member already resting has nothing to give.
    if (d >= Day_Cnt || Time_Table(t, d) == 0)
        return 0;
    if (const int k = direct(d, t))
        return k;
    if (const int k = twoStep(d, t))
        return k;
    return nextDay(d, t);
}

int 再調整探索::direct(int d, int t)
{
    for (int k = 1; k <= Member_Cnt; ++k) {
        if (k == t || Time_Table(k, d) != 0)
            continue;
        const int r = trial(t, k, d);
        if (r < 0)
            continue;
        勤務変更(t, k, d);
        if (r == 0) {
            list_.push_back({d, t, k});
            return k;
        }
    }
    return 0;
}

int 再調整探索::twoStep(int d, int t)
{
    for (int i = 1; i <= Member_Cnt; ++i) {
        if (i == t || Time_Table(i, d) != 0)
            continue;
        for (int j = 1; j <= Member_Cnt; ++j) {
            if (j == t || Time_Table(j, d) == 0)
                continue;
            const int r = trial(i, j, d);
            if (r < 0)
                continue;
            int k = 0;
            if (r == 0) {
                list_.push_back({d, i, j});
                k = direct(d, t);
            }
            勤務変更(i, j, d);
            if (k > 0)
                return k;
            if (r == 0)
                list_.pop_back();
        }
    }
    return 0;
}

int 再調整探索::nextDay(int d, int t)
{
    // Only a resting colleague can take the shift; one who works would leave t working.
    for (int k = 1; k <= Member_Cnt; ++k) {
        if (k == t || Time_Table(k, d) != 0)
            continue;
        const int r = trial(t, k, d);
        if (r < 0)
            continue;
        const size_t at = list_.size();
        int found = 0;
        if (r == 1) {
            list_.push_back({d, t, k});
            found = search(d + 1, k);
        }
        勤務変更(t, k, d);
        // k took the shift against a rule, trusting the later days to mend it: they must have.
        if (found > 0 && chainHolds(at))
            return found;
        list_.resize(at);
    }
    return 0;
}

int 再調整探索::trial(int a, int b, int d)
{
    // The clock is read now and then: a trial takes well under a microsecond.
    if (left_ <= 0 || (++trials_ % 65536 == 0 && os::elapsedMs() - started_ >= kTimeLimitMs))
        gaveUp_ = true;
    if (gaveUp_)
        return -1;
    --left_;
    if (a == b)
        return -1;
    // Who takes a shift is judged as the generation judges a new assignment, on the table before
    // it: judged after the exchange the day would count twice, and a colleague one day short of
    // the target could not take it. Giving a shift away is for the exchange test alone.
    const int sa = Time_Table(a, d);
    const int sb = Time_Table(b, d);
    if (sb != 0 && 勤務可否判定(sb, d, a, Day_Cnt) != 0)
        return -1;
    const bool refused = sa != 0 && 勤務可否判定(sa, d, b, Day_Cnt) != 0;
    勤務変更(a, b, d);
    if (refused)
        return 1;
    if (!許される(d, a, b)) {
        勤務変更(a, b, d);
        return -1;
    }
    return 0;
}

bool 再調整探索::chainHolds(size_t from)
{
    for (size_t i = from; i < list_.size(); ++i)
        勤務変更(list_[i].x, list_[i].y, list_[i].day);
    bool holds = true;
    for (size_t i = from; i < list_.size() && holds; ++i)
        holds = 許される(list_[i].day, list_[i].x, list_[i].y);
    for (size_t i = list_.size(); i-- > from;)
        勤務変更(list_[i].x, list_[i].y, list_[i].day);
    return holds;
}

std::optional<再調整対象> 再調整対象取得(const 選択セル& cell)
{
    if (cell.text.isEmpty() || !xlBook)
        return std::nullopt;
    // Every shift row: a rest symbol or an unknown text names no shift.
    const xl::Range types = xlBook->worksheets(QStringLiteral("基本設定")).range(QStringLiteral("Type_Table_List"));
    int row = 0;
    for (int i = 1; i <= types.rowCount() && row == 0; ++i)
        if (types.cells(i, 2).text() == cell.text)
            row = i;
    if (row == 0)
        return std::nullopt;
    const xl::Range members = xlBook->worksheets(QStringLiteral("スケジュール")).range(QStringLiteral("Member_List"));
    return 再調整対象{cell.text, members.cells(cell.member, 1).text(), members.cells(cell.member, 2).text(),
                      types.cells(row, 1).text(), Format(現在期間().日付(cell.day), QStringLiteral("yyyy/m/d(aaa)"))};
}

QString 再調整提案文(const std::vector<交換記録>& records)
{
    QString text = QStringLiteral("以下のように勤務を入れ替えて調整します") + kCrLf + kCrLf;
    for (const 交換記録& r : records)
        text += Format(現在期間().日付(r.day), QStringLiteral("yyyy/mm/dd")) + QStringLiteral("日　<")
            + QString::number(MemNo(r.x)) + QLatin1Char(' ') + MemName(r.x) + QStringLiteral("> ⇔ <")
            + QString::number(MemNo(r.y)) + QLatin1Char(' ') + MemName(r.y) + QLatin1Char('>') + kCrLf + kCrLf;
    return text;
}

bool 再調整実行(int t, int d, 再調整状態& state, long budget)
{
    state = {};
    if (!月再読込())
        return false;
    if (t < 1 || t > Member_Cnt || d < 1 || d > Day_Cnt || Time_Table(t, d) == 0) {
        MsgBox(QStringLiteral("選択セルは空白(休み)です！"), ui::vbOKOnly | ui::vbSystemModal, QStringLiteral("無効"));
        return false;
    }
    再調整探索 search(budget);
    if (search.実行(d, t) == 0) {
        MsgBox(失敗文(search.打切り()), ui::vbOKOnly | ui::vbSystemModal);
        return false;
    }
    const std::vector<交換記録> records = search.記録();
    const std::vector<セル外観> saved = 外観保存(records);
    提案着色(records);
    if (MsgBox(再調整提案文(records) + kCrLf + QStringLiteral("入れ替えますか？"), ui::vbOKCancel | ui::vbSystemModal,
               QStringLiteral("勤務調整"))
        != ui::vbOK) {
        外観復元(saved);
        return false;
    }
    for (const 交換記録& r : records) {
        勤務変更(r.x, r.y, r.day);
        記録表示(r);
    }
    state = {records, saved, true};
    return true;
}

void 再調整取消(再調整状態& state)
{
    if (!state.applied || !月再読込())
        return;
    外観復元(state.saved);
    for (auto it = state.records.rbegin(); it != state.records.rend(); ++it) {
        勤務変更(it->x, it->y, it->day);
        記録表示(*it);
    }
    state.applied = false;
}
