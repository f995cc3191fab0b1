#pragma once
// Every read and write of the work folder's database 集計.db goes through these routines: the
// shared connection cn, the shared recordset rs, one-field settings values, and whole tables to
// and from arrays. Results: 0 success, -1 failure; DbConnect true on failure; texts "" or
// "number description". Failure messages are system-modal OK boxes.
#include "platform/db/db.h"
#include "platform/db/table_array.h"

#include <QString>
#include <QVariant>

class QSqlQueryModel;

inline db::Connection cn;
inline db::Recordset rs;
// Only GetTableValue/SetTableValue use it, so that a settings value never disturbs rs.
inline db::Recordset rsTableValue;
// Set once a database failure message has been shown: later open and connect failures of the
// run stay silent. Failures nobody was told about (silent calls) leave it alone.
inline bool DbErrShown = false;
// Set when the database is only read this run (written by a newer program, or a file or folder
// that cannot be written): the connection opens read-only.
inline bool DbOpenReadOnly = false;
// Set when start-up's check found the file damaged: it is only read this run (DbOpenReadOnly is set
// too), and nothing is ever written into it.
inline bool DbDamaged = false;
// Set when start-up could not open the file at all, or left an empty one aside: no connection of
// the run opens it (DbOpenReadOnly is set too).
inline bool DbNotUsed = false;
// How long a statement waits for another program's lock on the file (ms).
inline int DbBusyTimeoutMs = 1000;

// Closes everything and clears the state above (part of the shell's reset).
void resetDbGlobals();

// stDbPath/集計.db
QString DefaultDbPath();
QString GetDriverString();
// Opens cn on the path ("" = the default, written back). True when it could not be opened.
bool DbConnect(QString& path);
bool DbConnect();
QString CnOpen(const QString& connectionString);
void DbClose();
// Start-up's look at stDbPath/集計.db before the first connection; says what it finds once, in a
// system-modal box. A file or folder that cannot be written: the database is opened read-only for
// the run (DbOpenReadOnly). A file whose full integrity check fails (a value changed where its
// index no longer matches it, a damaged page): opened read-only (DbDamaged, DbOpenReadOnly). A file
// that cannot be opened at all (not a database, a damaged header or schema, a folder, another
// program's lock) and an existing empty file (0 bytes): left as they are, and no connection of the
// run opens them (DbNotUsed; DbDamaged too when the file is damaged). The journal of an interrupted
// save is rolled back first, without a message, where the file and its folder can be written;
// where they cannot, the file and journal are left as they are and unused (DbNotUsed). A missing
// file in a folder that cannot be written: no database this run (none is made). All but the first
// silence later connect failures (DbErrShown). True when the run cannot write the database; false,
// with no message, when it can (a missing file in a writable folder included: the first
// connection makes a new database).
bool DbReadOnly();

int RsOpen(const QString& sql, bool silent = false, const QString& path = {}, bool readOnly = false,
           bool forwardOnly = false);
// Closes rs; the connection stays open for the run (DbClose ends it).
void RsClose();
int RsOpenEx(db::Recordset& r, const QString& sql, bool readOnly = false, const QString& path = {},
             bool forwardOnly = false, bool silent = false);
void RsCloseEx(db::Recordset& r);
// Fills a grid's model with the rows of the SQL text over the connection; 0 or -1, no message.
int RsOpenForGrid(db::Connection& c, QSqlQueryModel& model, const QString& sql);

int RsUpdate(db::Recordset& r);
void RsUpdateClose(db::Recordset& r);
// Up to 5 attempts, 10/20/40/80/160 ms apart. A write that still fails is not lost silently:
// it is logged, reported, and its change dropped from the recordset. 0 or -1.
int RsUpdateRetry(db::Recordset& r);

// The field of the table's first record as text ("" for Null, for no record, for no such field).
QString GetTableValue(const QString& table, const QString& field, bool silent = false);
// Several fields of the same record, read at once: "" for each one missing.
QStringList GetTableValues(const QString& table, const QStringList& fields);
// Writes the field of the first record, appending a record when the table is empty. 0 or -1.
int SetTableValue(const QString& table, const QString& field, const QVariant& value);

// Fills arr (0..n, 0..fields) from a table (sorted by its first column) or a "select " text;
// (0, 0) holds the row count n. Returns n, or -1 on failure (arr then unchanged).
long TableToArray(db::TableArray& arr, const QString& source);
// Appends rows 1..last of arr to the table in one transaction; a table's own key (INTEGER
// PRIMARY KEY) is left to the database, empty elements are stored as Null. 0 or -1.
int ArrayToTable(const db::TableArray& arr, const QString& table);
