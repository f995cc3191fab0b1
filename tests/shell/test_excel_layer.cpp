#include "../support/manual_clock.h"
#include "pass_counter.h"
#include "shell/globals.h"
#include "shell/excel_layer.h"
#include "shell/mylog.h"
#include "shell/state.h"

#include <gtest/gtest.h>
#include <stdexcept>

namespace {

class ExcelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetShellState();
        book = &XlApp().workbooks().add();
        roster = &book->addSheet(QStringLiteral("人員配置表"));
        settings = &book->addSheet(QStringLiteral("基本設定"));
        book->defineName(QStringLiteral("Dirty"), roster->range(QStringLiteral("B2")), roster);
        book->defineName(QStringLiteral("Type_Count"), settings->range(QStringLiteral("C3:C12")), settings);
        book->defineName(QStringLiteral("自動画面最大化"), settings->range(QStringLiteral("F1")), settings);
        xlBook = book;
        MemLog(QStringLiteral("開始"), true);
    }
    void TearDown() override
    {
        resetShellState();
    }
    xl::Workbook* book = nullptr;
    xl::Worksheet* roster = nullptr;
    xl::Worksheet* settings = nullptr;
};

}  // namespace

TEST_F(ExcelTest, RetryGivesUpAfterTenTriesAndLogs)
{
    int runs = 0;
    book->registerMacro(QString(), QStringLiteral("壊れた"), [&](xl::Workbook&) -> QVariant {
        ++runs;
        throw xl::Error(1004, QStringLiteral("busy"));
    });
    Sw_中止 = true;  // the waits between tries are skipped
    EXPECT_FALSE(xlRunRetry(nullptr, book->name() + QStringLiteral("!壊れた")));
    EXPECT_EQ(runs, 10);
    const QStringList log = MemLogEntries();
    ASSERT_GE(log.size(), 2);
    EXPECT_TRUE(log.first().contains(QStringLiteral("壊れた"))) << qPrintable(log.first());
    EXPECT_TRUE(log.first().contains(QStringLiteral("1004 busy")));

    // A missing macro fails the same way instead of reaching the caller.
    EXPECT_FALSE(xlRunRetry(xlApp.get(), QStringLiteral("NoSuchMacro")));
}

TEST_F(ExcelTest, RetrySucceedsAfterFailuresWithWaitsBetween)
{
    int calls = 0;
    PassCounter counter;
    counter.arm();
    ManualClock clock;
    EXPECT_TRUE(xlRetry(QStringLiteral("test"), [&] {
        if (++calls <= 2)
            throw std::runtime_error("not yet");
    }));
    EXPECT_EQ(calls, 3);
    EXPECT_EQ(clock.elapsedMs(), 200);  // a wait of 100 ms after each failure
    EXPECT_GE(counter.passes, 2);        // with the window's events let through
    EXPECT_EQ(MemLogEntries().size(), 1);  // nothing logged on success
}

TEST_F(ExcelTest, RetryWrappersDoTheirCall)
{
    int runs = 0;
    book->registerMacro(QStringLiteral("Module1"), QStringLiteral("色置換"), [&](xl::Workbook&) {
        ++runs;
        return QVariant();
    });
    EXPECT_TRUE(xlRunRetry(nullptr, book->name() + QStringLiteral("!Module1.色置換")));
    EXPECT_EQ(runs, 1);

    const xl::Range a1 = roster->range(QStringLiteral("A1:B2"));
    EXPECT_TRUE(xlSetRetry(a1, 5));
    EXPECT_EQ(roster->valueAt(2, 2).toDouble(), 5.0);
    EXPECT_TRUE(xlObjCallRetry(a1));
    EXPECT_EQ(XlApp().cutCopyMode(), 1);
    EXPECT_TRUE(範囲値貼付(roster->range(QStringLiteral("D4")), xl::kPasteAll));
    EXPECT_EQ(roster->valueAt(5, 5).toDouble(), 5.0);
    EXPECT_TRUE(xlAppPropRetry(a1, 0));
    EXPECT_EQ(XlApp().cutCopyMode(), 0);
    EXPECT_TRUE(xlSheetCallRetry(*roster));
}

TEST_F(ExcelTest, SwitchesAndTheSingleSavedLevel)
{
    xl::Application& app = XlApp();
    xlAppSetting(false, false, false);
    EXPECT_FALSE(app.screenUpdating());
    EXPECT_EQ(app.calculation(), xl::kCalculationManual);
    EXPECT_FALSE(app.enableEvents());
    xlAppSetting(true, true, true);
    EXPECT_TRUE(app.screenUpdating());
    EXPECT_EQ(app.calculation(), xl::kCalculationAutomatic);
    EXPECT_TRUE(app.enableEvents());

    xlSpeedUp();
    EXPECT_FALSE(app.screenUpdating());
    xlSpeedRestore();
    EXPECT_TRUE(app.screenUpdating());
    EXPECT_EQ(app.calculation(), xl::kCalculationAutomatic);
    // Nested: the second save overwrites the first with the switched-off state.
    xlSpeedUp();
    xlSpeedUp();
    xlSpeedRestore();
    EXPECT_FALSE(app.enableEvents());
    xlAppSetting(true, true, true);
}

// A guard on an export's own application switches that one off and back, leaves the program's
// application alone, and an enclosing guard's saved switches come back after it.
TEST_F(ExcelTest, GuardOnAnApplicationOfItsOwn)
{
    xl::Application& main = XlApp();
    xl::Application other;
    other.setCalculation(xl::kCalculationManual);
    {
        const XlSwitchesGuard outer;
        EXPECT_FALSE(main.screenUpdating());
        {
            const XlSwitchesGuard inner(other);
            EXPECT_FALSE(other.screenUpdating());
            EXPECT_FALSE(other.enableEvents());
            EXPECT_FALSE(main.screenUpdating());
        }
        EXPECT_TRUE(other.screenUpdating());
        EXPECT_TRUE(other.enableEvents());
        EXPECT_EQ(other.calculation(), xl::kCalculationManual);
    }
    EXPECT_TRUE(main.screenUpdating());
    EXPECT_TRUE(main.enableEvents());
    EXPECT_EQ(main.calculation(), xl::kCalculationAutomatic);
}

// A step's own guard leaves the switches as the step sets them and turns all on at its end, also
// after an error, without disturbing what an enclosing guard will put back.
TEST_F(ExcelTest, GuardOnAtEndLeavesTheStepsSwitchesThenTurnsAllOn)
{
    xl::Application& app = XlApp();
    app.setCalculation(xl::kCalculationManual);
    {
        const XlSwitchesGuard outer;
        try {
            const XlSwitchesGuard step(XlSwitchesGuard::OnAtEnd{});
            EXPECT_FALSE(app.screenUpdating());
            xlAppSetting(false, true, false);
            throw std::runtime_error("step failed");
        } catch (const std::runtime_error&) {
        }
        EXPECT_TRUE(app.screenUpdating());
        EXPECT_TRUE(app.enableEvents());
        EXPECT_EQ(app.calculation(), xl::kCalculationAutomatic);
        xlAppSetting(false, false, false);
    }
    EXPECT_TRUE(app.screenUpdating());
    EXPECT_EQ(app.calculation(), xl::kCalculationManual);
    xlAppSetting(true, true, true);
}

TEST_F(ExcelTest, SpeedRunClearsColoursAndWholeRestCellsOnly)
{
    xl::Range table = roster->range(QStringLiteral("B2:E3"));
    table.setValue(QStringLiteral("日"));
    roster->range(QStringLiteral("C2")).setValue(QStringLiteral("休"));
    roster->range(QStringLiteral("D2")).setValue(QStringLiteral("休出"));
    roster->range(QStringLiteral("B3")).setValue(QStringLiteral("休"));  // before firstColumn
    table.interior().setColorIndex(6);
    table.font().setColorIndex(3);

    EXPECT_FALSE(xlSpeedRun(table, 2, QStringLiteral("休")));
    EXPECT_EQ(roster->textAt(2, 3), QString());
    EXPECT_EQ(roster->textAt(2, 4), QStringLiteral("休出"));
    EXPECT_EQ(roster->textAt(3, 2), QStringLiteral("休"));
    EXPECT_EQ(roster->range(QStringLiteral("C2:E3")).interior().colorIndex(), xl::kColorIndexNone);
    EXPECT_EQ(roster->range(QStringLiteral("B2")).interior().colorIndex(), 6);
    EXPECT_EQ(roster->range(QStringLiteral("E3")).font().colorIndex(), xl::kColorIndexAutomatic);
    EXPECT_TRUE(XlApp().screenUpdating());
    EXPECT_TRUE(XlApp().displayAlerts());

    // A first column beyond the sheet's edge fails; everything is switched back on all the same.
    EXPECT_TRUE(xlSpeedRun(roster->range(QStringLiteral("XFC1:XFD1")), 5, QStringLiteral("休")));
    EXPECT_TRUE(XlApp().displayAlerts());
    EXPECT_TRUE(XlApp().enableEvents());
    EXPECT_EQ(XlApp().calculation(), xl::kCalculationAutomatic);
}

TEST_F(ExcelTest, NamedRangesAndAddresses)
{
    roster->range(QStringLiteral("B2")).setValue(1.0);
    EXPECT_EQ(xlDtGet(QStringLiteral("人員配置表"), QStringLiteral("Dirty")), QStringLiteral("1"));
    xlDtSet(QStringLiteral("人員配置表"), QStringLiteral("Dirty"), QStringLiteral("0"));
    EXPECT_EQ(xlDtGet(QStringLiteral("人員配置表"), QStringLiteral("Dirty")), QStringLiteral("0"));
    xlDtSet(QStringLiteral("人員配置表"), QStringLiteral("NoSuch"), QStringLiteral("x"));  // silent
    xlDtSet(QStringLiteral("NoSheet"), QStringLiteral("Dirty"), QStringLiteral("x"));
    try {
        xlDtGet(QStringLiteral("人員配置表"), QStringLiteral("NoSuch"));
        FAIL();
    } catch (const xl::Error& e) {
        EXPECT_EQ(e.number, 1004);
    }
    EXPECT_THROW(xlDtGet(QStringLiteral("NoSheet"), QStringLiteral("Dirty")), xl::Error);

    EXPECT_TRUE(xlRangeExist(QStringLiteral("Type_Count"), QStringLiteral("基本設定")));
    EXPECT_FALSE(xlRangeExist(QStringLiteral("Type_Count"), QStringLiteral("人員配置表")));
    EXPECT_FALSE(xlRangeExist(QStringLiteral("Type_Count"), QStringLiteral("NoSheet")));

    const xl::Range d5 = roster->range(QStringLiteral("D5"));
    EXPECT_EQ(RangeAddr(d5, 50, 31), QStringLiteral("$D$5:$AH$54"));
    EXPECT_EQ(RangeAddr(d5, 1, 1), QStringLiteral("$D$5:$D$5"));

    EXPECT_TRUE(GetRangeObj(settings, QStringLiteral("Type_Count")).has_value());
    EXPECT_FALSE(GetRangeObj(roster, QStringLiteral("Type_Count")).has_value());
    EXPECT_FALSE(GetRangeObj(nullptr, QStringLiteral("Type_Count")).has_value());
}

TEST_F(ExcelTest, SheetSelectionProtectionAndWindowState)
{
    SheetSelect(QStringLiteral("基本設定"));
    EXPECT_EQ(xlSheet, settings);
    EXPECT_EQ(&book->activeSheet(), settings);
    SheetSelect(QStringLiteral("人員配置表"), QStringLiteral("Dirty"));
    EXPECT_EQ(&book->activeSheet(), roster);
    EXPECT_EQ(roster->selection().address(), QStringLiteral("$B$2"));
    EXPECT_THROW(SheetSelect(QStringLiteral("NoSheet")), xl::Error);

    シート保護(nullptr, false);
    EXPECT_TRUE(roster->protectContents());
    EXPECT_FALSE(roster->isUserSelectable(1, 1));
    シート保護解除();
    EXPECT_FALSE(roster->protectContents());
    シート保護(settings, true);
    EXPECT_TRUE(settings->protectContents());
    EXPECT_TRUE(settings->isUserSelectable(1, 1));
    EXPECT_FALSE(roster->protectContents());

    settings->range(QStringLiteral("F1")).setValue(true);
    自動画面最大化設定();
    EXPECT_EQ(XlApp().windowState(), xl::kMaximized);
    settings->range(QStringLiteral("F1")).setValue(0.0);
    自動画面最大化設定();
    EXPECT_EQ(XlApp().windowState(), xl::kNormal);
}

TEST_F(ExcelTest, RangeToArrayReadsDisplayedTexts)
{
    std::vector<std::vector<QString>> out;
    roster->range(QStringLiteral("C3")).setValue(QStringLiteral("x"));
    RangeToArray(roster->range(QStringLiteral("C3")), out);
    ASSERT_EQ(out.size(), 2u);
    ASSERT_EQ(out[0].size(), 2u);
    EXPECT_EQ(out[1][1], QStringLiteral("x"));
    EXPECT_EQ(out[0][0], QString());

    roster->range(QStringLiteral("A10")).setValue(QStringLiteral("一行目\r\n二行目"));
    roster->range(QStringLiteral("B10")).setValue(QStringLiteral("a\tb"));
    roster->range(QStringLiteral("A11")).setValue(2.5);
    RangeToArray(roster->range(QStringLiteral("A10:B12")), out);
    ASSERT_EQ(out.size(), 4u);
    EXPECT_EQ(out[1][1], QStringLiteral("一行目\r\n二行目"));
    EXPECT_EQ(out[1][2], QStringLiteral("a\tb"));
    EXPECT_EQ(out[2][1], QStringLiteral("2.5"));
    EXPECT_EQ(out[3], std::vector<QString>(3));
}

TEST(XlValues, Boolean)
{
    EXPECT_TRUE(cellAsBool(QVariant(-1.0)));
    EXPECT_FALSE(cellAsBool(QVariant()));
    EXPECT_TRUE(cellAsBool(QVariant(QStringLiteral("TRUE"))));
    EXPECT_FALSE(cellAsBool(QVariant(QStringLiteral("0"))));
    EXPECT_THROW(cellAsBool(QVariant(QStringLiteral("はい"))), xl::Error);
}
