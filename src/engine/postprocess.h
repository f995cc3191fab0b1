#pragma once
// Finishing the roster sheet for the eye after a month was generated or put back: colours, the
// sheet refresh, ruled lines, marks of reserved cells and impossible days; and the helpers the
// driver and the main window share.
#include <QString>

// text "成功" or "失敗" from the generation (ends with a one-second banner), "" from the restore
// paths (a short "処理完了！").
void 作成後処理(const QString& text);
// Makes the roster sheet show its cell formats anew (the selection highlight), repainted once;
// no cell value is written. Errors are ignored.
void 条件付き書式強制発火();
// The generation mode and the totals of single work and single rest days of the month on the
// sheet; "データはありません" when no member has a shift.
QString 単勤単休総数情報();
// Closes the progress, message and optimiser windows.
void ProgressClose();
