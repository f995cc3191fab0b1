#pragma once
// The database's layout, brought up to date at every start, and its compaction at shut-down.
#include <QString>
#include <QVariant>

// The layout version this program writes (PRAGMA user_version). A file with a higher number
// was written by a newer program and is only read.
inline constexpr int kSchemaVersion = 1;

// Creates whatever tables, columns, views and indexes are missing; never touches what exists.
// Everything happens in one transaction and shows no message (except for a file from a newer
// program, which is then opened read-only). 0 done (a step that failed alone is logged and left
// for the next start), 1 read-only, -1 failed before any step ran.
int AddTableField();
// Creates the table with its first column when it does not exist: 0 created, 1 there already,
// -1 error.
int CreateTable(const QString& table, const QString& firstColumn);
// Adds the column ("name TYPE") when the table lacks it; when a field name is given, the new
// column's initial value goes into the first record. 0 added, 1 there already, -1 error.
int AddField(const QString& table, const QString& definition, const QString& field = {},
             const QVariant& init = {});
// Compacts the database file in place: "" or "number description". Closes the connection first.
// A damaged file is left as it is, with a message saying so.
QString CompactDb(const QString& path);
