#include "shell/rs_db.h"

#include "platform/db/compact.h"
#include "platform/os/clock.h"
#include "platform/ui/prompt.h"
#include "shell/globals.h"
#include "shell/msg_box.h"
#include "shell/mylog.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQueryModel>

namespace {

// The error of the last failed connect, for RsOpen's message.
db::Error lastConnectError{0, {}};

const QString kOpenFailed = QStringLiteral("テーブル／クエリのオープンに失敗しました。");
const QString kOpenFailedTitle = QStringLiteral("テーブル／クエリオープンエラー");
const QString kWriteFailed = QStringLiteral("データベースへの書き込みに失敗しました。");
const QString kWriteFailedTitle = QStringLiteral("データベース更新エラー");

// What went wrong, then (on its own line) what happened to the database, when that is known.
QString whatHappened(const QString& sentence, const db::Error& e)
{
    const QString summary = e.summary();
    return summary.isEmpty() ? sentence : sentence + QLatin1Char('\n') + summary;
}

void showOpenFailure(const db::Error& e, const QString& sql)
{
    MsgBox(whatHappened(kOpenFailed, e) + QStringLiteral("\n\n") + QString::number(e.number) + QStringLiteral("  ")
               + e.description + QStringLiteral("\n\nSQL = ") + sql,
           ui::vbOKOnly | ui::vbSystemModal, kOpenFailedTitle);
}

void showWriteFailure(const db::Error& e, const QString& sql)
{
    QString text = whatHappened(kWriteFailed, e) + QStringLiteral("\n\n") + e.text();
    if (!sql.isEmpty())
        text += QStringLiteral("\n\nSQL = ") + sql;
    MsgBox(text, ui::vbOKOnly | ui::vbExclamation | ui::vbSystemModal, kWriteFailedTitle);
}

enum class OpenResult { Opened, NoConnection, Failed };

// Opens r on the SQL text over cn (connecting first); the error when the statement fails. A
// connection that cannot be made has been reported by DbConnect already.
OpenResult openOn(db::Recordset& r, const QString& sql, const QString& path, bool readOnly, bool forwardOnly,
                  db::Error& error)
{
    QString p = path;
    if (DbConnect(p)) {
        error = lastConnectError;
        return OpenResult::NoConnection;
    }
    try {
        r.Open(sql, cn, forwardOnly ? db::adOpenForwardOnly : db::adOpenKeyset,
               readOnly ? db::adLockReadOnly : db::adLockOptimistic);
        return OpenResult::Opened;
    } catch (const db::Error& e) {
        error = e;
        return OpenResult::Failed;
    }
}

void showStartupNotice(const QString& text, const QString& path)
{
    MsgBox(text + QStringLiteral("\n\n") + QDir::toNativeSeparators(path),
           ui::vbOKOnly | ui::vbExclamation | ui::vbSystemModal, stAppTitle);
}

// A connection-string value; one holding ';' (or starting with '{') is braced, '}' doubled.
QString connectionValue(const QString& v)
{
    if (!v.contains(QLatin1Char(';')) && !v.startsWith(QLatin1Char('{')))
        return v;
    return QLatin1Char('{') + QString(v).replace(QLatin1Char('}'), QStringLiteral("}}")) + QLatin1Char('}');
}

// The value of a key of a connection string ("" when absent).
QString connectionPart(const QString& s, const QString& wanted)
{
    QString found;
    int i = 0;
    while (i < s.size()) {
        const int eq = s.indexOf(QLatin1Char('='), i);
        if (eq < 0)
            break;
        const QString key = s.mid(i, eq - i).trimmed();
        QString value;
        int j = eq + 1;
        if (j < s.size() && s[j] == QLatin1Char('{')) {
            for (++j; j < s.size(); ++j) {
                if (s[j] == QLatin1Char('}')) {
                    if (j + 1 < s.size() && s[j + 1] == QLatin1Char('}')) {
                        ++j;
                    } else {
                        ++j;
                        break;
                    }
                }
                value += s[j];
            }
            // Whatever stands between the closing brace and the next ';' is not part of it.
            const int semi = s.indexOf(QLatin1Char(';'), j);
            j = semi < 0 ? s.size() : semi;
        } else {
            const int semi = s.indexOf(QLatin1Char(';'), j);
            const int end = semi < 0 ? s.size() : semi;
            value = s.mid(j, end - j).trimmed();
            j = end;
        }
        if (key.compare(wanted, Qt::CaseInsensitive) == 0)
            found = value;
        i = j + 1;
    }
    return found;
}

// The first complaint of a full check of the file; "" when it is sound. A file that cannot be
// opened at all throws why. A quick check would pass a value changed under its index, and the rows
// read back would carry it silently.
QString integrityProblem(const QString& path)
{
    db::Connection c;
    c.setBusyTimeout(DbBusyTimeoutMs);
    c.open(path, true);
    try {
        const QString verdict = c.scalar(QStringLiteral("PRAGMA integrity_check(1)")).toString();
        return verdict == QLatin1String("ok") ? QString() : verdict;
    } catch (const db::Error& e) {
        if (db::primaryCode(e) == db::sqliteCorrupt)
            return e.description;
        throw;
    }
}

bool damagedFile(const db::Error& e)
{
    const int code = db::primaryCode(e);
    return code == db::sqliteCorrupt || code == db::sqliteNotADb;
}

// The journal of an interrupted save that could not be rolled back: the file is torn without it,
// so the user must not be sent to delete it nor to the file's permissions alone.
void leaveInterrupted(const db::Error& e, const QString& path)
{
    showStartupNotice(QStringLiteral("データベースのファイル(集計.db)への前回の保存が途中で中断されたままです。")
                          + QStringLiteral("\n今回はデータベースを使わず、ファイルはそのまま残します。シフト表や設定はデータベースに保存できません。")
                          + QStringLiteral("\n作業フォルダと集計.dbに書き込めるようにしてから起動し直すと、中断前の状態に戻ります。")
                          + QStringLiteral("\n\n") + e.text(),
                      path);
    DbNotUsed = true;
    DbOpenReadOnly = true;
    DbErrShown = true;
}

// A file start-up could not open: said once, and the run leaves it as it is.
void leaveUnopened(const db::Error& e, const QString& path)
{
    if (e.number == db::sqliteReadOnlyRollback) {
        leaveInterrupted(e, path);
        return;
    }
    const bool damaged = damagedFile(e);
    const int code = db::primaryCode(e);
    QString text = damaged ? QStringLiteral("データベースのファイル(集計.db)が壊れているため、開けません。")
                           : QStringLiteral("データベースのファイル(集計.db)を開けません。");
    if (QFileInfo(path).isDir())
        text += QStringLiteral("\nこの名前のフォルダがあります。");
    else if (!damaged && !e.summary().isEmpty())
        text += QLatin1Char('\n') + e.summary();
    text += QStringLiteral("\n今回はデータベースを使いません。シフト表や設定はデータベースに保存できません。");
    if (damaged)
        text += QStringLiteral("\nバックアップから戻すか、このファイルの名前を変えて残すと、次の起動で新しいデータベースを作ります。");
    else if (code == db::sqliteBusy || code == db::sqliteLocked)
        text += QStringLiteral("\nデータベースを開いていたら、閉じてから再開してください。");
    showStartupNotice(text + QStringLiteral("\n\n") + e.text(), path);
    DbDamaged = damaged;
    DbNotUsed = true;
    DbOpenReadOnly = true;
    DbErrShown = true;
}

QString valueText(const QVariant& v)
{
    return v.isValid() && !v.isNull() ? v.toString() : QString();
}

}  // namespace

void resetDbGlobals()
{
    rs.Close();
    rsTableValue.Close();
    cn.close();
    DbErrShown = false;
    DbOpenReadOnly = false;
    DbDamaged = false;
    DbNotUsed = false;
    DbBusyTimeoutMs = 1000;
    lastConnectError = db::Error(0, {});
}

QString DefaultDbPath()
{
    return QDir(stDbPath).filePath(QStringLiteral("集計.db"));
}

QString GetDriverString()
{
    return QStringLiteral("driver={SQLite3};");
}

QString CnOpen(const QString& connectionString)
{
    QString path = connectionPart(connectionString, QStringLiteral("DBQ"));
    if (path.isEmpty())
        path = connectionPart(connectionString, QStringLiteral("Database"));
    try {
        if (path.isEmpty())
            throw db::Error(3706, QStringLiteral("データベースのパスが指定されていません。"));
        if (DbNotUsed && QDir::cleanPath(path) == QDir::cleanPath(DefaultDbPath()))
            throw db::Error(db::sqliteCantOpen, QStringLiteral("データベースは今回使いません。"));
        // SQLite would take an empty file for a new database and write one into it.
        const QFileInfo file(path);
        if (file.isFile() && file.size() == 0)
            throw db::Error(db::sqliteNotADb, QStringLiteral("ファイルが空です (0 バイト)。"));
        cn.setBusyTimeout(DbBusyTimeoutMs);
        cn.open(path, DbOpenReadOnly);
        return {};
    } catch (const db::Error& e) {
        lastConnectError = e;
        return e.text();
    }
}

bool DbConnect(QString& path)
{
    if (path.isEmpty())
        path = DefaultDbPath();
    if (cn.isOpen()) {
        if (QDir::cleanPath(cn.path()) == QDir::cleanPath(path))
            return false;
        // Another file was asked for: the shared recordset belongs to the old one.
        RsClose();
        DbClose();
    }
    const QString connection = GetDriverString() + QStringLiteral("DBQ=") + connectionValue(path);
    QString err = CnOpen(connection);
    if (!err.isEmpty())
        err = CnOpen(connection);
    if (err.isEmpty())
        return false;
    if (!DbErrShown) {
        QString text = whatHappened(QStringLiteral("データベースを開けませんでした。"), lastConnectError) + QLatin1Char('\n') + err;
        const int code = db::primaryCode(lastConnectError);
        if (code == db::sqliteBusy || code == db::sqliteLocked)
            text += QStringLiteral("\n") + QStringLiteral("データベースを開いていたら、閉じてから再開してください。");
        MsgBox(text + QStringLiteral("\n\ncn.ConnectionString = ") + connection, ui::vbOKOnly | ui::vbSystemModal,
               stAppTitle);
        DbErrShown = true;
    }
    return true;
}

bool DbReadOnly()
{
    const QString path = DefaultDbPath();
    const QFileInfo file(path);
    const QString folder = file.absolutePath();
    // A compaction killed half-way left its copy; the file itself was never touched.
    if (const int removed = db::removeLeftoverCopies(path))
        BootLog(QStringLiteral("DbReadOnly: removed %1 copy(ies) left by an interrupted compaction").arg(removed));
    if (file.isFile() && file.size() == 0) {
        showStartupNotice(QStringLiteral("データベースのファイル(集計.db)が空です（0 バイト）。")
                              + QStringLiteral("\n壊れているおそれがあるため、そのまま残して、今回は使いません。")
                              + QStringLiteral("\nバックアップから戻すか、このファイルを削除すると、次の起動で新しいデータベースを作ります。"),
                          path);
        DbNotUsed = true;
        DbOpenReadOnly = true;
        DbErrShown = true;
        return true;
    }
    if (!file.exists()) {
        if (db::canWrite(folder))
            return false;
        showStartupNotice(QStringLiteral("作業フォルダに書き込めないため、データベースのファイル(集計.db)を作れません。")
                              + QStringLiteral("\n今回はデータベースを使いません。"),
                          folder);
        DbOpenReadOnly = true;  // nor will a connection try to make one
        DbErrShown = true;
        return true;
    }
    // An interrupted save is rolled back before the check, which only reads and could not.
    if (db::rollBackInterruptedWrite(path, DbBusyTimeoutMs))
        BootLog(QStringLiteral("DbReadOnly: rolled back the journal of an interrupted write: ") + path);
    QString problem;
    try {
        problem = integrityProblem(path);
    } catch (const db::Error& e) {
        leaveUnopened(e, path);
        return true;
    }
    if (!problem.isEmpty()) {
        showStartupNotice(QStringLiteral("データベースのファイル(集計.db)が壊れています。")
                              + QStringLiteral("\n読み取り専用で開きます。シフト表や設定はデータベースに保存できません。")
                              + QStringLiteral("\nバックアップから戻すか、このファイルの名前を変えて残すと、次の起動で新しいデータベースを作ります。")
                              + QStringLiteral("\n\n") + problem,
                          path);
        DbDamaged = true;
        DbOpenReadOnly = true;
        DbErrShown = true;
        return true;
    }
    // SQLite writes its journal beside the file, so the folder must be writable too.
    if (db::canWrite(path) && db::canWrite(folder))
        return false;
    DbOpenReadOnly = true;
    showStartupNotice(QStringLiteral("データベースのファイル(集計.db)に書き込めません。")
                          + QStringLiteral("\n読み取り専用のファイルか、書き込めないフォルダにあります。")
                          + QStringLiteral("\n読み取り専用で開きます。シフト表や設定はデータベースに保存できません。"),
                      path);
    return true;
}

bool DbConnect()
{
    QString path;
    return DbConnect(path);
}

void DbClose()
{
    cn.close();
}

int RsOpen(const QString& sql, bool silent, const QString& path, bool readOnly, bool forwardOnly)
{
    db::Error error{0, {}};
    if (openOn(rs, sql, path, readOnly, forwardOnly, error) == OpenResult::Opened)
        return 0;
    if (!silent && !DbErrShown) {
        showOpenFailure(error, sql);
        DbErrShown = true;
    }
    return -1;
}

void RsClose()
{
    rs.Close();
}

int RsOpenEx(db::Recordset& r, const QString& sql, bool readOnly, const QString& path, bool forwardOnly, bool silent)
{
    db::Error error{0, {}};
    const OpenResult result = openOn(r, sql, path, readOnly, forwardOnly, error);
    if (result == OpenResult::Opened)
        return 0;
    if (!silent && result == OpenResult::Failed)
        showOpenFailure(error, sql);
    return -1;
}

void RsCloseEx(db::Recordset& r)
{
    r.Close();
}

int RsOpenForGrid(db::Connection& c, QSqlQueryModel& model, const QString& sql)
{
    if (!c.isOpen())
        return -1;
    model.setQuery(sql, c.database());
    return model.lastError().isValid() ? -1 : 0;
}

int RsUpdate(db::Recordset& r)
{
    try {
        r.Update();
        return 0;
    } catch (const VbError&) {
        return -1;
    }
}

void RsUpdateClose(db::Recordset& r)
{
    RsUpdate(r);
    r.Close();
}

int RsUpdateRetry(db::Recordset& r)
{
    db::Error lastError{0, {}};
    for (int n = 1; n <= 5; ++n) {
        try {
            r.Update();
            return 0;
        } catch (const db::Error& e) {
            lastError = e;
        }
        os::sleepMs(10LL << (n - 1));
        QCoreApplication::processEvents();
    }
    // The write that failed, or the recordset itself when it refused before any statement ran.
    const QString sql = lastError.sql.isEmpty() ? r.Source() : lastError.sql;
    MemLog(QStringLiteral("RsUpdateRetry: ") + lastError.text() + QStringLiteral(" SQL = ") + sql);
    r.CancelUpdate();
    showWriteFailure(lastError, sql);
    return -1;
}

QString GetTableValue(const QString& table, const QString& field, bool silent)
{
    Q_UNUSED(silent);  // a missing record or field gives "" either way
    return GetTableValues(table, {field}).front();
}

QStringList GetTableValues(const QString& table, const QStringList& fields)
{
    QStringList values;
    const bool open = RsOpenEx(rsTableValue, QStringLiteral("select * from ") + table, true, {}, true, false) == 0;
    for (const QString& field : fields) {
        const bool found = open && !rsTableValue.EndOfFile() && rsTableValue.hasField(field);
        values << (found ? valueText(rsTableValue.Fields(field).Value()) : QString());
    }
    RsCloseEx(rsTableValue);
    return values;
}

int SetTableValue(const QString& table, const QString& field, const QVariant& value)
{
    if (RsOpenEx(rsTableValue, QStringLiteral("select * from ") + table, false, {}, false, false) != 0)
        return -1;
    int result = -1;
    try {
        if (rsTableValue.RecordCount() != 0)
            rsTableValue.MoveFirst();
        else
            rsTableValue.AddNew();
        rsTableValue.Fields(field).setValue(value);
        result = RsUpdateRetry(rsTableValue);
    } catch (const db::Error& e) {
        MemLog(QStringLiteral("SetTableValue ") + table + QLatin1Char('.') + field + QStringLiteral(": ") + e.text());
        showWriteFailure(e, e.sql);
    }
    RsCloseEx(rsTableValue);
    return result;
}

long TableToArray(db::TableArray& arr, const QString& source)
{
    const QString sql = source.left(7).compare(QLatin1String("select "), Qt::CaseInsensitive) == 0
        ? source
        : QStringLiteral("SELECT * From ") + source + QStringLiteral(" order by 1;");
    if (RsOpen(sql, false, {}, true) != 0)
        return -1;
    const long n = rs.RecordCount();
    const int fields = rs.FieldCount();
    db::TableArray out(static_cast<int>(n), fields);
    int row = 0;
    for (rs.MoveFirst(); !rs.EndOfFile(); rs.MoveNext()) {
        ++row;
        for (int j = 0; j < fields; ++j)
            out(row, j) = rs.Fields(j).Value();
    }
    RsClose();
    out(0, 0) = static_cast<qlonglong>(n);
    arr = std::move(out);
    return n;
}

int ArrayToTable(const db::TableArray& arr, const QString& table)
{
    // No rows are wanted, only the table's fields to append to.
    if (RsOpen(QStringLiteral("SELECT * From ") + table + QStringLiteral(" WHERE 0"), true) != 0)
        return -1;
    try {
        db::Transaction t(cn);
        const int first = rs.FieldCount() > 0 && rs.Fields(0).isAutoKey() ? 1 : 0;
        const int last = std::min(rs.FieldCount(), arr.UBound(2) + 1) - 1;
        for (int i = 1; i <= arr.UBound(1); ++i) {
            rs.AddNew();
            for (int j = first; j <= last; ++j) {
                const QVariant& v = arr(i, j);
                const bool empty = !v.isValid() || v.isNull()
                    || (v.typeId() == QMetaType::QString && v.toString().isEmpty());
                rs.Fields(j).setValue(empty ? QVariant() : v);
            }
            rs.Update();
        }
        t.commit();
    } catch (const VbError& e) {
        MemLog(QStringLiteral("ArrayToTable ") + table + QStringLiteral(": ") + e.text());
        RsClose();
        return -1;
    }
    RsClose();
    return 0;
}
