#pragma once
// Reading the month's conditions from the workbook into the condition model: the base
// information (counts, shift types, roster, groups, run switches) and the full read.
#include <QString>
#include <functional>

// Called at the end of 基本情報読込 so that the main window can tick its switch menus
// (バックグラウンド動作, ベストシフト作成, mnu単勤単休最少化(Sw_確保優先)); the reader itself
// touches no window.
inline std::function<void()> afterBasicInfoRead;

// Counts, tables sized, shift types, roster, groups, the run switches of sheet main. True when
// read; false after a message box ("データエラー" for a missing sheet or range or a cell that
// cannot be read, "入力エラー" for a count that is no number or beyond the model's limits, or a
// shift type without its name or abbreviation), with the model left partly filled.
bool 基本情報読込();
void 勤務種別表読込();
// "" when the roster is sound, else the text of the first error.
QString 名簿読込();
void グループ読込();

// The whole condition set. quiet 0 shows the stages in the splash window. Start_Day, or -1 after
// an input or data error (shown in a system-modal message box; a run-time error of the workbook
// as its number and description, titled "データエラー").
int 全条件読込(int quiet);

// Installs the model's steps into the weights reading (荷重読込 / 配列初期化).
void installConditionModelSteps();
