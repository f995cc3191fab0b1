// One month walked through the main window as a planner walks it: start-up, generation, the
// assignability test, one manual exchange, an optimiser run, the month save, publishing and the
// full shut-down with save. After each step the sheet shows the table and no rule is broken.
#include "engine/convert.h"
#include "engine/generation_driver.h"
#include "engine/model.h"
#include "manual_clock.h"
#include "optimise/forms/assignability_form.h"
#include "optimise/forms/exchange_list_form.h"
#include "optimise/forms/optimiser_window_form.h"
#include "optimise/forms/weights_form.h"
#include "optimise/manual_common.h"
#include "platform/text/cp932.h"
#include "platform/text/vb.h"
#include "program_fixture.h"
#include "shell/desktop.h"
#include "shell/period.h"
#include "storage/forms/html_export_form.h"
#include "validator/validator.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QSqlQuery>
#include <QTimer>
#include <QUrl>
#include <set>
#include <tuple>

namespace {

using Cell = std::tuple<QString, QDate, int>;  // member ID, date, shift

class MonthWalk : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        // A fixed seed: the same month on every run.
        startConditionsCheckLoad = [] { cmd開始_Click({2027}); };
        setShellOpener([this](const QUrl& url) {
            opened_ << url.toLocalFile();
            return true;
        });
        // The shipped parts the site copies, as the program folder holds them.
        ASSERT_TRUE(QDir().mkpath(QDir(AppPath).filePath(QStringLiteral("parts/html-parts"))));
        const QDir parts(sourceFile("parts/html-parts"));
        for (const QString& f : parts.entryList(QDir::Files))
            QFile::copy(parts.filePath(f), QDir(AppPath).filePath(QStringLiteral("parts/html-parts/") + f));
    }
    void TearDown() override
    {
        ui::setDialogHandler(ui::Kind::Dialog, nullptr);
        ui::setDialogHandler(ui::Kind::Input, nullptr);
        setShellOpener({});
        ProgramTest::TearDown();
    }

    // The titles asked since the last call.
    QStringList newTitles()
    {
        QStringList titles;
        const auto& shown = ui::shownMessages();
        for (size_t i = seen_; i < shown.size(); ++i)
            titles << shown[i].title;
        seen_ = shown.size();
        return titles;
    }
    // Runs f once the program's next wait for a window has begun.
    static void whenOpen(std::function<void()> f) { QTimer::singleShot(0, qApp, std::move(f)); }
    template <class W>
    static W* openWindow()
    {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* found = dynamic_cast<W*>(w); found && w->isVisible())
                return found;
        return nullptr;
    }

    // The model's table as read back from the sheet keeps every rule (a shift may be staffed
    // beyond its need), and the sheet shows exactly that table.
    static void expectSoundTable(const char* step)
    {
        SCOPED_TRACE(step);
        ASSERT_TRUE(reloadMonth());
        auto broken = validator::check();
        std::erase_if(broken, [](const auto& v) { return v.rule == validator::Rule::Overstaffed; });
        EXPECT_TRUE(broken.empty()) << validator::describe(broken).toStdString();
        const xl::Block b = xlBook->worksheets(QStringLiteral("人員配置表")).range(QStringLiteral("Time_table")).block();
        for (int m = 1; m <= Member_Cnt; ++m)
            for (int d = 1; d <= Day_Cnt; ++d) {
                const int t = Time_Table(m, d);
                ASSERT_EQ(XlText(b(m, d)), t > 0 ? Type_Table(t, TYPE_略称) : Yasumi_Kigou) << m << "/" << d;
            }
    }
    static std::set<Cell> tableCells()
    {
        const 期間 p = currentPeriod();
        std::set<Cell> cells;
        for (int m = 1; m <= Member_Cnt; ++m)
            for (int d = 1; d <= Day_Cnt; ++d)
                if (Time_Table(m, d) > 0)
                    cells.insert({Member_List(m, 1), p.日付(d), Time_Table(m, d)});
        return cells;
    }
    std::set<Cell> savedCells() const
    {
        db::Connection c;
        c.open(dbFile());
        std::set<Cell> cells;
        const QString sql = QStringLiteral("SELECT Id, 日付, 勤務No FROM T_勤務表");
        QSqlQuery q = c.run(sql);
        while (c.next(q, sql))
            cells.insert({q.value(0).toString(), q.value(1).toDate(), q.value(2).toInt()});
        return cells;
    }

    // Asks the exchange list for one member after another until one line can be exchanged,
    // exchanges it and ends the list; the member, day and partner exchanged.
    std::tuple<int, int, int> exchangeOnce()
    {
        std::tuple<int, int, int> done{0, 0, 0};
        int asked = 0;
        ui::setDialogHandler(ui::Kind::Input, [&](const ui::MessageRequest&) {
            const bool more = std::get<0>(done) == 0 && asked < Member_Cnt;
            return ui::Answer{ui::vbOK, more ? QString::number(MemNo(++asked)) : QString()};
        });
        ui::setDialogHandler(ui::Kind::Dialog, [&](const ui::MessageRequest&) {
            frmリストボックス_交換* w = loadedExchangeList();
            const auto allowed = w->lstItem->findItems(QStringLiteral("<==>"), Qt::MatchContains);
            if (!allowed.isEmpty()) {
                const QStringList f = allowed[0]->text().split(QLatin1Char('\t'));
                done = {asked, f[8].toInt(), int(Val(f[3]))};
                w->lstItem->setCurrentItem(allowed[0]);
                ui::setNextAnswer(ui::vbOK);
                w->cmdOk[0]->click();
            }
            w->cmdOk[2]->click();
            return ui::Answer{};
        });
        window_->mnu交換可能勤務一覧->trigger();
        ui::setDialogHandler(ui::Kind::Dialog, nullptr);
        ui::setDialogHandler(ui::Kind::Input, nullptr);
        return done;
    }

    QStringList opened_;
    size_t seen_ = 0;
};

TEST_F(MonthWalk, GenerateAdjustOptimiseSavePublishAndClose)
{
    ManualClock clock;
    ASSERT_TRUE(start());
    EXPECT_EQ(newTitles(), QStringList());

    // Generation: the pre-run analysis, then the finished table.
    ui::setNextAnswer(0);
    ui::setNextAnswer(ui::Answer{0, QStringLiteral("OK")});
    ASSERT_TRUE(window_->cmd勤務表作成->isEnabled());
    window_->cmd勤務表作成->click();
    ASSERT_EQ(作成状態, 1);
    EXPECT_EQ(newTitles(), (QStringList{QStringLiteral("frm分析結果"), QStringLiteral("作成完了")}));
    expectSoundTable("generated");

    // The assignability test of a cell of the sheet.
    window_->mnu勤務可能判定->trigger();
    frm勤務可能判定* test = loadedAssignability();
    ASSERT_NE(test, nullptr);
    ui::setNextAnswer(ui::Answer{ui::vbOK, QStringLiteral("OK")});
    test->cmd開始->click();
    ASSERT_EQ(newTitles(), QStringList{QStringLiteral("勤務割り当て可否判定")});
    EXPECT_FALSE(ui::shownMessages().back().prompt.isEmpty());
    test->cmd閉じる_Click();

    // One exchange from the list: the two cells of that day change places.
    const vb::TwoDimArray<int> before = Time_Table;
    const auto [m, d, partner] = exchangeOnce();
    ASSERT_GT(m, 0) << "no member has an allowed exchange";
    ASSERT_TRUE(reloadMonth());
    EXPECT_EQ(Time_Table(m, d), before(partner, d));
    EXPECT_EQ(Time_Table(partner, d), before(m, d));
    expectSoundTable("exchanged");
    EXPECT_EQ(ui::pendingAnswers(), 0u);
    newTitles();

    // The optimiser (shift exchange) started from the weights window, one repetition.
    whenOpen([] {
        frm最適化荷重設定* w = openWindow<frm最適化荷重設定>();
        ASSERT_NE(w, nullptr);
        w->cmd試行回数->setEditText(QStringLiteral("1"));
        w->cmd最適化[0]->click();
    });
    window_->mnuOptimize[0]->trigger();
    EXPECT_EQ(openWindow<frm最適化荷重設定>(), nullptr);
    EXPECT_FALSE(newTitles().isEmpty());
    expectSoundTable("optimised");
    const auto optimised = tableCells();

    // The month save: every work cell of the month becomes a row. The main window's 閉じる
    // pressed meanwhile waits for the save to end.
    bool closed = false;
    QTimer::singleShot(0, window_.get(), [&] {
        closed = true;
        window_->cmd閉じる->click();
        EXPECT_FALSE(AppEnded);
    });
    ui::setNextAnswer(ui::Answer{0, QStringLiteral("Ok")});
    window_->mdFileKinmuSave->trigger();
    EXPECT_TRUE(closed);
    EXPECT_EQ(ui::pendingAnswers(), 0u);
    EXPECT_EQ(newTitles().value(0), QStringLiteral("勤務データ保存"));
    EXPECT_EQ(savedCells(), optimised);
    // Then the close asks its question; cancelled, the program goes on.
    ui::setNextAnswer(ui::vbCancel);
    QCoreApplication::processEvents();
    EXPECT_EQ(newTitles(), QStringList{QStringLiteral("保存確認")});
    EXPECT_FALSE(AppEnded);

    // Publishing the whole roster and the per-member pages into a folder of our own.
    QTemporaryDir site;
    whenOpen([&] {
        frm公開用HTML作成* f = openWindow<frm公開用HTML作成>();
        ASSERT_NE(f, nullptr);
        ui::setNextText(site.path());
        f->cmd変更->click();
        for (size_t i = 0; i < f->ChkShift.size(); ++i)
            f->ChkShift[i]->setChecked(i == 0 || i == 4);
        f->cmd開始->click();
    });
    window_->mnuCeateHtml->trigger();
    const QDir root(site.filePath(QStringLiteral("ShiftHtml")));
    EXPECT_EQ(opened_, QStringList{root.filePath(QStringLiteral("index.html"))});
    EXPECT_TRUE(root.exists(QStringLiteral("index.html")) && root.exists(QStringLiteral("top.html")));
    EXPECT_FALSE(QDir(root.filePath(QStringLiteral("shift"))).entryList({QStringLiteral("shift_*.gif")}).isEmpty());
    EXPECT_EQ(QDir(root.filePath(QStringLiteral("kojin_betu"))).entryList({QStringLiteral("shift_*.gif")}).size(),
              Member_Cnt);
    const QString members =
        text::fromCp932(fileBytes(root.filePath(QStringLiteral("kojin_betu/index.html")))).value_or(QString());
    for (int i = 1; i <= Member_Cnt; ++i)
        EXPECT_TRUE(members.contains(MemName(i))) << MemName(i).toStdString();
    expectSoundTable("published");

    // The full shut-down saves the workbook; the saved sheet holds the month.
    ui::resetMessages();
    seen_ = 0;
    ASSERT_FALSE(xlBook->saved());
    ui::setNextAnswer(ui::vbYes);
    window_->cmd閉じる->click();
    EXPECT_TRUE(AppEnded);
    EXPECT_EQ(newTitles().value(0), QStringLiteral("保存確認"));
    xl::Application app;
    const xl::Block saved =
        app.workbooks().open(book()).worksheets(QStringLiteral("人員配置表")).range(QStringLiteral("Time_table")).block();
    for (int i = 1; i <= Member_Cnt; ++i)
        for (int day = 1; day <= Day_Cnt; ++day) {
            const int t = Time_Table(i, day);
            ASSERT_EQ(XlText(saved(i, day)), t > 0 ? Type_Table(t, TYPE_略称) : Yasumi_Kigou) << i << "/" << day;
        }
    EXPECT_EQ(savedCells(), optimised);
}

}  // namespace
