#include "storage/month_save.h"

#include "engine/cells.h"
#include "engine/conditions.h"
#include "engine/workbook_access.h"
#include "platform/text/text_constants.h"
#include "platform/text/vb.h"
#include "platform/ui/prompt.h"
#include "shell/globals.h"
#include "shell/msg_box.h"
#include "shell/excel_layer.h"
#include "shell/period.h"
#include "shell/rs_db.h"
#include "shell/status.h"
#include "storage/snapshot.h"
#include "workbook/sheet_names.h"

#include <QCoreApplication>
#include <QScopeGuard>
#include <QSqlQuery>

using namespace cell_reading;

namespace {

constexpr int kSystemModalOk = ui::vbOKOnly | ui::vbSystemModal;

// The progress window for the length of the save; each step lets the window events run, so the
// window's stop button is heard.
class SaveProgress {
public:
    explicit SaveProgress(int steps) : steps_(steps)
    {
        showSharedProgress(QString());
        setSharedProgress(0, 0, steps_, 0);
    }
    ~SaveProgress() { closeSharedProgress(); }
    SaveProgress(const SaveProgress&) = delete;
    SaveProgress& operator=(const SaveProgress&) = delete;

    // False once the user asked to stop.
    bool step()
    {
        setSharedProgress(0, 0, steps_, ++value_);
        QCoreApplication::processEvents();
        return !Sw_中止;
    }
    // Inside the transaction nothing else may run on the connection: no window events.
    void stepNoWait() { setSharedProgress(0, 0, steps_, ++value_); }

private:
    int steps_;
    int value_ = 0;
};

struct SaveContent {
    std::vector<SavedTable> conditionTables;
    SavedTable 勤務;
};

QString periodText(const 期間& p)
{
    return Format(p.開始日, QStringLiteral("yyyy/mm/dd")) + QStringLiteral(" ～ ") + Format(p.終了日, QStringLiteral("yyyy/mm/dd"));
}

// The period's dates must be the days the sheet shows: otherwise the month's shifts would be
// saved under the dates of another month, over what was saved there.
bool samePeriodSaved(const 期間& p)
{
    const int days = toInteger(asNumber(activeBookRange(kRosterSheet, QStringLiteral("Day_Cnt")).value()));
    if (p.dayCount() > 0 && p.dayCount() == days)
        return true;
    MsgBox(QStringLiteral("開始条件の期間（%1）と勤務表の日数（%2日）が一致しません！").arg(periodText(p)).arg(days) + kCrLf
               + QStringLiteral("開始条件設定で年・月・基準開始日を設定し直してください！"),
           kSystemModalOk, QStringLiteral("データエラー"));
    return false;
}

// The database refused the save: nothing of the month was written.
void saveFailed(const db::Error& e)
{
    const QString summary = e.summary();
    MsgBox(QStringLiteral("勤務データを保存できませんでした。保存済みのデータは元のままです。")
               + (summary.isEmpty() ? QString() : kCrLf + summary) + kCrLf + kCrLf + e.text(),
           kSystemModalOk | ui::vbExclamation, QStringLiteral("データベース更新エラー"));
}

// Rows saved for the period before; -1 when the database could not be read (after its message).
long existingCount(const 期間& p)
{
    if (DbConnect())
        return -1;
    try {
        return long(cn.scalar(QStringLiteral("SELECT count(*) FROM T_勤務表 WHERE 日付 >= ? AND 日付 <= ?"), {p.開始日, p.終了日})
                        .toLongLong());
    } catch (const db::Error& e) {
        saveFailed(e);
        return -1;
    }
}

// Only OK goes on: Cancel, and closing the box, keep what is saved.
bool 保存確認(const 期間& p, long existing)
{
    const long answer = existing == 0
        ? MyMsgBox(periodText(p) + QStringLiteral(" のデータを保存します。") + kCrLf + kCrLf + QStringLiteral("よろしいですか？"),
                   ui::vbOKCancel | ui::vbSystemModal, QStringLiteral("勤務データ保存"), 300, 400)
        : MyMsgBox(periodText(p) + QStringLiteral(" のデータは存在します！ ") + kCrLf + kCrLf + QStringLiteral("上書きしますか？"),
                   ui::vbOKCancel | ui::vbSystemModal, QStringLiteral("既存データ有り"), 300, 400);
    return answer == ui::vbOK;
}

// The conditions, the roster and every table of the save, read before the database changes.
// False after a message, or when the user stopped the save.
bool 読込(const 期間& p, SaveProgress& progress, SaveContent& out)
{
    if (全条件読込(-1) < 0 || !progress.step())
        return false;
    const QString rosterError = 名簿読込();
    if (!rosterError.isEmpty()) {
        MsgBox(rosterError, kSystemModalOk, QStringLiteral("名簿データエラー"));
        return false;
    }
    if (!progress.step())
        return false;
    for (const TableCollector step : conditionTableCollectors()) {
        step(out.conditionTables);
        if (!progress.step())
            return false;
    }
    out.勤務 = shiftTableRows(p);
    return progress.step();
}

QSqlQuery prepare(const QString& sql)
{
    QSqlQuery q(cn.database());
    if (!q.prepare(sql))
        throw cn.lastError(&q, sql);
    return q;
}

void exec(QSqlQuery& q, const QVariantList& values)
{
    for (int i = 0; i < values.size(); ++i)
        q.bindValue(i, db::toStorage(values[i]));
    if (!q.exec())
        throw cn.lastError(&q, q.lastQuery());
}

void insertRows(const SavedTable& t)
{
    if (t.fields.isEmpty()) {
        for (size_t i = 0; i < t.rows.size(); ++i)
            cn.execute(QStringLiteral("INSERT INTO ") + t.tableName + QStringLiteral(" DEFAULT VALUES"));
        return;
    }
    const QStringList marks(t.fields.size(), QStringLiteral("?"));
    QSqlQuery q = prepare(QStringLiteral("INSERT INTO ") + t.tableName + QStringLiteral(" (") + t.fields.join(QStringLiteral(", "))
                       + QStringLiteral(") VALUES (") + marks.join(QStringLiteral(", ")) + QLatin1Char(')'));
    for (const QVariantList& row : t.rows)
        exec(q, row);
}

void writeTable(const SavedTable& t)
{
    if (!t.updateInPlace) {
        cn.execute(QStringLiteral("DELETE FROM ") + t.tableName);
        insertRows(t);
        return;
    }
    QStringList sets;
    for (const QString& field : t.fields)
        sets << field + QStringLiteral(" = ?");
    QSqlQuery q = prepare(QStringLiteral("UPDATE ") + t.tableName + QStringLiteral(" SET ") + sets.join(QStringLiteral(", ")));
    exec(q, t.rows.front());
    if (q.numRowsAffected() == 0)
        insertRows(t);
}

// The rows of other periods are appended again in their old order, so they get new numbers
// below the new period's rows.
void renumber()
{
    const QVariant last = cn.scalar(QStringLiteral("SELECT max([no]) FROM T_勤務表"));
    if (!last.isValid())
        return;
    cn.execute(QStringLiteral("INSERT INTO T_勤務表 (Id, 日付, 勤務No, 休平日) "
                              "SELECT Id, 日付, 勤務No, 休平日 FROM T_勤務表 ORDER BY [no]"));
    cn.execute(QStringLiteral("DELETE FROM T_勤務表 WHERE [no] <= ?"), {last});
}

// Every change in one transaction: on any failure the database stays as it was.
bool writeMonth(const 期間& p, const SaveContent& content, SaveProgress& progress)
{
    if (DbConnect())
        return false;
    RsClose();
    try {
        db::Transaction t(cn);
        cn.execute(QStringLiteral("DELETE FROM T_勤務表 WHERE 日付 >= ? AND 日付 <= ?"), {p.開始日, p.終了日});
        for (const SavedTable& table : content.conditionTables)
            writeTable(table);
        progress.stepNoWait();
        renumber();
        insertRows(content.勤務);
        progress.stepNoWait();
        t.commit();
        return true;
    } catch (const db::Error& e) {
        saveFailed(e);
        return false;
    }
}

// A database only read this run takes no month: said before the user confirms and waits.
bool databaseWritable()
{
    if (!DbOpenReadOnly)
        return true;
    MsgBox((DbDamaged   ? QStringLiteral("データベースのファイル(集計.db)が壊れているため、")
            : DbNotUsed ? QStringLiteral("データベースのファイル(集計.db)を開けないため、")
                        : QStringLiteral("データベースを読み取り専用で開いているため、"))
               + QStringLiteral("勤務データを保存できません。"),
           kSystemModalOk | ui::vbExclamation, QStringLiteral("勤務データ保存"));
    return false;
}

void 保存()
{
    SndESC();
    if (!databaseWritable())
        return;
    if (equalsNumber(activeBookRange(kRosterSheet, QStringLiteral("shift_データ数")).value(), 0)) {
        MsgBox(QStringLiteral("保存すべきシフトデータはありません！"), kSystemModalOk, QStringLiteral("データ無し"));
        return;
    }
    const 期間 p = currentPeriod();
    if (!samePeriodSaved(p))
        return;
    DspSplash(QStringLiteral("準備中・・・"));
    const long existing = existingCount(p);
    DspSplash(QString());
    if (existing < 0 || !保存確認(p, existing))
        return;
    Sw_中止 = false;
    bool saved = false;
    {
        SaveProgress progress(int(conditionTableCollectors().size()) + 5);
        SaveContent content;
        saved = 読込(p, progress, content) && writeMonth(p, content, progress);
    }
    // A stop is heard only while reading, before the database changes.
    if (!saved && Sw_中止)
        MsgBox(QStringLiteral("保存を中止しました。") + kCrLf + periodText(p) + QStringLiteral(" の勤務データは保存されていません。"),
               kSystemModalOk, QStringLiteral("勤務データ保存"));
    if (saved)
        MsgBox(QStringLiteral("出力完了"), kSystemModalOk, QString());
}

}  // namespace

void cmd出力_Click()
{
    // The save lets window events run; a second click meanwhile is not a second save.
    static bool running = false;
    if (running)
        return;
    running = true;
    const auto done = qScopeGuard([] {
        running = false;
        DspSplash(QString());
    });
    try {
        保存();
    } catch (const ReadStop& stop) {
        MsgBox(stop.text, kSystemModalOk, stop.title);
    } catch (const MissingRangeError& e) {
        MsgBox(e.description + kCrLf + QStringLiteral("ワークブックを確認してください！"), kSystemModalOk, QStringLiteral("データエラー"));
    } catch (const VbError& e) {
        MsgBox(e.text(), kSystemModalOk, QStringLiteral("データエラー"));
    }
}
