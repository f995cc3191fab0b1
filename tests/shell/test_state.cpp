// The shell's reset reaches every owner of shell state and the layers below.
#include "platform/text/vb.h"
#include "platform/ui/prompt.h"
#include "shell/do_events.h"
#include "shell/globals.h"
#include "shell/lifecycle.h"
#include "shell/process_list.h"
#include "shell/myfunc_main.h"
#include "shell/mylog.h"
#include "shell/excel_layer.h"
#include "shell/mymod.h"
#include "shell/rs_db.h"
#include "shell/state.h"
#include "shell/status.h"

#include <gtest/gtest.h>

TEST(ShellState, ResetClearsEveryOwnerAndTheLayersBelow)
{
    AppPath = QStringLiteral("/somewhere");
    Sw_中止 = true;
    DbDamaged = true;
    荷重_総勤務日数 = 5;
    conditionModelSteps.resizeToMaximum = [] {};
    AppEnded = true;
    MemLog(QStringLiteral("entry"));
    ProcRoot = QStringLiteral("/nonexistent");
    MyRnd(1);
    ui::setNextAnswer(ui::vbOK);
    DspSplash(QStringLiteral("working"));
    xl::Application app;
    xlBook = &app.workbooks().add();

    resetShellState();
    EXPECT_TRUE(AppPath.isEmpty());
    EXPECT_FALSE(Sw_中止);
    EXPECT_FALSE(DbDamaged);
    EXPECT_EQ(荷重_総勤務日数, 0);
    EXPECT_FALSE(conditionModelSteps.resizeToMaximum);
    EXPECT_FALSE(AppEnded);
    EXPECT_TRUE(MemLogEntries().isEmpty());
    EXPECT_EQ(ProcRoot, QStringLiteral("/proc"));
    EXPECT_EQ(MyRnd(0), 0.0f);
    EXPECT_EQ(ui::pendingAnswers(), 0u);
    EXPECT_FALSE(splashState().loaded);
    EXPECT_EQ(xlBook, nullptr);
}
