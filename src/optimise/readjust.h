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
struct ExchangeRecord {
    int day = 0;
    int x = 0;
    int y = 0;
    bool operator==(const ExchangeRecord&) const = default;
};

// The search for a chain that lets member t rest on day d. It leaves Time_Table and the totals as
// it found them. The branching grows with every later day, so the search gives up after a budget
// of trial exchanges or after a few seconds, whichever comes first.
class ReadjustChainSearch {
public:
    static constexpr long kBudget = 5000000;
    static constexpr qint64 kTimeLimitMs = 3000;
    explicit ReadjustChainSearch(long budget = kBudget) : left_(budget) {}

    // The partner that finally takes a shift (> 0), or 0 when there is no chain.
    int run(int d, int t);
    // The exchanges in the order they are to be made.
    const std::vector<ExchangeRecord>& records() const { return list_; }
    // The budget ran out before a chain was found.
    bool gaveUp() const { return gaveUp_; }

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

    std::vector<ExchangeRecord> list_;
    long left_;
    long trials_ = 0;
    qint64 started_ = 0;  // on the program's clock
    bool gaveUp_ = false;
};

// What the window shows of a selected grid cell.
struct ReadjustTarget {
    QString abbreviation;
    QString memberNo;
    QString memberName;
    QString shiftName;
    QString dateText;  // yyyy/m/d(aaa)
};
// Read from the sheets; nothing for an empty cell or a rest day.
std::optional<ReadjustTarget> readjustTarget(const SelectedCell& cell);

// A cell's look before a proposal coloured it, with the edges its neighbours share with it.
struct CellLook {
    int member = 0;
    int day = 0;
    xl::CellStyle style;
    // The left neighbour's right edge, the upper one's bottom, the lower one's top, the right one's
    // left.
    std::array<xl::BorderEdge, 4> facing;
};

// The state of frm再調整 between its buttons: the proposal last applied and the looks it covered.
struct ReadjustState {
    std::vector<ExchangeRecord> records;
    std::vector<CellLook> saved;
    bool applied = false;
};

// Makes member t rest on period day d: reloads the month, searches, colours and asks, and applies
// the chain on OK. True when a proposal was applied (it can then be undone).
bool runReadjust(int t, int d, ReadjustState& state, long budget = ReadjustChainSearch::kBudget);
// Undoes the applied proposal: the exchanges in reverse order on the month as the sheet holds it
// now, and the cells' looks back.
void undoReadjust(ReadjustState& state);

// The proposal's text, one line per exchange.
QString readjustProposal(const std::vector<ExchangeRecord>& records);
