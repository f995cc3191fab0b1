#include "platform/db/db.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QDate>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTime>

#include <set>

namespace db {

namespace {

QAtomicInt connectionSerial;

// Connections still open when the application object goes are closed with it, while Qt's SQL
// driver is still there (a process-wide connection would otherwise outlive it).
std::set<Connection*>& openConnections()
{
    static std::set<Connection*> all;
    return all;
}

void closeOpenConnections()
{
    const auto all = openConnections();
    for (Connection* c : all)
        c->close();
}

const QString kRowid = QStringLiteral("qv_rowid_");

Error noCurrentRecord()
{
    return {3021, QStringLiteral("BOF と EOF のいずれかが True になっているか、または現在のレコードが削除されています。"
                                 "要求された操作には、現在のレコードが必要です。")};
}

Error itemNotFound(const QString& name)
{
    return {3265, QStringLiteral("要求された名前、または序数に対応する項目がコレクションで見つかりません。 (") + name
                      + QLatin1Char(')')};
}

Error notUpdatable()
{
    return {3251, QStringLiteral("この操作は要求されたレコードセットではサポートされていません。")};
}

Error closedRecordset()
{
    return {3704, QStringLiteral("オブジェクトが閉じている場合は、操作は許可されません。")};
}

QString quoteId(const QString& name)
{
    QString s = name;
    s.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + s + QLatin1Char('"');
}

// [name], "name" or `name` as the bare name.
QString unquoteId(QString name)
{
    if (name.size() >= 2) {
        const QChar a = name.front(), b = name.back();
        if ((a == QLatin1Char('[') && b == QLatin1Char(']')) || (a == QLatin1Char('"') && b == QLatin1Char('"'))
            || (a == QLatin1Char('`') && b == QLatin1Char('`')))
            name = name.mid(1, name.size() - 2);
    }
    return name;
}

QVariant fromStorage(const QVariant& v)
{
    return v.isNull() ? QVariant() : v;
}

}  // namespace

int primaryCode(const Error& e)
{
    return e.number & 0xff;
}

QString Error::summary() const
{
    // A read-only failure too, but the remedy is not the file's permissions alone.
    if (number == sqliteReadOnlyRollback)
        return QStringLiteral("前回のデータベースへの書き込みが途中で中断されたまま、元に戻せないため、データベースを読めません。");
    // Not the file's permissions: another program put a new file in its place.
    if (number == sqliteReadOnlyDbMoved)
        return QStringLiteral("データベースのファイルが、開いている間に他のプログラム（別に起動した本プログラムなど）に置き換えられたため、書き込めません。"
                              "プログラムを終了して、起動し直してください。");
    switch (primaryCode(*this)) {
    case sqliteBusy:
    case sqliteLocked: return QStringLiteral("データベースは他のプログラムが使用中です。");
    case sqliteCorrupt:
    case sqliteNotADb: return QStringLiteral("データベースのファイルが壊れています。");
    case sqliteReadOnly: return QStringLiteral("データベースは読み取り専用のため、書き込めません。");
    case sqliteFull: return QStringLiteral("ディスクに空きがないため、データベースに書き込めません。");
    case sqliteCantOpen: return QStringLiteral("データベースのファイルを開けません（ファイルかフォルダがないか、権限がありません）。");
    case sqliteIoErr: return QStringLiteral("データベースのファイルの読み書きに失敗しました。");
    default: return {};
    }
}

bool canWrite(const QString& path)
{
    const QFileInfo info(path);
    return info.isWritable() && (info.permissions() & (QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther));
}

QString journalPath(const QString& path)
{
    return path + QStringLiteral("-journal");
}

bool rollBackInterruptedWrite(const QString& path, int busyTimeoutMs)
{
    const QFileInfo file(path);
    const QFileInfo journal(journalPath(path));
    if (!file.isFile() || file.size() == 0 || !journal.isFile() || journal.size() == 0)
        return false;
    // Rolling back writes the file and deletes the journal from the folder.
    if (!canWrite(path) || !canWrite(file.absolutePath()))
        return false;
    try {
        Connection c;
        c.setBusyTimeout(busyTimeoutMs);
        c.open(path);  // its first read rolls a hot journal back
    } catch (const Error&) {
        return false;  // what the caller's own open meets tells why
    }
    // A journal still there belongs to a write another program is making now.
    return !QFileInfo::exists(journalPath(path));
}

QVariant toStorage(const QVariant& v)
{
    if (!v.isValid() || v.isNull())
        return {};
    switch (v.typeId()) {
    case QMetaType::Bool: return v.toBool() ? -1 : 0;
    case QMetaType::QDate: return v.toDate().toString(Qt::ISODate);
    case QMetaType::QTime: return v.toTime().toString(QStringLiteral("HH:mm:ss"));
    case QMetaType::QDateTime: return v.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    default: return v;
    }
}

// ---------------------------------------------------------------------------------------------
// Connection

Connection::Connection()
    : name_(QStringLiteral("qv_db_%1").arg(connectionSerial.fetchAndAddRelaxed(1)))
{
}

Connection::~Connection()
{
    close();
}

void Connection::open(const QString& path, bool readOnly)
{
    close();
    if (readOnly)
        rollBackInterruptedWrite(path, busyTimeoutMs_);
    const bool creating = !readOnly && !QFileInfo::exists(path);
    db_ = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
    db_.setDatabaseName(path);
    if (readOnly)
        db_.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
    if (!db_.open()) {
        const QSqlError e = db_.lastError();
        Error err(e.nativeErrorCode().toInt(), e.databaseText().isEmpty() ? e.text() : e.databaseText());
        db_ = QSqlDatabase();
        QSqlDatabase::removeDatabase(name_);
        throw err;
    }
    open_ = true;
    path_ = path;
    readOnly_ = readOnly;
    static const bool closeAtExit = [] {
        qAddPostRoutine(closeOpenConnections);
        return true;
    }();
    Q_UNUSED(closeAtExit);
    openConnections().insert(this);
    try {
        run(QStringLiteral("PRAGMA busy_timeout = %1").arg(busyTimeoutMs_));
        // Reading the schema is what tells a database from any other file.
        run(QStringLiteral("SELECT count(*) FROM sqlite_master"));
        // SQLite writes nothing until the first change; an empty file left by a run that ended
        // before it would later look like a damaged database.
        if (creating)
            run(QStringLiteral("PRAGMA user_version = 0"));
    } catch (...) {
        close();
        throw;
    }
}

void Connection::close()
{
    if (!open_)
        return;
    if (inTransaction_) {
        try {
            rollback();
        } catch (const Error&) {
        }
    }
    db_.close();
    db_ = QSqlDatabase();
    QSqlDatabase::removeDatabase(name_);
    openConnections().erase(this);
    open_ = false;
    readOnly_ = false;
    path_.clear();
}

Error Connection::lastError(const QSqlQuery* q, const QString& sql) const
{
    const QSqlError e = q ? q->lastError() : db_.lastError();
    const QString text = e.databaseText().isEmpty() ? e.text() : e.databaseText();
    bool ok = false;
    int code = e.nativeErrorCode().toInt(&ok);
    if (!ok || code == 0)
        code = 1;
    // SQLite's own words here ("attempt to write a readonly database") would send the user to the
    // file's permissions, and deleting the journal to get on would leave the file torn.
    Error err(code, code != sqliteReadOnlyRollback
                        ? text
                        : QStringLiteral("前回の書き込みが途中で中断され、ジャーナル(%1)が残っています。"
                                         "ファイルかフォルダに書き込めないため、中断前の状態に戻せません。"
                                         "ジャーナルは消さないでください（消すとファイルが壊れたままになります）。")
                              .arg(QFileInfo(journalPath(path_)).fileName()));
    err.sql = sql;
    return err;
}

QSqlQuery Connection::run(const QString& sql, const QVariantList& params)
{
    if (!open_)
        throw Error(3704, QStringLiteral("接続が閉じています。"));
    QSqlQuery q(db_);
    q.setForwardOnly(true);
    if (!q.prepare(sql))
        throw lastError(&q, sql);
    for (const QVariant& p : params)
        q.addBindValue(toStorage(p));
    if (!q.exec())
        throw lastError(&q, sql);
    return q;
}

bool Connection::next(QSqlQuery& q, const QString& sql) const
{
    if (q.next())
        return true;
    // next() answers false both at the end and on an error (a damaged page, say).
    if (q.lastError().isValid())
        throw lastError(&q, sql);
    return false;
}

int Connection::execute(const QString& sql, const QVariantList& params)
{
    QSqlQuery q = run(sql, params);
    return q.numRowsAffected();
}

QVariant Connection::scalar(const QString& sql, const QVariantList& params)
{
    QSqlQuery q = run(sql, params);
    return next(q, sql) ? fromStorage(q.value(0)) : QVariant();
}

bool Connection::tableExists(const QString& name)
{
    return scalar(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type='table' AND name=?"), {name}).toInt() > 0;
}

bool Connection::viewExists(const QString& name)
{
    return scalar(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type='view' AND name=?"), {name}).toInt() > 0;
}

QStringList Connection::columns(const QString& table)
{
    QStringList out;
    const QString sql = QStringLiteral("SELECT name FROM pragma_table_info(?) ORDER BY cid");
    QSqlQuery q = run(sql, {table});
    while (next(q, sql))
        out << q.value(0).toString();
    return out;
}

QString Connection::autoKeyColumn(const QString& table)
{
    const QString sql = QStringLiteral("SELECT name, upper(type), pk FROM pragma_table_info(?)");
    QSqlQuery q = run(sql, {table});
    QString key;
    int keys = 0;
    while (next(q, sql)) {
        if (q.value(2).toInt() > 0) {
            ++keys;
            if (q.value(1).toString() == QLatin1String("INTEGER"))
                key = q.value(0).toString();
        }
    }
    return keys == 1 ? key : QString();
}

void Connection::begin()
{
    run(QStringLiteral("BEGIN IMMEDIATE"));
    inTransaction_ = true;
}

void Connection::commit()
{
    run(QStringLiteral("COMMIT"));
    inTransaction_ = false;
}

void Connection::rollback()
{
    inTransaction_ = false;
    run(QStringLiteral("ROLLBACK"));
}

Transaction::Transaction(Connection& c) : c_(c)
{
    // Inside an open transaction this one takes part in it: the outer one decides.
    if (c_.inTransaction())
        done_ = true;
    else
        c_.begin();
}

Transaction::~Transaction()
{
    if (done_)
        return;
    try {
        c_.rollback();
    } catch (const Error&) {
    }
}

void Transaction::commit()
{
    if (done_)
        return;
    c_.commit();
    done_ = true;
}

// ---------------------------------------------------------------------------------------------
// Field

QString Field::Name() const
{
    return rs_->names_.at(index_);
}

QVariant Field::Value() const
{
    return rs_->current().values.at(index_);
}

void Field::setValue(const QVariant& v)
{
    rs_->checkEditable();
    auto& row = rs_->current();
    if (!row.isNew && row.saved.isEmpty())
        row.saved = row.values;
    row.values[index_] = toStorage(v);
    row.changed[static_cast<size_t>(index_)] = true;
}

bool Field::isAutoKey() const
{
    return index_ == rs_->autoKey_;
}

// ---------------------------------------------------------------------------------------------
// Recordset

void Recordset::Open(const QString& sql, Connection& c, int cursor, int lock)
{
    Q_UNUSED(cursor);  // rows are held in memory: every cursor can move both ways
    Close();
    cn_ = &c;
    sql_ = sql;
    QString text = sql.trimmed();
    while (text.endsWith(QLatin1Char(';')))
        text.chop(1);

    // Rows of one plain table can be edited: they are read with their rowid.
    static const QRegularExpression oneTable(
        QStringLiteral("^select\\s+(?!distinct\\b)(.+?)\\s+from\\s+(\\[[^\\]]+\\]|\"[^\"]+\"|[^\\s,;()]+)"
                       "\\s*(?:where\\b.*|order\\s+by\\b.*|limit\\b.*)?$"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression notOneTable(QStringLiteral("\\b(join|group\\s+by|union|having)\\b"),
                                                QRegularExpression::CaseInsensitiveOption);
    QString table;
    const auto m = oneTable.match(text);
    if (lock != adLockReadOnly && !c.isReadOnly() && m.hasMatch() && !notOneTable.match(text).hasMatch()) {
        table = unquoteId(m.captured(2));
        if (!c.tableExists(table))
            table.clear();
    }
    if (!table.isEmpty()) {
        // The rowid goes last, so that column numbers in ORDER BY still count the caller's columns.
        const QString withRowid = text.left(m.capturedEnd(1)) + QStringLiteral(", rowid AS ") + kRowid
                                  + text.mid(m.capturedEnd(1));
        try {
            base_ = withRowid;
            hasRowid_ = true;
            table_ = table;
            requery();
        } catch (const Error& e) {
            // A table without a rowid: its rows are only read. A lock or a damaged page is no
            // reason to read the rows again without their rowid.
            if (primaryCode(e) != sqliteError)
                throw;
            table.clear();
        }
    }
    if (table.isEmpty()) {
        base_ = text;
        hasRowid_ = false;
        table_.clear();
        requery();
    }
    readOnly_ = table_.isEmpty() || lock == adLockReadOnly || c.isReadOnly();
    autoKey_ = -1;
    if (!table_.isEmpty()) {
        const QString key = c.autoKeyColumn(table_);
        autoKey_ = key.isEmpty() ? -1 : indexOf(key);
    }
}

void Recordset::requery()
{
    QString sql = base_;
    if (!filter_.isEmpty() || !sort_.isEmpty()) {
        sql = QStringLiteral("SELECT * FROM (") + base_ + QLatin1Char(')');
        if (!filter_.isEmpty())
            sql += QStringLiteral(" WHERE ") + filter_;
        if (!sort_.isEmpty())
            sql += QStringLiteral(" ORDER BY ") + sort_;
    }
    QSqlQuery q = cn_->run(sql);
    if (!q.isSelect()) {
        rows_.clear();
        names_.clear();
        pos_ = 0;
        open_ = false;
        return;
    }
    // Read into new rows, so that a read that fails leaves the old ones as they were.
    const QSqlRecord rec = q.record();
    const int fields = hasRowid_ ? rec.count() - 1 : rec.count();
    QStringList names;
    for (int i = 0; i < fields; ++i)
        names << rec.fieldName(i);
    std::vector<Row> rows;
    while (cn_->next(q, sql)) {
        Row row;
        row.rowid = hasRowid_ ? q.value(fields).toLongLong() : -1;
        for (int i = 0; i < fields; ++i)
            row.values << fromStorage(q.value(i));
        row.changed.assign(static_cast<size_t>(fields), false);
        rows.push_back(std::move(row));
    }
    names_ = std::move(names);
    rows_ = std::move(rows);
    pos_ = 0;
    open_ = true;
}

void Recordset::Close()
{
    open_ = false;
    cn_ = nullptr;
    table_.clear();
    base_.clear();
    filter_.clear();
    sort_.clear();
    names_.clear();
    rows_.clear();
    pos_ = 0;
    hasRowid_ = false;
    readOnly_ = true;
    autoKey_ = -1;
    addNewFrom_ = 0;
}

long Recordset::RecordCount() const
{
    long n = 0;
    for (const Row& r : rows_)
        n += r.deleted ? 0 : 1;
    return n;
}

bool Recordset::EndOfFile() const
{
    return pos_ >= static_cast<int>(rows_.size()) || RecordCount() == 0;
}

bool Recordset::BOF() const
{
    return pos_ < 0 || RecordCount() == 0;
}

void Recordset::skipDeleted(int step)
{
    const int n = static_cast<int>(rows_.size());
    while (pos_ >= 0 && pos_ < n && rows_[static_cast<size_t>(pos_)].deleted)
        pos_ += step;
}

void Recordset::MoveFirst()
{
    if (!open_)
        throw closedRecordset();
    flush();
    pos_ = 0;
    skipDeleted(1);
}

void Recordset::MoveLast()
{
    if (!open_)
        throw closedRecordset();
    flush();
    pos_ = static_cast<int>(rows_.size()) - 1;
    skipDeleted(-1);
}

void Recordset::MoveNext()
{
    if (!open_)
        throw closedRecordset();
    if (EndOfFile())
        throw noCurrentRecord();
    flush();
    ++pos_;
    skipDeleted(1);
}

void Recordset::MovePrevious()
{
    if (!open_)
        throw closedRecordset();
    if (BOF())
        throw noCurrentRecord();
    flush();
    --pos_;
    skipDeleted(-1);
}

int Recordset::indexOf(const QString& name) const
{
    for (int i = 0; i < names_.size(); ++i)
        if (names_[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

Field Recordset::Fields(int index)
{
    if (!open_)
        throw closedRecordset();
    if (index < 0 || index >= names_.size())
        throw itemNotFound(QString::number(index));
    return Field(this, index);
}

Field Recordset::Fields(const QString& name)
{
    if (!open_)
        throw closedRecordset();
    const int i = indexOf(name);
    if (i < 0)
        throw itemNotFound(name);
    return Field(this, i);
}

Recordset::Row& Recordset::current()
{
    if (!open_)
        throw closedRecordset();
    if (pos_ < 0 || pos_ >= static_cast<int>(rows_.size()) || rows_[static_cast<size_t>(pos_)].deleted)
        throw noCurrentRecord();
    return rows_[static_cast<size_t>(pos_)];
}

const Recordset::Row& Recordset::current() const
{
    return const_cast<Recordset*>(this)->current();
}

void Recordset::checkEditable() const
{
    if (!open_)
        throw closedRecordset();
    if (readOnly_)
        throw notUpdatable();
}

bool Recordset::editPending() const
{
    if (!open_ || pos_ < 0 || pos_ >= static_cast<int>(rows_.size()))
        return false;
    const Row& r = rows_[static_cast<size_t>(pos_)];
    if (r.deleted)
        return false;
    if (r.isNew)
        return true;
    for (bool c : r.changed)
        if (c)
            return true;
    return false;
}

void Recordset::flush()
{
    if (editPending())
        Update();
}

void Recordset::AddNew()
{
    checkEditable();
    flush();
    Row row;
    row.isNew = true;
    for (int i = 0; i < names_.size(); ++i)
        row.values << QVariant();
    row.changed.assign(static_cast<size_t>(names_.size()), false);
    addNewFrom_ = pos_;
    rows_.push_back(std::move(row));
    pos_ = static_cast<int>(rows_.size()) - 1;
}

void Recordset::Update()
{
    checkEditable();
    Row& row = current();
    QStringList cols;
    QVariantList values;
    for (int i = 0; i < names_.size(); ++i) {
        if (row.changed[static_cast<size_t>(i)]) {
            cols << quoteId(names_[i]);
            values << row.values[i];
        }
    }
    if (row.isNew) {
        QSqlQuery q = cols.isEmpty()
            ? cn_->run(QStringLiteral("INSERT INTO ") + quoteId(table_) + QStringLiteral(" DEFAULT VALUES"))
            : cn_->run(QStringLiteral("INSERT INTO ") + quoteId(table_) + QStringLiteral(" (") + cols.join(QLatin1Char(','))
                           + QStringLiteral(") VALUES (") + QStringList(cols.size(), QStringLiteral("?")).join(QLatin1Char(','))
                           + QLatin1Char(')'),
                       values);
        row.rowid = q.lastInsertId().toLongLong();
        if (autoKey_ >= 0)
            row.values[autoKey_] = row.rowid;
        row.isNew = false;
    } else if (!cols.isEmpty()) {
        QStringList sets;
        for (const QString& c : cols)
            sets << c + QStringLiteral("=?");
        values << row.rowid;
        cn_->run(QStringLiteral("UPDATE ") + quoteId(table_) + QStringLiteral(" SET ") + sets.join(QLatin1Char(','))
                     + QStringLiteral(" WHERE rowid=?"),
                 values);
    }
    row.changed.assign(row.changed.size(), false);
    row.saved.clear();
}

void Recordset::CancelUpdate()
{
    if (!editPending())
        return;
    Row& row = rows_[static_cast<size_t>(pos_)];
    if (row.isNew) {
        rows_.erase(rows_.begin() + pos_);
        pos_ = addNewFrom_;
        return;
    }
    if (!row.saved.isEmpty())
        row.values = row.saved;
    row.saved.clear();
    row.changed.assign(row.changed.size(), false);
}

void Recordset::Delete()
{
    checkEditable();
    Row& row = current();
    if (row.isNew) {
        CancelUpdate();
        return;
    }
    cn_->run(QStringLiteral("DELETE FROM ") + quoteId(table_) + QStringLiteral(" WHERE rowid=?"), {row.rowid});
    row.deleted = true;
}

void Recordset::setFilter(const QString& where)
{
    if (!open_)
        throw closedRecordset();
    flush();
    filter_ = where.trimmed();
    requery();
}

void Recordset::setSort(const QString& orderBy)
{
    if (!open_)
        throw closedRecordset();
    flush();
    sort_ = orderBy.trimmed();
    requery();
}

}  // namespace db
