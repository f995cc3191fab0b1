#include "engine/model.h"

#include "shell/mylog.h"

void テーブル再定義()
{
    const int m = Member_Cnt;
    const int d = Day_Cnt;
    const int t = Type_Cnt;
    Time_Table.ReDim(m + 1, d + 1);
    Past_Table.ReDim(m + 1, 11);
    Rsv_Table.ReDim(m + 1, d + 1);
    Member_List.ReDim(m + 1, 4);
    Member_Sum.ReDim(m + 1, 13);
    Member_WorkDays.ReDim(m + 1);
    Member_DayOff.ReDim(m + 1);
    Member_Time.ReDim(m + 1);
    Member_Scdl.ReDim(m + 1, d + 1);
    Need_Table.ReDim(t + 2, d + 1);
    Type_Table.ReDim(t + 1, 20);
    Type_Span.ReDim(t + 1, 3);
    Type_Count.ReDim(t + 1, 3);
    Type_Color.ReDim(t + 1, 3);
    DayBefore_Table.ReDim(t + 1);
    Kinsi_Pattern.ReDim(kMaxPatterns, 6);
    Hissu_Pattern.ReDim(kMaxPatterns, 4);
    Member_RndIdx.ReDim(m + 1);
    最適化比重.ReDim(kMaxOptimiserWeights);
    Mem_Kinsi.ReDim(kMaxBannedGroups);
    BootLog(QStringLiteral("　テーブル再定義: ReDim Mem_Kinsi(組合せ禁止勤務数 + 1)"));
    Mem_Hissu.ReDim(kMaxRequiredGroups);
    BootLog(QStringLiteral("　テーブル再定義: ReDim Mem_Hissu(20 * 組合せ禁止勤務数 + 1)"));
    Mem_Kinsi_grp.ReDim(kMaxBannedGroups);
    BootLog(QStringLiteral("　テーブル再定義: ReDim Mem_Kinsi_grp(組合せ禁止勤務数 + 1)"));
    Mem_Hissu_grp.ReDim(kMaxRequiredGroups);
    BootLog(QStringLiteral("　テーブル再定義: ReDim Mem_Hissu_grp(20 * 組合せ禁止勤務数 + 1)"));
    Holiday_Chk.ReDim(d + 1);
    BootLog(QStringLiteral("　テーブル再定義: ReDim Holiday_Chk(Day_Cnt + 1)"));
    Member_Sum_K.ReDim(m + 1);
    BootLog(QStringLiteral("　テーブル再定義: ReDim Member_Sum_K(Member_Cnt + 1)"));
    Member_Sum_TTIME.ReDim(MEM_MAX + 1);
    shiftDayBits = {};
    BootLog(QStringLiteral("　テーブル再定義: ReDim Member_Sum_TTIME(MEM_MAX + 1)"));
}

void ClearMemberSum()
{
    for (int i = 1; i <= Member_Cnt; ++i) {
        for (int j = 1; j <= 13; ++j)
            Member_Sum(i, j) = 0;
        Member_Sum_K(i) = 0;
    }
    if (Member_Cnt >= 1)
        shiftDayBits = {};
}

void maximiseWorkArrays()
{
    Time_Table.ReDim(MEM_MAX + 1, DAY_MAX + 1);
    Past_Table.ReDim(MEM_MAX + 1, DAY_MAX);
    Need_Table.ReDim(TYPE_MAX + 1, DAY_MAX + 1);
    Holiday_Chk.ReDim(DAY_MAX + 1);
    Member_RndIdx.ReDim(MEM_MAX + 1);
}

void resetConditionModel()
{
    Member_Cnt = 0;
    Day_Cnt = 0;
    Type_Cnt = 0;
    Start_Day = 0;
    Time_Table = {};
    Past_Table = {};
    Rsv_Table = {};
    Member_List = {};
    Member_Sum = {};
    Member_WorkDays = {};
    Member_DayOff = {};
    Member_Time = {};
    Member_Scdl = {};
    Need_Table = {};
    Type_Table = {};
    Type_Span = {};
    Type_Count = {};
    Type_Color = {};
    DayBefore_Table = {};
    Kinsi_Pattern = {};
    Hissu_Pattern = {};
    Member_RndIdx = {};
    最適化比重 = {};
    Mem_Kinsi = {};
    Mem_Hissu = {};
    Mem_Kinsi_grp = {};
    Mem_Hissu_grp = {};
    Holiday_Chk = {};
    Member_Sum_K = {};
    Member_Sum_TTIME = {};
    shiftDayBits = {};
    Rsv_Table_Copy = {};
    指定勤務.clear();
    職制_Ex = {};
    lastMonthTotals = {};
    連続勤務上限 = 0;
    連続休み上限 = 0;
    Kinsi_Pattern_Cnt = 0;
    Hissu_Pattern_Cnt = 0;
    組合せ禁止数 = 0;
    組合せ必須数 = 0;
    組合せ禁止数_grp = 0;
    組合せ必須数_grp = 0;
    経過表示 = 0;
    基点曜日 = 0;
    週間勤務日数上限 = 0;
    予約罫線色 = 0;
    全不可罫線色 = 0;
    Yasumi_Kigou.clear();
    Sw_勤務日数調整 = true;
    Sw_勤務時間調整 = false;
    Sw_休日対象外 = false;
    Sw_勤務集中 = false;
    Sw_平日勤務集中 = false;
    Sw_自動再挑戦 = true;
    Sw_過去累計使用 = false;
    Sw_初期値使用 = false;
    Sw_バックグラウンド動作 = false;
    Sw_ベストシフト作成 = false;
    Sw_確保優先 = 2;
    基本情報読込済 = false;
    確保完了 = false;
    作成状態 = 0;
}
