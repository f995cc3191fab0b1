#include "rules_fixture.h"

#include "engine/model.h"
#include "engine/state.h"
#include "engine/totals.h"
#include "own_folder.h"
#include "shell/globals.h"

namespace rulesfx {

void makeModel(int members, int days, int types)
{
    resetIntoOwnFolder<resetEngineState>();
    作成年 = 2027;
    作成月 = 1;
    基準開始日 = 1;
    smallmodel::make(members, days, types);
    for (int t = 1; t <= types; ++t) {
        Type_Table(t, 0) = QString::number(t);
        Type_Span(t, 1) = t;
        Type_Count(t, 1) = t;
    }
    for (int m = 1; m <= members; ++m)
        Member_List(m, 2) = QStringLiteral("職員%1").arg(m);
    連続勤務上限 = 0;
    連続休み上限 = 0;
    基点曜日 = 0;
    週間勤務日数上限 = 0;
    Sw_勤務日数調整 = true;
    Sw_勤務時間調整 = false;
    Sw_初期値使用 = false;
}

void past(int m, const QString& cellsLastDayFirst)
{
    Sw_初期値使用 = true;
    for (int i = 0; i < cellsLastDayFirst.size(); ++i)
        Past_Table(m, i + 1) = shiftOf(cellsLastDayFirst.at(i));
    Time_Table(m, 0) = Past_Table(m, 1);
}

void addPattern(const QString& cells)
{
    const int p = ++Kinsi_Pattern_Cnt;
    Kinsi_Pattern(p, 0) = int(cells.size());
    for (int i = 0; i < cells.size(); ++i)
        Kinsi_Pattern(p, i + 1) = shiftOf(cells.at(i));
}

void addRequired(int first, int next)
{
    const int p = ++Hissu_Pattern_Cnt;
    Hissu_Pattern(p, 0) = 2;
    Hissu_Pattern(p, 1) = first;
    Hissu_Pattern(p, 2) = next;
}

void nightModel(int members, int days)
{
    makeModel(members, days);
    Sw_確保優先 = 0;
    for (int m = 1; m <= members; ++m)
        Member_RndIdx(m) = m;
    addRequired(2, 3);
}

void reserve(int m, int d, int s)
{
    Rsv_Table(m, d) = s;
    place(m, d, s);
}

namespace {
void fill(組合せ記録& rec, int shift, int count, std::initializer_list<int> members)
{
    rec = {};
    rec.勤務 = shift;
    rec.人数 = count;
    int i = 0;
    for (int m : members) {
        ++i;
        rec.メンバー[i] = m > 0 ? 100 + m : 0;
        rec.memberIndex[i] = m;
    }
    rec.メンバー[0] = i;
}
}  // namespace

void addBan(int shift, int count, std::initializer_list<int> members)
{
    fill(Mem_Kinsi(++組合せ禁止数), shift, count, members);
}

void addMust(int shift, int count, std::initializer_list<int> members)
{
    fill(Mem_Hissu(++組合せ必須数), shift, count, members);
}

}  // namespace rulesfx
