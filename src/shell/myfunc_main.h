#pragma once
// The optimiser's weights, read from the settings table before a generation run or the
// optimiser's state collection, and the reset of the shared work arrays before a reading.
#include <functional>

inline long 荷重_総勤務日数 = 0;
inline long 荷重_各勤務日数 = 0;
inline long 荷重_休日出勤 = 0;
inline long 荷重_休日勤務 = 0;
inline long 荷重_総勤務日数_今期 = 0;
inline long 荷重_各勤務日数_今期 = 0;
inline long 荷重_休日出勤_今期 = 0;
inline long 荷重_休日勤務_今期 = 0;
inline long 荷重_休み曜日_今期 = 0;
inline long 荷重_単勤単休_今期 = 0;
inline long 荷重_単勤総数_今期 = 0;
inline long 荷重_単勤分散_今期 = 0;
inline long 荷重_単休総数_今期 = 0;
inline long 荷重_単休分散_今期 = 0;
inline long 荷重_優先勤務 = 0;
inline long 荷重_優先勤務倍率 = 0;
inline long 荷重_優先勤務倍率_今期 = 0;

// What the weights reading and the array reset need from the condition model, which owns the
// arrays and the full reading of the conditions. The condition model installs these at start-up;
// calling one before it has throws, naming the step.
struct ConditionModelSteps {
    // 最適化比重(1..Type_Cnt) = 1.0
    std::function<void()> resetShiftFactors;
    // 全条件読込(flag): the full reading of the conditions from the workbook; its result.
    std::function<int(bool)> readAllConditions;
    // Time_Table 0..51 x 0..32, Past_Table 0..51 x 0..31, Need_Table 0..11 x 0..32,
    // Holiday_Chk 0..32, Member_RndIdx 0..51, contents discarded.
    std::function<void()> resizeToMaximum;
};
inline ConditionModelSteps conditionModelSteps;

// Reads the 17 weights from T_基本設定 (a missing record or column gives 0), resets the shift
// factors and returns the result of the full condition reading.
int 荷重読込();
// Gives the condition model's work arrays their largest sizes.
void 配列初期化();
// All weights 0 and the steps removed (part of the shell's reset).
void resetWeights();
