#pragma once
// The database layer: one SQLite file reached through Qt Sql, shaped the way the program uses a
// connection and a recordset. A recordset materialises its rows (with each row's rowid, so that
// an edit or delete finds its row again); statements that return no rows simply run.
// Failures throw db::Error with SQLite's result code and its text; a read that stops on an error
// throws too, so a partial result is never taken for the whole.
#include "platform/os/vb_error.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>
#include <functional>
#include <vector>

class QSqlQuery;

namespace db {

struct Error : VbError {
    using VbError::VbError;
    // What happened, in one Japanese sentence, for the kinds of failure a user can act on (a
    // lock, a damaged file, no room, no permission); "" for the rest.
    QString summary() const;
    // The statement that failed, when a statement did.
    QString sql;
};

// SQLite's primary result codes the program tells apart.
enum ResultCode : int {
    sqliteError = 1, sqliteBusy = 5, sqliteLocked = 6, sqliteReadOnly = 8, sqliteIoErr = 10,
    sqliteCorrupt = 11, sqliteFull = 13, sqliteCantOpen = 14, sqliteNotADb = 26,
};
// The extended code of a read-only connection that met the journal of an interrupted write: it
// cannot put the file back, and reads nothing from it.
constexpr int sqliteReadOnlyRollback = sqliteReadOnly | (3 << 8);
// The file was deleted or replaced (renamed over) while this connection had it open.
constexpr int sqliteReadOnlyDbMoved = sqliteReadOnly | (4 << 8);
int primaryCode(const Error& e);

// The path can be written, and its write bits are not all cleared: those count as read-only even
// where the system would let this user write (an administrator), because the user marked it so.
bool canWrite(const QString& path);
// The rollback journal SQLite keeps beside the file while a write is under way (its journal mode
// is the default, DELETE).
QString journalPath(const QString& path);
// A write cut off (the program killed, the power lost) leaves its journal beside the file, and the
// next connection that can write puts the file back as it was before that write. A read-only one
// cannot, and every read of it fails (sqliteReadOnlyRollback). Where the file and its folder can
// be written, one read-write connection does it here: true when a journal was rolled back. A
// journal is never removed by hand: the file without it stays torn.
bool rollBackInterruptedWrite(const QString& path, int busyTimeoutMs = 1000);

// Cursor and lock kinds a caller may ask for (the numbers the program passes around).
enum CursorType : int { adOpenForwardOnly = 0, adOpenKeyset = 1, adOpenDynamic = 2, adOpenStatic = 3 };
enum LockType : int { adLockReadOnly = 1, adLockPessimistic = 2, adLockOptimistic = 3 };
enum ObjectState : int { adStateClosed = 0, adStateOpen = 1 };

// A value as it is stored: true/false become -1/0, dates ISO text, times "HH:MM:SS".
QVariant toStorage(const QVariant& v);

class Connection {
public:
    Connection();
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Opens (creating when missing, if its folder exists) the database file; a file it creates
    // is a database at once, never an empty file. A file that is not a database, or cannot be
    // read, throws. A read-only open first lets an interrupted write be rolled back where it can
    // be (rollBackInterruptedWrite).
    void open(const QString& path, bool readOnly = false);
    void close();
    bool isOpen() const { return open_; }
    bool isReadOnly() const { return readOnly_; }
    QString path() const { return path_; }
    // How long a statement waits for another connection's lock before it fails (ms); applies
    // from the next open.
    void setBusyTimeout(int ms) { busyTimeoutMs_ = ms; }
    int busyTimeout() const { return busyTimeoutMs_; }

    QSqlDatabase database() const { return db_; }
    // Runs one statement with bound values; the number of rows it changed.
    int execute(const QString& sql, const QVariantList& params = {});
    // Runs a query and returns its first column of the first row (invalid when no row).
    QVariant scalar(const QString& sql, const QVariantList& params = {});
    // Prepared, bound and executed; throws on failure.
    QSqlQuery run(const QString& sql, const QVariantList& params = {});
    // The next row of a query run on sql; false at the end, throws when the read stops on an error.
    bool next(QSqlQuery& q, const QString& sql) const;

    bool tableExists(const QString& name);
    bool viewExists(const QString& name);
    // Column names in table order; empty when the table does not exist.
    QStringList columns(const QString& table);
    // The column that is the table's INTEGER PRIMARY KEY (the rowid itself), or "".
    QString autoKeyColumn(const QString& table);

    void begin();
    void commit();
    void rollback();
    bool inTransaction() const { return inTransaction_; }

    // The error of the connection's last failure (of the query, when given, on sql), as thrown.
    Error lastError(const QSqlQuery* q = nullptr, const QString& sql = {}) const;

private:
    QString name_;
    QString path_;
    QSqlDatabase db_;
    bool open_ = false;
    bool readOnly_ = false;
    bool inTransaction_ = false;
    int busyTimeoutMs_ = 1000;
};

// Commits at commit(), rolls back when left without it (also on an exception).
class Transaction {
public:
    explicit Transaction(Connection& c);
    ~Transaction();
    void commit();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

private:
    Connection& c_;
    bool done_ = false;
};

class Recordset;

// One field of the recordset's current row.
class Field {
public:
    QString Name() const;
    QVariant Value() const;
    void setValue(const QVariant& v);
    // The table's INTEGER PRIMARY KEY: the database gives its value.
    bool isAutoKey() const;

private:
    friend class Recordset;
    Field(Recordset* rs, int index) : rs_(rs), index_(index) {}
    Recordset* rs_;
    int index_;
};

class Recordset {
public:
    Recordset() = default;
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    // Opens on the SQL text over the connection. A read-only lock refuses edits. A statement
    // that returns no rows runs and leaves the recordset closed.
    void Open(const QString& sql, Connection& c, int cursor = adOpenKeyset, int lock = adLockOptimistic);
    void Close();
    int State() const { return open_ ? adStateOpen : adStateClosed; }
    QString Source() const { return sql_; }

    // EOF: a macro of <cstdio> takes that name.
    bool EndOfFile() const;
    bool BOF() const;
    void MoveFirst();
    void MoveLast();
    void MoveNext();
    void MovePrevious();
    long RecordCount() const;

    int FieldCount() const { return static_cast<int>(names_.size()); }
    Field Fields(int index);
    Field Fields(const QString& name);
    bool hasField(const QString& name) const { return indexOf(name) >= 0; }

    // A new row (the current row until Update); its fields start Null.
    void AddNew();
    // Writes the current row's changes (INSERT or UPDATE by rowid).
    void Update();
    // Drops the current row's unsaved changes.
    void CancelUpdate();
    bool editPending() const;
    // Deletes the current row; it stays current until the next move.
    void Delete();

    // Narrows or orders the rows by an SQL expression over the fields ("" clears).
    void setFilter(const QString& where);
    QString Filter() const { return filter_; }
    void setSort(const QString& orderBy);
    QString Sort() const { return sort_; }

private:
    friend class Field;
    struct Row {
        qint64 rowid = -1;
        QVariantList values;
        QVariantList saved;  // the values before the first unsaved change
        std::vector<bool> changed;
        bool isNew = false;
        bool deleted = false;
    };

    int indexOf(const QString& name) const;
    Row& current();
    const Row& current() const;
    void checkEditable() const;
    void requery();
    void flush();
    void skipDeleted(int step);

    Connection* cn_ = nullptr;
    QString sql_;
    QString base_;   // the statement run, with the rowid when the rows can be edited
    QString table_;  // the one table behind the rows, when they can be edited
    QString filter_;
    QString sort_;
    bool open_ = false;
    bool readOnly_ = true;
    bool hasRowid_ = false;
    int autoKey_ = -1;
    QStringList names_;
    std::vector<Row> rows_;
    int pos_ = 0;
    int addNewFrom_ = 0;
};

}  // namespace db
