#pragma once
// The re-adjustment: one working cell of the finished table becomes a rest day, and the month is
// kept valid by exchanging shifts. The member gives the shift to a resting colleague directly, or
// after one exchange between two others on the same day, or the colleague takes it although a rule
// then refuses it and in turn rests on the next day, and so on. The proposal is shown coloured on
// the sheet, applied after confirmation and can be undone.
#include "optimise/manual_common.h"
#include "platform/xl/xl.h"

#include <QString>
#include <array>
#include <optional>
#include <vector>

// One exchange of the shifts of members x and y on period day d.
struct 交換記録 {
    int day = 0;
    int x = 0;
    int y = 0;
    bool operator==(const 交換記録&) const = default;
};

// The search for a chain that lets member t rest on day d. It leaves Time_Table and the totals as
// it found them. The branching grows with every later day, so the search gives up after a budget
// of trial exchanges or after a few seconds, whichever comes first.
class 再調整探索 {
public:
    static constexpr long kBudget = 5000000;
    static constexpr qint64 kTimeLimitMs = 3000;
    explicit 再調整探索(long budget = kBudget) : left_(budget) {}

    // The partner that finally takes a shift (> 0), or 0 when there is no chain.
    int 実行(int d, int t);
    // The exchanges in the order they are to be made.
    const std::vector<交換記録>& 記録() const { return list_; }
    // The budget ran out before a chain was found.
    bool 打切り() const { return gaveUp_; }

private:
    int search(int d, int t);
    int direct(int d, int t);
    int twoStep(int d, int t);
    int nextDay(int d, int t);
    // Exchanges a and b on day d: -1 refused (nothing made); 1 made although b may not take a's
    // shift; 0 made and allowed. The caller undoes a made exchange.
    int trial(int a, int b, int d);
    // The records from `from` on, made together, each pass the exchange test.
    bool chainHolds(size_t from);

    std::vector<交換記録> list_;
    long left_;
    long trials_ = 0;
    qint64 started_ = 0;  // on the program's clock
    bool gaveUp_ = false;
};

// What the window shows of a selected grid cell.
struct 再調整対象 {
    QString abbreviation;
    QString memberNo;
    QString memberName;
    QString shiftName;
    QString dateText;  // yyyy/m/d(aaa)
};
// Read from the sheets; nothing for an empty cell or a rest day.
std::optional<再調整対象> 再調整対象取得(const 選択セル& cell);

// A cell's look before a proposal coloured it, with the edges its neighbours share with it.
struct セル外観 {
    int member = 0;
    int day = 0;
    xl::CellStyle style;
    // The left neighbour's right edge, the upper one's bottom, the lower one's top, the right one's
    // left.
    std::array<xl::BorderEdge, 4> facing;
};

// The state of frm再調整 between its buttons: the proposal last applied and the looks it covered.
struct 再調整状態 {
    std::vector<交換記録> records;
    std::vector<セル外観> saved;
    bool applied = false;
};

// Makes member t rest on period day d: reloads the month, searches, colours and asks, and applies
// the chain on OK. True when a proposal was applied (it can then be undone).
bool 再調整実行(int t, int d, 再調整状態& state, long budget = 再調整探索::kBudget);
// Undoes the applied proposal: the exchanges in reverse order on the month as the sheet holds it
// now, and the cells' looks back.
void 再調整取消(再調整状態& state);

// The proposal's text, one line per exchange.
QString 再調整提案文(const std::vector<交換記録>& records);
