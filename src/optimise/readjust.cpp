#include "optimise/readjust.h"

#include "engine/convert.h"
#include "engine/model.h"
#include "engine/rules.h"
#include "engine/totals.h"
#include "platform/os/clock.h"
#include "platform/text/text_constants.h"
#include "platform/text/vb.h"
#include "platform/ui/prompt.h"
#include "shell/msg_box.h"
#include "shell/excel_layer.h"
#include "shell/period.h"

#include <algorithm>

namespace {

constexpr int kProposalFill = 5;
constexpr int kProposalEdge = 3;

bool allowed(int d, int a, int b)
{
    return exchangeAllowed(QString(), d, a, b);
}

void showRecord(const ExchangeRecord& r)
{
    for (int m : {r.x, r.y})
        shiftCell(m, r.day).setValue(shiftSymbol(Time_Table(m, r.day)));
}

// Both cells of every record once, in the order they first appear.
std::vector<std::pair<int, int>> proposedCells(const std::vector<ExchangeRecord>& records)
{
    std::vector<std::pair<int, int>> cells;
    for (const ExchangeRecord& r : records)
        for (int m : {r.x, r.y})
            if (std::find(cells.begin(), cells.end(), std::pair(m, r.day)) == cells.end())
                cells.emplace_back(m, r.day);
    return cells;
}

std::vector<CellLook> saveLooks(const std::vector<ExchangeRecord>& records)
{
    std::vector<CellLook> saved;
    for (const auto& [m, d] : proposedCells(records)) {
        const xl::Range cell = shiftCell(m, d);
        xl::Worksheet& sheet = cell.worksheet();
        const int row = cell.row(), column = cell.column();
        saved.push_back({m, d, cell.style(),
                         {sheet.cells(row, column - 1).style().right, sheet.cells(row - 1, column).style().bottom,
                          sheet.cells(row + 1, column).style().top, sheet.cells(row, column + 1).style().left}});
    }
    return saved;
}

void restoreLooks(const std::vector<CellLook>& saved)
{
    for (auto it = saved.rbegin(); it != saved.rend(); ++it) {
        const xl::Range cell = shiftCell(it->member, it->day);
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

void colourProposal(const std::vector<ExchangeRecord>& records)
{
    for (const auto& [m, d] : proposedCells(records)) {
        const xl::Range cell = shiftCell(m, d);
        cell.interior().setColorIndex(kProposalFill);
        for (int edge : {xl::kEdgeLeft, xl::kEdgeTop, xl::kEdgeBottom, xl::kEdgeRight})
            cell.borders(edge).setColorIndex(kProposalEdge);
    }
}

QString failureText(bool gaveUp)
{
    if (!gaveUp)
        return QStringLiteral("調整失敗");
    return QStringLiteral("調整失敗") + kCrLf + kCrLf
        + QStringLiteral("入れ替えの組合せが多すぎるため、探索を途中で打ち切りました。");
}

}  // namespace

int ReadjustChainSearch::run(int d, int t)
{
    list_.clear();
    started_ = os::elapsedMs();
    return search(d, t);
}

int ReadjustChainSearch::search(int d, int t)
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

int ReadjustChainSearch::direct(int d, int t)
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

int ReadjustChainSearch::twoStep(int d, int t)
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

int ReadjustChainSearch::nextDay(int d, int t)
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

int ReadjustChainSearch::trial(int a, int b, int d)
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
    if (!allowed(d, a, b)) {
        勤務変更(a, b, d);
        return -1;
    }
    return 0;
}

bool ReadjustChainSearch::chainHolds(size_t from)
{
    for (size_t i = from; i < list_.size(); ++i)
        勤務変更(list_[i].x, list_[i].y, list_[i].day);
    bool holds = true;
    for (size_t i = from; i < list_.size() && holds; ++i)
        holds = allowed(list_[i].day, list_[i].x, list_[i].y);
    for (size_t i = list_.size(); i-- > from;)
        勤務変更(list_[i].x, list_[i].y, list_[i].day);
    return holds;
}

std::optional<ReadjustTarget> readjustTarget(const SelectedCell& cell)
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
    return ReadjustTarget{cell.text, members.cells(cell.member, 1).text(), members.cells(cell.member, 2).text(),
                      types.cells(row, 1).text(), Format(currentPeriod().日付(cell.day), QStringLiteral("yyyy/m/d(aaa)"))};
}

QString readjustProposal(const std::vector<ExchangeRecord>& records)
{
    QString text = QStringLiteral("以下のように勤務を入れ替えて調整します") + kCrLf + kCrLf;
    for (const ExchangeRecord& r : records)
        text += Format(currentPeriod().日付(r.day), QStringLiteral("yyyy/mm/dd")) + QStringLiteral("日　<")
            + QString::number(MemNo(r.x)) + QLatin1Char(' ') + MemName(r.x) + QStringLiteral("> ⇔ <")
            + QString::number(MemNo(r.y)) + QLatin1Char(' ') + MemName(r.y) + QLatin1Char('>') + kCrLf + kCrLf;
    return text;
}

bool runReadjust(int t, int d, ReadjustState& state, long budget)
{
    state = {};
    if (!reloadMonth())
        return false;
    if (t < 1 || t > Member_Cnt || d < 1 || d > Day_Cnt || Time_Table(t, d) == 0) {
        MsgBox(QStringLiteral("選択セルは空白(休み)です！"), ui::vbOKOnly | ui::vbSystemModal, QStringLiteral("無効"));
        return false;
    }
    ReadjustChainSearch search(budget);
    if (search.run(d, t) == 0) {
        MsgBox(failureText(search.gaveUp()), ui::vbOKOnly | ui::vbSystemModal);
        return false;
    }
    const std::vector<ExchangeRecord> records = search.records();
    const std::vector<CellLook> saved = saveLooks(records);
    colourProposal(records);
    if (MsgBox(readjustProposal(records) + kCrLf + QStringLiteral("入れ替えますか？"), ui::vbOKCancel | ui::vbSystemModal,
               QStringLiteral("勤務調整"))
        != ui::vbOK) {
        restoreLooks(saved);
        return false;
    }
    for (const ExchangeRecord& r : records) {
        勤務変更(r.x, r.y, r.day);
        showRecord(r);
    }
    state = {records, saved, true};
    return true;
}

void undoReadjust(ReadjustState& state)
{
    if (!state.applied || !reloadMonth())
        return;
    restoreLooks(state.saved);
    for (auto it = state.records.rbegin(); it != state.records.rend(); ++it) {
        勤務変更(it->x, it->y, it->day);
        showRecord(*it);
    }
    state.applied = false;
}
