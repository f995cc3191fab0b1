// The whole program in-process: start-up from a copy of a sample work folder, the main window's
// commands, and both shut-downs. Every question is answered by the scripted hook.
#include "common.h"
#include "engine/forms/start_conditions_form.h"
#include "optimise/install.h"
#include "optimise/window_steps.h"
#include "platform/db/db.h"
#include "platform/os/clock.h"
#include "platform/os/process.h"
#include "platform/xl/widgets/sheet_window.h"
#include "platform/xl/xl.h"
#include "manual_clock.h"
#include "program_fixture.h"
#include "app/main_window.h"
#include "app/state.h"
#include "shell/lifecycle.h"
#include "shell/process_list.h"
#include "shell/mylog.h"
#include "shell/rs_dbsub.h"
#include "shell/status.h"
#include "storage/condition_exchange.h"
#include "storage/forms/html_export_form.h"
#include "storage/forms/save_load_form.h"
#include "workbook/condition_file.h"
#include "workbook/template.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <gtest/gtest.h>
#include <initializer_list>
#include <limits>
#include <memory>

namespace {

// Opens the save/load hub from the main window: the hub window it shows.
QPointer<frm保存読込> openHub(frm勤務管理& window)
{
    window.cmd保存読込->click();
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* h = dynamic_cast<frm保存読込*>(w); h && h->isVisible())
            return h;
    return nullptr;
}

}  // namespace

TEST_F(ProgramTest, StartUpOpensTheWorkFolderAndReadsIt)
{
    ASSERT_TRUE(start());
    EXPECT_TRUE(ui::shownMessages().empty()) << lastTitle().toStdString();
    EXPECT_EQ(window_->windowTitle(), QStringLiteral("Ver.2.15 Quorvane"));
    // The caption fits beside the title bar's buttons.
    QFont caption = window_->font();
    caption.setBold(true);
    EXPECT_GT(window_->width(), QFontMetrics(caption).horizontalAdvance(window_->windowTitle()) + 100);
    EXPECT_EQ(QFileInfo(stWorkPath).canonicalFilePath(), QFileInfo(work_).canonicalFilePath());
    EXPECT_EQ(stDbPath, stWorkPath);
    EXPECT_FALSE(DebugMode);
    EXPECT_EQ(stBookName, QStringLiteral("shift.xlsm"));
    EXPECT_EQ(stAppName, QDir(stWorkPath).filePath(stBookName));
    ASSERT_NE(xlBook, nullptr);
    EXPECT_TRUE(xlBook->saved());
    EXPECT_TRUE(xlApp->visible());
    EXPECT_EQ(xlSheet->name(), QStringLiteral("Main"));
    EXPECT_TRUE(基本情報読込済);
    EXPECT_GT(Type_Cnt, 0);
    EXPECT_FALSE(Type_Table(1, 1).isEmpty());
    EXPECT_EQ(作成年 * 100 + 作成月, 202701);
    EXPECT_GT(LimitTime, 0);

    // The window: enabled, the debug menu hidden, the analysis menus shown, the switches ticked.
    EXPECT_TRUE(window_->isEnabled());
    EXPECT_FALSE(window_->mnuDebug->menuAction()->isVisible());
    EXPECT_TRUE(window_->mnuChk->menuAction()->isVisible());
    EXPECT_EQ(window_->mnuBackground->isChecked(), Sw_バックグラウンド動作);
    EXPECT_TRUE(window_->mnu単勤単休最少化[size_t(Sw_確保優先)]->isChecked());
    EXPECT_TRUE(window_->cmd勤務表作成->isEnabled());  // the program's generation is installed
    EXPECT_FALSE(xlApp->displayFormulaBar());

    const QString log = QString::fromUtf8(fileBytes(QDir(AppPath).filePath(QStringLiteral("log_boot.txt"))));
    for (const char* line : {"起動", "App.Path :", "Call ChkSetUp", "Call SetProcessPriority(HIGH_PRIORITY_CLASS)",
                             "Set xlBook = xlApp.Workbooks.Open(stAppName)", "xlApp.Visible = True", "Call 基本情報読込",
                             "作成月 = .Range('月')", "Call AddTableField"})
        EXPECT_TRUE(log.contains(QString::fromUtf8(line))) << line;
    db::Connection c;
    c.open(dbFile());
    EXPECT_EQ(c.scalar(QStringLiteral("PRAGMA user_version")).toInt(), kSchemaVersion);
}

TEST_F(ProgramTest, DebugMarkerShowsTheDebugMenuAndTheWorkingCells)
{
    QFile marker(QDir(work_).filePath(QStringLiteral("debug")));
    ASSERT_TRUE(marker.open(QIODevice::WriteOnly));
    marker.close();
    ASSERT_TRUE(start());
    EXPECT_TRUE(DebugMode);
    EXPECT_TRUE(window_->mnuDebug->menuAction()->isVisible());
    EXPECT_TRUE(xlApp->displayWorkbookTabs());
    EXPECT_EQ(xlBook->worksheets(QStringLiteral("dbg")).visible(), xl::kSheetVisible);
}

TEST_F(ProgramTest, ChecksAndErrorsEndTheStartUp)
{
    QFile exe(QDir(work_).filePath(QStringLiteral("qvmain")));
    ASSERT_TRUE(exe.open(QIODevice::WriteOnly));
    exe.close();
    EXPECT_FALSE(start());
    EXPECT_EQ(lastTitle(), QStringLiteral("実行ファイル相違"));
    EXPECT_FALSE(xlApp);
    exe.remove();

    QDir(proc_.path()).mkpath(QStringLiteral("4242"));
    QFile stat(proc_.filePath(QStringLiteral("4242/stat")));
    ASSERT_TRUE(stat.open(QIODevice::WriteOnly));
    stat.write("4242 (qvmain) S 1 1 1 0 -1 0 0 0 0 0 0 0 0 0 20 0 1 0 1 1 1");
    stat.close();
    // The running instance holds the claim; the message lists what the process table shows.
    os::InstanceLock running;
    ASSERT_EQ(running.tryLock(InstanceLockPath(AppEXEName)), os::InstanceLock::Taken);
    ui::resetMessages();
    EXPECT_FALSE(start());
    EXPECT_EQ(lastTitle(), QStringLiteral("二重起動不可"));
    EXPECT_TRUE(ui::shownMessages().back().prompt.endsWith(QStringLiteral("pIdList = 4242")));
    EXPECT_FALSE(xlApp);
    EXPECT_FALSE(QFile::exists(dbFile()));

    // The claim does not depend on the user's home or configuration folder.
    const QByteArray home = qgetenv("HOME");
    const QByteArray config = qgetenv("XDG_CONFIG_HOME");
    qputenv("HOME", QFile::encodeName(work_));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(work_));
    EXPECT_FALSE(ClaimOneInstance(AppEXEName, QCoreApplication::applicationPid()));
    qputenv("HOME", home);
    qputenv("XDG_CONFIG_HOME", config);

    // Once it has ended, a process of another program file of that name still counts as running.
    running.release();
    QDir(proc_.path()).mkpath(QStringLiteral("older"));
    QFile older(proc_.filePath(QStringLiteral("older/qvmain")));
    ASSERT_TRUE(older.open(QIODevice::WriteOnly));
    older.close();
    ASSERT_TRUE(QFile::link(older.fileName(), proc_.filePath(QStringLiteral("4242/exe"))));
    ui::resetMessages();
    EXPECT_FALSE(start());
    EXPECT_EQ(lastTitle(), QStringLiteral("二重起動不可"));

    // A rival running this very file that is only starting (it is in the process table too) does
    // not stop this start; an error ends it instead, with its number and description.
    QFile::remove(proc_.filePath(QStringLiteral("4242/exe")));
    const QString own = QCoreApplication::applicationFilePath();
    ASSERT_TRUE(QFile::link(own, proc_.filePath(QStringLiteral("4242/exe"))));
    const QString exeName = std::exchange(AppEXEName, QFileInfo(own).fileName());
    QFile::remove(book());
    ui::resetMessages();
    EXPECT_FALSE(start());
    AppEXEName = exeName;
    ASSERT_EQ(ui::shownMessages().size(), 1u);
    EXPECT_TRUE(ui::shownMessages()[0].prompt.startsWith(QStringLiteral("1004 "))) << ui::shownMessages()[0].prompt.toStdString();
    EXPECT_TRUE(ui::shownMessages()[0].prompt.contains(QStringLiteral("shift.xlsm")));
}

// A value of the book's start conditions that its variable cannot hold, or an empty period value,
// is said with its cell; the program opens all the same, so that the conditions can be set again.
TEST_F(ProgramTest, StartUpSaysWhatIsWrongWithThePeriodAndOpens)
{
    struct Case {
        const char* cell;
        QVariant value;
        const char* said;
    };
    for (const Case& c : std::initializer_list<Case>{
             {"制限時間", 1e39, "シート「Main」のセルC7（制限時間）の「1e+39」は Single に収まりません"},
             {"制限時間", 3.40283e38, "シート「Main」のセルC7（制限時間）の「3.40283e+38」は Single に収まりません"},
             {"制限時間", 3.4028e38, nullptr},   // a Single holds it
             {"日", QVariant(), "シート「Main」のセルC5（日）が空白です。"},
             {"年", 1e10, "シート「Main」のセルC3（年）の「10000000000」は Long に収まりません"},
             {"月", QStringLiteral("十二"), "シート「Main」のセルC4（月）の「十二」は数ではありません。"}}) {
        SCOPED_TRACE(c.cell);
        {
            xl::Application app;
            xl::Workbook& b = app.workbooks().open(book());
            b.worksheets(QStringLiteral("Main")).range(QString::fromUtf8(c.cell)).setValue(c.value);
            b.saveAs(book());
        }
        ui::resetMessages();
        ASSERT_TRUE(start());
        ASSERT_EQ(ui::shownMessages().size(), c.said ? 1u : 0u);
        if (c.said) {
            EXPECT_EQ(lastTitle(), QStringLiteral("開始条件"));
            EXPECT_TRUE(ui::shownMessages()[0].prompt.contains(QString::fromUtf8(c.said)))
                << ui::shownMessages()[0].prompt.toStdString();
        }
        EXPECT_TRUE(window_->isEnabled());
        EXPECT_TRUE(std::isfinite(LimitTime));
        TearDown();
        QFile::remove(book());
        SetUp();
    }
}

TEST_F(ProgramTest, FullShutDownSavesOnYesAndCompactsTheDatabase)
{
    ASSERT_TRUE(start());
    // Freed pages that only a compaction gives back.
    cn.execute(QStringLiteral("CREATE TABLE scratch(x BLOB)"));
    cn.execute(QStringLiteral("INSERT INTO scratch VALUES (zeroblob(200000))"));
    cn.execute(QStringLiteral("DROP TABLE scratch"));
    edit();
    xlBook->worksheets(QStringLiteral("Main")).range(QStringLiteral("制限時間")).setValue(7);
    ui::setNextAnswer(ui::vbYes);
    window_->cmd閉じる->click();
    EXPECT_EQ(lastTitle(), QStringLiteral("保存確認"));
    EXPECT_TRUE(AppEnded);
    EXPECT_FALSE(xlApp);
    EXPECT_TRUE(xl::Application::instances().empty());

    xl::Application app;
    xl::Workbook& saved = app.workbooks().open(book());
    EXPECT_EQ(XlText(saved.worksheets(QStringLiteral("人員配置表")).range(QStringLiteral("Dirty")).value()), QString());
    EXPECT_EQ(saved.worksheets(QStringLiteral("Main")).range(QStringLiteral("制限時間")).value().toInt(), 7);
    db::Connection c;
    c.open(dbFile());
    EXPECT_EQ(c.scalar(QStringLiteral("PRAGMA freelist_count")).toInt(), 0);
}

TEST_F(ProgramTest, CancelKeepsRunningAndNoLeavesTheFileAsItWas)
{
    const QByteArray before = fileBytes(book());
    ASSERT_TRUE(start());
    edit();
    ui::setNextAnswer(ui::vbCancel);
    window_->mnuClose->trigger();
    EXPECT_FALSE(AppEnded);
    ASSERT_NE(xlBook, nullptr);
    EXPECT_FALSE(xlBook->saved());
    EXPECT_TRUE(cn.isOpen());

    // The close box asks the same question.
    ui::resetMessages();
    ui::setNextAnswer(ui::vbCancel);
    window_->close();
    EXPECT_EQ(lastTitle(), QStringLiteral("保存確認"));
    EXPECT_FALSE(AppEnded);

    ui::setNextAnswer(ui::vbNo);
    window_->close();
    EXPECT_TRUE(AppEnded);
    EXPECT_FALSE(xlApp);
    EXPECT_EQ(fileBytes(book()), before);
}

TEST_F(ProgramTest, GenerationRequestAndACloseThatWaitsForTheRun)
{
    startConditionsCheckLoad = [this] {
        EXPECT_TRUE(window_->cmd中止->isVisibleTo(window_.get()));
        EXPECT_FALSE(window_->cmd勤務表作成->isVisibleTo(window_.get()));
        EXPECT_FALSE(window_->cmdLog->isVisibleTo(window_.get()));
        // Re-reading the model is refused while the run goes on; closing stops the run first.
        ui::setNextAnswer(ui::vbOK);
        window_->mnuChkDayOffCnt->trigger();
        EXPECT_EQ(ui::shownMessages().size(), 1u);
        window_->cmd閉じる->click();
        EXPECT_TRUE(Sw_中止);
        EXPECT_FALSE(AppEnded);

        Sw_ベストシフト作成 = true;
        LimitTime = 10;
        {
            // No time passes between the start and the caption, however slow the machine.
            ManualClock clock;
            作成開始時刻 = os::elapsedMs();
            window_->Timer_Caption_Timer();
        }
        作成開始時刻 = os::elapsedMs();
        EXPECT_EQ(window_->windowTitle(), QStringLiteral("★ ベストシフト 1th 残10"));
        // The largest limit a Single holds counts down too (in whole minutes, nothing overflowing).
        LimitTime = std::numeric_limits<float>::max();
        {
            ManualClock clock;
            作成開始時刻 = os::elapsedMs();
            window_->Timer_Caption_Timer();
        }
        作成開始時刻 = os::elapsedMs();
        EXPECT_EQ(window_->windowTitle(), QStringLiteral("★ ベストシフト 1th 残150000000000000"));
        作成状態 = -1;
    };
    ASSERT_TRUE(start());
    ASSERT_TRUE(window_->cmd勤務表作成->isEnabled());
    window_->cmd勤務表作成->click();
    EXPECT_TRUE(window_->cmdLog->isVisibleTo(window_.get()));
    EXPECT_TRUE(window_->cmd勤務表作成->isVisibleTo(window_.get()));
    EXPECT_FALSE(window_->cmd中止->isVisibleTo(window_.get()));
    EXPECT_FALSE(window_->Timer_Caption.isActive());
    EXPECT_FALSE(AppEnded);
    QCoreApplication::processEvents();
    EXPECT_TRUE(AppEnded);
}

TEST_F(ProgramTest, SwitchMenusAndTheRestRunReport)
{
    ASSERT_TRUE(start());
    xl::Worksheet& main = xlBook->worksheets(QStringLiteral("Main"));
    const bool background = Sw_バックグラウンド動作;
    window_->mnuBackground->trigger();
    EXPECT_EQ(Sw_バックグラウンド動作, !background);
    EXPECT_EQ(window_->mnuBackground2->isChecked(), !background);
    EXPECT_EQ(cellAsBool(main.range(QStringLiteral("バックグラウンド動作")).value()), !background);
    window_->mnuBackground2->trigger();
    window_->mnuBackground2->trigger();
    EXPECT_EQ(cellAsBool(main.range(QStringLiteral("バックグラウンド動作")).value()), !background);

    ui::setNextAnswer(ui::vbOK);
    window_->mnu単勤単休最少化[2]->trigger();
    EXPECT_EQ(Sw_確保優先, 2);
    EXPECT_EQ(lastTitle(), QStringLiteral("確保優先"));
    EXPECT_EQ(main.range(QStringLiteral("Sw_確保優先")).value().toInt(), 2);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(window_->mnu単勤単休最少化[size_t(i)]->isChecked(), i == 2);

    ui::setNextAnswer(ui::vbOK);
    window_->mnuChkDayOffCnt->trigger();
    EXPECT_EQ(lastTitle(), QStringLiteral("連続休み日数超過解析 - Ctrl+C でコピー可"));

    // What the optimiser's reports and store ask of the window.
    EXPECT_FALSE(window_->mnu実行結果ログ表示->isEnabled());
    ResultLog書込(QStringLiteral("結果"), true);
    optimiserWindowSteps.afterResultLog();
    EXPECT_TRUE(window_->mnu実行結果ログ表示->isEnabled());
    ui::setNextAnswer(ui::vbOK);
    window_->mnuRestoreBestTimeTable->trigger();
    EXPECT_EQ(ui::shownMessages().back().prompt, QStringLiteral("データがありません！"));

    // One start-condition dialog, however often it is asked for.
    window_->cmd開始条件設定->click();
    window_->cmd開始条件設定->click();
    int dialogs = 0;
    for (QObject* child : window_->children())
        dialogs += dynamic_cast<frm開始条件設定*>(child) && static_cast<QWidget*>(child)->isVisible() ? 1 : 0;
    EXPECT_EQ(dialogs, 1);
}

TEST_F(ProgramTest, AnEmptyDatabaseFileIsSaidAtStartAndNeverCompacted)
{
    QFile empty(dbFile());
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.close();
    ui::setNextAnswer(ui::vbOK);
    ASSERT_TRUE(start());
    EXPECT_EQ(ui::shownMessages().size(), 1u);
    window_->cmd閉じる_Click();
    EXPECT_TRUE(AppEnded);
    EXPECT_EQ(QFileInfo(dbFile()).size(), 0);
}

TEST_F(ProgramTest, ADamagedDatabaseIsSaidOnceAtStartAndNeverWritten)
{
    // A saved month whose one date reads back changed ("2027-00-07") without any read failing.
    stDbPath = work_;
    ASSERT_EQ(AddTableField(), 0);
    cn.execute(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 619) "
                              "INSERT INTO T_勤務表 (Id, 日付, 勤務No, 休平日) "
                              "SELECT 101 + i / 31, date('2027-01-01', '+' || (i % 31) || ' days'), 1, 0 FROM n"));
    DbClose();
    QByteArray damaged = fileBytes(dbFile());
    damaged.replace(damaged.indexOf("2027-01-07") + 5, 2, "00");
    QFile file(dbFile());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(damaged) == damaged.size());
    file.close();

    ui::setNextAnswer(ui::vbOK);
    ASSERT_TRUE(start());
    ASSERT_EQ(ui::shownMessages().size(), 1u);
    EXPECT_TRUE(ui::shownMessages()[0].prompt.startsWith(QStringLiteral("データベースのファイル(集計.db)が壊れています。")));
    // The month save refuses before it asks anything; shut-down leaves the file as it is.
    ui::setNextAnswer(ui::vbOK);
    window_->mdFileKinmuSave->trigger();
    EXPECT_EQ(ui::shownMessages().back().prompt, QStringLiteral("データベースのファイル(集計.db)が壊れているため、勤務データを保存できません。"));
    window_->cmd閉じる_Click();
    EXPECT_TRUE(AppEnded);
    EXPECT_EQ(ui::shownMessages().size(), 2u);
    EXPECT_EQ(fileBytes(dbFile()), damaged);
}

// A database file that cannot be opened at all: said once at start, as a damaged one is; the
// month save refuses before it asks anything; shut-down leaves the file alone and says nothing.
class UnopenableDatabase : public ProgramTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(UnopenableDatabase, IsSaidOnceAtStartAndNeverTouched)
{
    const QString kind = QString::fromLatin1(GetParam());
    stDbPath = work_;
    DbBusyTimeoutMs = 0;
    ASSERT_EQ(AddTableField(), 0);
    DbClose();
    db::Connection other;
    if (kind == QLatin1String("folder")) {
        ASSERT_TRUE(QFile::remove(dbFile()) && QDir().mkdir(dbFile()));
    } else if (kind == QLatin1String("locked")) {
        other.open(dbFile());
        other.execute(QStringLiteral("BEGIN EXCLUSIVE"));
    } else {
        // A text file, or the database cut after its first page (the schema runs on).
        const QByteArray bytes = kind == QLatin1String("text") ? QByteArray("日付,勤務\n2027/01/01,日勤\n")
                                                               : fileBytes(dbFile()).left(4096);
        QFile file(dbFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    }
    const QByteArray before = fileBytes(dbFile());

    ASSERT_TRUE(start());
    ASSERT_EQ(ui::shownMessages().size(), 1u);
    const QString notice = ui::shownMessages()[0].prompt;
    if (kind == QLatin1String("locked")) {
        EXPECT_TRUE(notice.startsWith(QStringLiteral("データベースのファイル(集計.db)を開けません。\nデータベースは他のプログラムが使用中です。")));
        other.execute(QStringLiteral("ROLLBACK"));  // given back later: the run still leaves it alone
    } else if (kind == QLatin1String("folder")) {
        EXPECT_TRUE(notice.startsWith(QStringLiteral("データベースのファイル(集計.db)を開けません。")));
    } else {
        EXPECT_TRUE(notice.startsWith(QStringLiteral("データベースのファイル(集計.db)が壊れているため、開けません。")));
    }
    ui::setNextAnswer(ui::vbOK);
    window_->mdFileKinmuSave->trigger();
    ASSERT_EQ(ui::shownMessages().size(), 2u);
    EXPECT_TRUE(ui::shownMessages()[1].prompt.endsWith(QStringLiteral("ため、勤務データを保存できません。")));
    window_->cmd閉じる_Click();
    EXPECT_TRUE(AppEnded);
    EXPECT_EQ(ui::shownMessages().size(), 2u);
    EXPECT_EQ(fileBytes(dbFile()), before);
    EXPECT_EQ(QFileInfo(dbFile()).isDir(), kind == QLatin1String("folder"));
    EXPECT_EQ(QDir(work_).entryList({QStringLiteral("集計.db*")}, QDir::AllEntries), QStringList{QStringLiteral("集計.db")});
}

INSTANTIATE_TEST_SUITE_P(Kinds, UnopenableDatabase, ::testing::Values("text", "folder", "truncated", "locked"));

TEST_F(ProgramTest, ASaveThatFailsKeepsTheProgramAndItsChanges)
{
    ASSERT_TRUE(start());
    edit();
    const QString moved = work_ + QStringLiteral("-moved");
    ASSERT_TRUE(QDir().rename(work_, moved));  // the book's folder is gone: the save cannot write
    ui::setNextAnswer(ui::vbYes);
    ui::setNextAnswer(ui::vbOK);
    window_->cmd閉じる_Click();
    EXPECT_TRUE(ui::shownMessages().back().prompt.startsWith(QStringLiteral("ワークブックを保存できませんでした。")));
    EXPECT_FALSE(AppEnded);
    ASSERT_NE(xlBook, nullptr);
    EXPECT_FALSE(xlBook->saved());
    EXPECT_EQ(XlText(xlBook->worksheets(QStringLiteral("人員配置表")).range(QStringLiteral("Dirty")).value()),
              QStringLiteral("1"));
    ASSERT_TRUE(QDir().rename(moved, work_));
}

TEST_F(ProgramTest, FileMenuRunsTheStorageCommandsWithoutTheHub)
{
    ManualClock clock;
    ASSERT_TRUE(start());
    // The boot log is stamped by the program's clock, not the wall clock.
    EXPECT_TRUE(fileBytes(QDir(AppPath).filePath(QStringLiteral("log_boot.txt"))).contains("2027/01/15 09:00"));
    const QString file = QDir(work_).filePath(QStringLiteral("条件.csv"));
    ui::setNextText(file);
    window_->mnuFileConditionSave->trigger();
    EXPECT_EQ(ui::shownMessages().back().prompt, QStringLiteral("保存を完了しました！"));
    EXPECT_TRUE(QFile::exists(file));
    for (QWidget* w : QApplication::topLevelWidgets())
        EXPECT_EQ(w->windowTitle() == QStringLiteral("データの保存と読込") && w->isVisible(), false);

    {
        // A run is writing the sheets: the restore leaves them alone.
        RunScope running;
        window_->mnuFileConditionRead->trigger();
        EXPECT_EQ(ui::shownMessages().back().kind, ui::Kind::Standard);
    }
    window_->cmd保存読込->click();
    bool hub = false;
    for (QWidget* w : QApplication::topLevelWidgets())
        hub = hub || (w->windowTitle() == QStringLiteral("データの保存と読込") && w->isVisible());
    EXPECT_TRUE(hub);
}

TEST_F(ProgramTest, TheHubClosedDuringItsOwnWorkGoesOnlyOnceTheWorkHasEnded)
{
    ManualClock clock;
    ASSERT_TRUE(start());
    const QString file = QDir(work_).filePath(QStringLiteral("条件.csv"));
    ui::setNextText(file);
    window_->mnuFileConditionSave->trigger();
    ASSERT_TRUE(QFile::exists(file));

    // The restore ends with a pause that lets events run; each of these comes in it.
    const std::vector<std::pair<const char*, std::function<void(frm保存読込&)>>> ways = {
        {"its 閉じる", [](frm保存読込& hub) { hub.cmdClose->click(); }},
        {"Escape", [](frm保存読込& hub) { QTest::keyClick(&hub, Qt::Key_Escape); }},
        {"the close box", [](frm保存読込& hub) { hub.close(); }},
        {"another button", [](frm保存読込& hub) { hub.cmd勤務データ読込->click(); }},
        {"the main window's 閉じる", [this](frm保存読込&) { window_->cmd閉じる->click(); }},
    };
    for (const auto& [name, way] : ways) {
        SCOPED_TRACE(name);
        QPointer<frm保存読込> hub = openHub(*window_);
        ASSERT_TRUE(hub);
        bool came = false;
        QTimer::singleShot(0, hub, [&, way = way] {
            came = true;
            way(*hub);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            EXPECT_TRUE(hub);
            EXPECT_FALSE(AppEnded);
        });
        ui::resetMessages();
        ui::setNextText(file);
        hub->cmd復元->click();
        EXPECT_TRUE(came);
        ASSERT_NE(xlBook, nullptr);
        EXPECT_EQ(currentConditionFile, file);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_FALSE(hub);
    }
    // The main window's close waited for the restore, and now happens.
    EXPECT_FALSE(AppEnded);
    ui::setNextAnswer(ui::vbNo);
    QCoreApplication::processEvents();
    EXPECT_TRUE(AppEnded);
}

TEST_F(ProgramTest, AMainWindowCloseDuringPublishingFromTheHubWaitsForIt)
{
    ManualClock clock;
    ASSERT_TRUE(start());
    QPointer<frm保存読込> hub = openHub(*window_);
    ASSERT_TRUE(hub);
    // The hub hides itself while the publishing dialog is open: the main window takes input.
    bool came = false;
    QTimer::singleShot(0, window_.get(), [&] {
        came = true;
        window_->cmd閉じる->click();
        EXPECT_FALSE(AppEnded);
        EXPECT_NE(xlBook, nullptr);
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* publishing = dynamic_cast<frm公開用HTML作成*>(w); publishing && publishing->isVisible())
                publishing->cmd閉じる->click();
    });
    hub->cmdCreateHtml->click();
    EXPECT_TRUE(came);
    EXPECT_FALSE(AppEnded);
    ui::setNextAnswer(ui::vbNo);
    QCoreApplication::processEvents();
    EXPECT_TRUE(AppEnded);
}

TEST_F(ProgramTest, AMainWindowCloseDuringAConditionSaveWaitsForItsMessage)
{
    ManualClock clock;
    ASSERT_TRUE(start());
    const QString file = QDir(work_).filePath(QStringLiteral("条件.csv"));
    QTimer::singleShot(0, window_.get(), [this] {
        window_->mnuClose->trigger();
        EXPECT_FALSE(AppEnded);
    });
    ui::setNextText(file);
    window_->mnuFileConditionSave->trigger();
    EXPECT_EQ(ui::shownMessages().back().prompt, QStringLiteral("保存を完了しました！"));
    EXPECT_FALSE(AppEnded);
    ui::setNextAnswer(ui::vbNo);
    QCoreApplication::processEvents();
    EXPECT_TRUE(AppEnded);
}

TEST_F(ProgramTest, AdjustmentsShowTheRosterAndPutTheWorkbookBack)
{
    ASSERT_TRUE(start());
    // The re-adjustment follows the roster's selected cell, so the roster comes first.
    xlBook->worksheets(QStringLiteral("Main")).activate();
    window_->cmd再調整->click();
    EXPECT_EQ(xlBook->activeSheet().name(), QStringLiteral("人員配置表"));

    // The rest equalisation cannot read the month: calculation and events are on again.
    const xl::Range numbers = xlBook->worksheets(QStringLiteral("スケジュール")).range(QStringLiteral("Member_List"));
    numbers.cells(2, 1).setValue(numbers.cells(1, 1).value());
    ui::resetMessages();
    ui::setNextAnswer(ui::vbOK);
    window_->mnuAdjOffOver->trigger();
    ASSERT_FALSE(ui::shownMessages().empty());
    EXPECT_EQ(xlApp->calculation(), xl::kCalculationAutomatic);
    EXPECT_TRUE(xlApp->enableEvents());
    EXPECT_TRUE(xlApp->screenUpdating());
}

TEST_F(ProgramTest, ClearAndForcedRefreshOfTheShiftSheet)
{
    ASSERT_TRUE(start());
    xl::Worksheet& roster = xlBook->worksheets(QStringLiteral("人員配置表"));
    const xl::Range grid = roster.range(QStringLiteral("Time_table"));
    grid.cells(1, 1).setValue(QStringLiteral("X"));
    作成状態 = 1;
    {
        RunScope running;
        ui::setNextAnswer(ui::vbOK);
        window_->cmd勤務表クリア->click();
        EXPECT_EQ(XlText(grid.cells(1, 1).value()), QStringLiteral("X"));
        // The single-day count would clear the totals the run is using.
        window_->mnu単勤単休総数->trigger();
        EXPECT_TRUE(ui::shownMessages().back().prompt.startsWith(QStringLiteral("シフト表の作成中・最適化中は")));
    }
    ui::resetMessages();
    window_->cmd勤務表クリア->click();
    EXPECT_TRUE(ui::shownMessages().empty());
    EXPECT_EQ(XlText(grid.cells(1, 1).value()), QString());
    EXPECT_EQ(roster.styleAt(grid.row(), grid.column()).left.weight, xl::kHairline);  // ruled again
    EXPECT_EQ(作成状態, 0);

    // The refresh leaves the protection as it found it and the workbook's switches on.
    for (const bool locked : {true, false}) {
        locked ? roster.protect() : roster.unprotect();
        ui::setNextAnswer(ui::vbOK);
        window_->RefleshForce->trigger();
        EXPECT_EQ(ui::shownMessages().back().prompt, QStringLiteral("★★ 全て終了しました ★★"));
        EXPECT_EQ(roster.protectContents(), locked);
        EXPECT_TRUE(xlApp->enableEvents());
    }

    ui::setNextAnswer(ui::vbOK);
    window_->mnu単勤単休総数->trigger();
    EXPECT_EQ(lastTitle(), QStringLiteral("単勤単休総数"));
}

// The program's reset takes out the start-condition hook and resets every layer below.
TEST(AppState, ResetTakesOutTheHookAndResetsEveryLayer)
{
    startConditionsCheckLoad = [] {};
    currentConditionFile = QStringLiteral("/somewhere/条件.csv");

    resetAppState();
    EXPECT_FALSE(startConditionsCheckLoad);
    EXPECT_TRUE(currentConditionFile.isEmpty());
}
