#include "shell/rs_db.h"

#include "platform/os/clock.h"
#include "platform/ui/prompt.h"
#include "shell/globals.h"
#include "shell/mylog.h"

#include <QCoreApplication>
#include <QDir>
#include <QSqlError>
#include <QSqlQueryModel>

namespace {

// The error of the last failed connect, for RsOpen's message.
db::Error lastConnectError{0, {}};

const QString kOpenFailed = QStringLiteral("テーブル／クエリのオープンに失敗しました。");
const QString kOpenFailedTitle = QStringLiteral("テーブル／クエリオープンエラー");

void showOpenFailure(const db::Error& e, const QString& sql)
{
    ui::showMessage(QString::number(e.number) + QStringLiteral("  ") + e.description + QStringLiteral("\n\n") + kOpenFailed
                        + QStringLiteral("\n\nSQL = ") + sql,
                    ui::vbOKOnly | ui::vbSystemModal, kOpenFailedTitle);
}

// Opens r on the SQL text over cn (connecting first); the error when it fails.
bool openOn(db::Recordset& r, const QString& sql, const QString& path, bool readOnly, bool forwardOnly, db::Error& error)
{
    QString p = path;
    if (DbConnect(p)) {
        error = lastConnectError;
        return false;
    }
    try {
        r.Open(sql, cn, forwardOnly ? db::adOpenForwardOnly : db::adOpenKeyset,
               readOnly ? db::adLockReadOnly : db::adLockOptimistic);
        return true;
    } catch (const db::Error& e) {
        error = e;
        return false;
    }
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
    DbReadOnly = false;
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
        cn.setBusyTimeout(DbBusyTimeoutMs);
        cn.open(path, DbReadOnly);
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
        ui::showMessage(err + QStringLiteral("\n") + QStringLiteral("データベースを開いていたら、閉じてから再開してください。")
                            + QStringLiteral("\n\ncn.ConnectionString = ") + connection,
                        ui::vbOKOnly | ui::vbSystemModal, stAppTitle);
        DbErrShown = true;
    }
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
    if (openOn(rs, sql, path, readOnly, forwardOnly, error))
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
    if (openOn(r, sql, path, readOnly, forwardOnly, error))
        return 0;
    if (!silent)
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
    QString lastError;
    for (int n = 1; n <= 5; ++n) {
        try {
            r.Update();
            return 0;
        } catch (const VbError& e) {
            lastError = e.text();
        }
        os::sleepMs(10LL << (n - 1));
        QCoreApplication::processEvents();
    }
    MemLog(QStringLiteral("RsUpdateRetry: ") + lastError + QStringLiteral(" SQL = ") + r.Source());
    r.CancelUpdate();
    ui::showMessage(lastError + QStringLiteral("\n\n") + QStringLiteral("データベースへの書き込みに失敗しました。")
                        + QStringLiteral("\n\nSQL = ") + r.Source(),
                    ui::vbOKOnly | ui::vbExclamation | ui::vbSystemModal, QStringLiteral("データベース更新エラー"));
    return -1;
}

QString GetTableValue(const QString& table, const QString& field, bool silent)
{
    Q_UNUSED(silent);  // a missing record or field gives "" either way
    QString value;
    if (RsOpenEx(rsTableValue, QStringLiteral("select * from ") + table, true, {}, true, false) == 0) {
        if (!rsTableValue.EOF_() && rsTableValue.hasField(field))
            value = valueText(rsTableValue.Fields(field).Value());
    }
    RsCloseEx(rsTableValue);
    return value;
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
    } catch (const VbError& e) {
        MemLog(QStringLiteral("SetTableValue ") + table + QLatin1Char('.') + field + QStringLiteral(": ") + e.text());
        ui::showMessage(e.text() + QStringLiteral("\n\n") + QStringLiteral("データベースへの書き込みに失敗しました。"),
                        ui::vbOKOnly | ui::vbExclamation | ui::vbSystemModal, QStringLiteral("データベース更新エラー"));
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
    for (rs.MoveFirst(); !rs.EOF_(); rs.MoveNext()) {
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
