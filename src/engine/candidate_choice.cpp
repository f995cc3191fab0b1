#include "engine/candidate_choice.h"

#include "engine/convert.h"
#include "engine/day_placement.h"
#include "engine/rules.h"
#include "engine/rules_candidate.h"
#include "platform/text/text_constants.h"
#include "platform/text/vb.h"
#include "shell/mymod.h"

#include <vector>

namespace {

QString dayText(int d)
{
    return QStringLiteral("月日=") + 日付文字列(d, QStringLiteral("mm/dd"));
}

// Positions 1..Member_Cnt of the candidate table: the member order with Member_Cnt random
// exchanges, then ranked unless the mode asks for the random order alone.
vb::TwoDimArray<int>& rankedCandidates(int d, int t)
{
    // Kept between calls: ReDim then reuses the memory, and a day asks for hundreds of slots.
    static vb::TwoDimArray<int> table;
    const int n = Member_Cnt;
    table.ReDim(n, 7);
    for (int i = 1; i <= n; ++i)
        table(i, 1) = Member_RndIdx(i);
    for (int k = 1; k <= n; ++k) {
        const int a = int(Int(n * double(MyRnd(1)))) + 1;
        const int b = int(Int(n * double(MyRnd(1)))) + 1;
        std::swap(table(a, 1), table(b, 1));
    }
    if (Sw_確保優先 < 2) {
        候補評価(table, n, d, t);
        SortCols(table, 6, Sw_勤務集中 ? 5 : 4, 1, n, false);
    }
    return table;
}

// The refusal lines, in member order; built only when nobody may take the slot.
QString reasonLines(const std::vector<RefusalReason>& codes, int t, int d)
{
    QString text;
    for (int m = 1; m <= Member_Cnt; ++m) {
        if (codes[size_t(m)] == RefusalReason::None)
            continue;
        text += QStringLiteral("→") + FmtPad(double(MemNo(m)), 3, QStringLiteral("右詰")) + QLatin1Char(':')
            + refusalText(codes[size_t(m)], m, t, d) + kCrLf;
    }
    return text;
}

}  // namespace

int 候補理由一覧(int d, int t, QString& reasons)
{
    const vb::TwoDimArray<int>& table = rankedCandidates(d, t);
    static std::vector<RefusalReason> codes;
    codes.assign(size_t(Member_Cnt) + 2, RefusalReason::None);
    for (int i = 1; i <= Member_Cnt; ++i) {
        const int m = table(i, 1);
        // The required-sequence test is among the rule's own tests, so an allowed member can
        // also complete any sequence t starts.
        const RefusalReason code = refusalCode(m, t, d);
        if (code == RefusalReason::None)
            return m;
        codes[size_t(m)] = code;
    }
    reasons = reasonLines(codes, t, d);
    return 0;
}

int Pair_Check(int memNo, long typeNo)
{
    int partner = 0;
    for (int r = 1; r <= 組合せ必須数; ++r) {
        const 組合せ記録& rec = Mem_Hissu(r);
        const int n = rec.メンバー[0];
        if (rec.勤務 != typeNo || rec.人数 != n)
            continue;
        bool listed = false;
        int other = 0;
        for (int i = 1; i <= n; ++i) {
            const int x = rec.メンバー[size_t(i)] > 0 ? rec.memberIndex[size_t(i)] : 0;
            if (x == memNo && x != 0)
                listed = true;
            else
                other = x;
        }
        if (listed)
            partner = other;
    }
    return partner;
}

namespace {

// Pair partner p joins shift t on day d, tested with the member's chain laid, so that a ban on a
// follow-up day sees both; false (and the day's log says why) when p may not.
bool placePartner(int p, int t, int d)
{
    const QString refusal = 勤務不可理由(p, t, d);
    if (!refusal.isEmpty()) {
        dayPlacementLog += kCrLf + dayText(d) + QStringLiteral(",勤務=") + QString::number(t)
            + QStringLiteral(",メンバー組合せ必須エラー") + kCrLf + refusal + kCrLf;
        return false;
    }
    placeWithChain(p, t, d);
    return true;
}

// A member who already holds shift t on day d by another path (a reservation, a carried follower,
// a chain) brings the partner of a pair too. A partner the user fixed on something else, or a pair
// the fixed cells split, is a conflict no try can mend: it is left as it is. A partner on a shift
// the run laid itself fails the try like any other split.
bool partnersOfHolders(int d, int t)
{
    for (int m = 1; m <= Member_Cnt; ++m) {
        if (Time_Table(m, d) != t)
            continue;
        const int p = Pair_Check(m, t);
        if (p > 0 && Time_Table(p, d) != t && !fixedByUser(p, d) && !inFixedPairSplit(p, d, t) && !placePartner(p, t, d))
            return false;
    }
    return true;
}

}  // namespace

bool 勤務別候補選定(int d, const 勤務リスト& list)
{
    for (int k = 1; k <= list.n; ++k) {
        const int t = list.type[k];
        if (!partnersOfHolders(d, t))
            return false;
        // Counted once: a pair's partner takes a slot of its own, so a pair may overstaff by one.
        const int need = Need_Table(t, d) - 勤務回数(t, d);
        for (int slot = 1; slot <= need; ++slot) {
            QString reasons;
            const int m = 候補理由一覧(d, t, reasons);
            if (m == 0) {
                dayPlacementLog += kCrLf + dayText(d) + QStringLiteral(",勤務=") + QString::number(t) + QLatin1Char('(')
                    + TypeName1(t) + QStringLiteral("),適合無し") + kCrLf + reasons;
                return false;
            }
            placeWithChain(m, t, d);
            // A partner already on the shift (reserved, carried over, placed earlier) keeps the pair
            // as it is.
            const int p = Pair_Check(m, t);
            if (p > 0 && Time_Table(p, d) != t && !placePartner(p, t, d))
                return false;
        }
    }
    return true;
}
