#pragma once
// Saving the month on 人員配置表 into 集計.db: the shifts of the current period into T_勤務表, and a
// snapshot of every condition into the condition tables.

// The save of frm保存読込's button 勤務データ保存, also run from the main window's File menu. Asks
// before it saves (and whether to overwrite a period saved before), then reads every condition
// and the whole month first and writes them in one transaction: a failed read, a Cancel or a
// failing statement leaves the database as it was, with a message. The optimiser's weights in
// T_基本設定 are kept.
void cmd出力_Click();
