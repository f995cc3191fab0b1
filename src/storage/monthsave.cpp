#include "storage/monthsave.h"

#include "engine/cells.h"
#include "engine/conditions.h"
#include "engine/workbook_access.h"
#include "platform/text/vb.h"
#include "platform/ui/prompt.h"
#include "shell/globals.h"
#include "shell/msgbox.h"
#include "shell/myexcel.h"
#include "shell/period.h"
#include "shell/rs_db.h"
#include "shell/status.h"
#include "storage/snapshot.h"

#include <QCoreApplication>
#include <QScopeGuard>
#include <QSqlQuery>

using namespace engine_cells;

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString k人員配置表 = QStringLiteral("人員配置表");
constexpr int kSystemModalOk = ui::vbOKOnly | ui::vbSystemModal;

// The progress window for the length of the save; each step lets the window events run, so the
// window's stop button is heard.
class 進行表示 {
public:
    explicit 進行表示(int steps) : steps_(steps)
    {
        PrgBShow(QString());
        PrgBSet(0, 0, steps_, 0);
    }
    ~進行表示() { PrgBClose(); }
    進行表示(const 進行表示&) = delete;
    進行表示& operator=(const 進行表示&) = delete;

    // False once the user asked to stop.
    bool 次()
    {
        PrgBSet(0, 0, steps_, ++value_);
        QCoreApplication::processEvents();
        return !Sw_中止;
    }
    // Inside the transaction nothing else may run on the connection: no window events.
    void 次_待たない() { PrgBSet(0, 0, steps_, ++value_); }

private:
    int steps_;
    int value_ = 0;
};

struct 保存内容 {
    std::vector<保存表> 条件;
    保存表 勤務;
};

QString 期間文字(const 期間& p)
{
    return Format(p.開始日, QStringLiteral("yyyy/mm/dd")) + QStringLiteral(" ～ ") + Format(p.終了日, QStringLiteral("yyyy/mm/dd"));
}

// The period's dates must be the days the sheet shows: otherwise the month's shifts would be
// saved under the dates of another month, over what was saved there.
bool 期間一致(const 期間& p)
{
    const int days = cint(num(RangeS(k人員配置表, QStringLiteral("Day_Cnt")).value()));
    if (p.日数() > 0 && p.日数() == days)
        return true;
    MsgBox(QStringLiteral("開始条件の期間（%1）と勤務表の日数（%2日）が一致しません！").arg(期間文字(p)).arg(days) + kCrLf
               + QStringLiteral("開始条件設定で年・月・基準開始日を設定し直してください！"),
           kSystemModalOk, QStringLiteral("データエラー"));
    return false;
}

// Rows saved for the period before; -1 when the database could not be read (after its message).
long 既存件数(const 期間& p)
{
    const QString sql = QStringLiteral("SELECT count(*) FROM T_勤務表 WHERE 日付 >= '%1' AND 日付 <= '%2'")
                            .arg(p.開始日.toString(Qt::ISODate), p.終了日.toString(Qt::ISODate));
    if (RsOpen(sql, false, {}, true) != 0)
        return -1;
    const long n = long(rs.Fields(0).Value().toLongLong());
    RsClose();
    return n;
}

// Only OK goes on: Cancel, and closing the box, keep what is saved.
bool 保存確認(const 期間& p, long existing)
{
    const long answer = existing == 0
        ? MyMsgBox(期間文字(p) + QStringLiteral(" のデータを保存します。") + kCrLf + kCrLf + QStringLiteral("よろしいですか？"),
                   ui::vbOKCancel | ui::vbSystemModal, QStringLiteral("勤務データ保存"), 300, 400)
        : MyMsgBox(期間文字(p) + QStringLiteral(" のデータは存在します！ ") + kCrLf + kCrLf + QStringLiteral("上書きしますか？"),
                   ui::vbOKCancel | ui::vbSystemModal, QStringLiteral("既存データ有り"), 300, 400);
    return answer == ui::vbOK;
}

// The conditions, the roster and every table of the save, read before the database changes.
// False after a message, or when the user stopped the save.
bool 読込(const 期間& p, 進行表示& progress, 保存内容& out)
{
    if (全条件読込(-1) < 0 || !progress.次())
        return false;
    const QString rosterError = 名簿読込();
    if (!rosterError.isEmpty()) {
        MsgBox(rosterError, kSystemModalOk, QStringLiteral("名簿データエラー"));
        return false;
    }
    if (!progress.次())
        return false;
    for (const 収集手順 step : 条件表収集手順()) {
        step(out.条件);
        if (!progress.次())
            return false;
    }
    out.勤務 = 勤務表行(p);
    return progress.次();
}

QSqlQuery 準備(const QString& sql)
{
    QSqlQuery q(cn.database());
    if (!q.prepare(sql))
        throw cn.lastError(&q, sql);
    return q;
}

void 実行(QSqlQuery& q, const QVariantList& values)
{
    for (int i = 0; i < values.size(); ++i)
        q.bindValue(i, db::toStorage(values[i]));
    if (!q.exec())
        throw cn.lastError(&q, q.lastQuery());
}

void 追加(const 保存表& t)
{
    if (t.項目.isEmpty()) {
        for (size_t i = 0; i < t.行.size(); ++i)
            cn.execute(QStringLiteral("INSERT INTO ") + t.表名 + QStringLiteral(" DEFAULT VALUES"));
        return;
    }
    const QStringList marks(t.項目.size(), QStringLiteral("?"));
    QSqlQuery q = 準備(QStringLiteral("INSERT INTO ") + t.表名 + QStringLiteral(" (") + t.項目.join(QStringLiteral(", "))
                       + QStringLiteral(") VALUES (") + marks.join(QStringLiteral(", ")) + QLatin1Char(')'));
    for (const QVariantList& row : t.行)
        実行(q, row);
}

void 表書込(const 保存表& t)
{
    if (!t.更新) {
        cn.execute(QStringLiteral("DELETE FROM ") + t.表名);
        追加(t);
        return;
    }
    QStringList sets;
    for (const QString& field : t.項目)
        sets << field + QStringLiteral(" = ?");
    QSqlQuery q = 準備(QStringLiteral("UPDATE ") + t.表名 + QStringLiteral(" SET ") + sets.join(QStringLiteral(", ")));
    実行(q, t.行.front());
    if (q.numRowsAffected() == 0)
        追加(t);
}

// The rows of other periods are appended again in their old order, so they get new numbers
// below the new period's rows.
void 番号振り直し()
{
    const QVariant last = cn.scalar(QStringLiteral("SELECT max([no]) FROM T_勤務表"));
    if (!last.isValid())
        return;
    cn.execute(QStringLiteral("INSERT INTO T_勤務表 (Id, 日付, 勤務No, 休平日) "
                              "SELECT Id, 日付, 勤務No, 休平日 FROM T_勤務表 ORDER BY [no]"));
    cn.execute(QStringLiteral("DELETE FROM T_勤務表 WHERE [no] <= ?"), {last});
}

// Every change in one transaction: on any failure the database stays as it was.
bool 書込(const 期間& p, const 保存内容& content, 進行表示& progress)
{
    if (DbConnect())
        return false;
    RsClose();
    try {
        db::Transaction t(cn);
        cn.execute(QStringLiteral("DELETE FROM T_勤務表 WHERE 日付 >= ? AND 日付 <= ?"), {p.開始日, p.終了日});
        for (const 保存表& table : content.条件)
            表書込(table);
        progress.次_待たない();
        番号振り直し();
        追加(content.勤務);
        progress.次_待たない();
        t.commit();
        return true;
    } catch (const db::Error& e) {
        const QString summary = e.summary();
        MsgBox(QStringLiteral("勤務データを保存できませんでした。保存済みのデータは元のままです。")
                   + (summary.isEmpty() ? QString() : kCrLf + summary) + kCrLf + kCrLf + e.text(),
               kSystemModalOk | ui::vbExclamation, QStringLiteral("データベース更新エラー"));
        return false;
    }
}

// A database only read this run takes no month: said before the user confirms and waits.
bool 書込可能()
{
    if (!DbOpenReadOnly)
        return true;
    MsgBox((DbDamaged ? QStringLiteral("データベースのファイル(集計.db)が壊れているため、")
                      : QStringLiteral("データベースを読み取り専用で開いているため、"))
               + QStringLiteral("勤務データを保存できません。"),
           kSystemModalOk | ui::vbExclamation, QStringLiteral("勤務データ保存"));
    return false;
}

void 保存()
{
    SndESC();
    if (!書込可能())
        return;
    if (equalsNumber(RangeS(k人員配置表, QStringLiteral("shift_データ数")).value(), 0)) {
        MsgBox(QStringLiteral("保存すべきシフトデータはありません！"), kSystemModalOk, QStringLiteral("データ無し"));
        return;
    }
    const 期間 p = 現在期間();
    if (!期間一致(p))
        return;
    DspSplash(QStringLiteral("準備中・・・"));
    const long existing = 既存件数(p);
    DspSplash(QString());
    if (existing < 0 || !保存確認(p, existing))
        return;
    Sw_中止 = false;
    bool saved = false;
    {
        進行表示 progress(int(条件表収集手順().size()) + 5);
        保存内容 content;
        saved = 読込(p, progress, content) && 書込(p, content, progress);
    }
    // A stop is heard only while reading, before the database changes.
    if (!saved && Sw_中止)
        MsgBox(QStringLiteral("保存を中止しました。") + kCrLf + 期間文字(p) + QStringLiteral(" の勤務データは保存されていません。"),
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
