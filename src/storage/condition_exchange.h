#pragma once
// Condition sets exchanged as CSV files: the user picks the file, its path goes into cell C1 of
// sheet 名前リスト, and the workbook's macros 条件読込 / 条件保存 move the data. Both macros
// report failure, and a file that would not load is refused before the sheets change.
#include <QString>

class QObject;

// The condition file last loaded (by a restore or the new-file command); the save offers it.
inline QString currentConditionFile;

// The file types the dialogs offer.
QString conditionFileFilter();

// Asks for a condition file and reads it into the workbook: the shift grid is cleared, the
// conditions and grid come from the file, the base information and the period are read again
// and the sheet is finished for the eye. True when a file was loaded; false after Cancel or a
// message (a file that would not load leaves the workbook as it was).
bool cmd復元_Click(QObject* owner = nullptr);
// Asks for a file name (the current condition file or "無題.csv" offered) and saves the
// conditions there; says whether it worked.
void cmd保存_Click(QObject* owner = nullptr);
// The new-file command: after two confirmations the conditions are reset to the template
// parts/新規作成.csv of the program folder, and on request every saved shift is deleted.
void mnuNewFile_Click();
