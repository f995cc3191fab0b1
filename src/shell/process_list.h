#pragma once
// The process table for the double-start check and the termination of processes by name, and
// the program's own priority.
#include "platform/db/table_array.h"

#include <QString>

// The process table's folder (/proc); tests point it at a fake one.
inline QString ProcRoot = QStringLiteral("/proc");

// Each user of the table keeps its own: a table younger than a second is served again.
struct ProcessListCache {
    qint64 lastCall = -1;  // when the table was last read (os::elapsedMs), -1 never
    QString root;
    db::TableArray table;
};

// Rows 1..n (one per process, in the table's order; sorted by name when asked), columns 0..10:
// 1 the executable's name, 3 the process ID, 5 the number of threads, 6 the parent's ID.
db::TableArray ProcessList(bool sort, ProcessListCache& cache);
// ProcRoot back to /proc, the table read afresh by every user and the instance claim let go.
void resetProcessState();
// The IDs of the other processes running exe (case-insensitive), joined by ","; ownPid is left
// out, and when it is 0 nothing is listed.
QString PidListByName(const QString& exe, qint64 ownPid);
// Makes this process the program's one running instance: false when another instance already is.
// The claim is a lock taken atomically, so of two simultaneous starts of this program file
// exactly one wins; it lasts until the process ends (or resetProcessState). Any other process
// running exe that is not this program file also counts as a running instance, and where no lock
// can be had, every other process running exe does.
bool ClaimOneInstance(const QString& exe, qint64 ownPid);
// The lock file of that claim, in the system's temporary folder, whatever the user's home.
QString InstanceLockPath(const QString& exe);
QString ProcNameByPid(qint64 pid);
// The ID of the first process (in name order) whose name contains the text; -1 when none.
qint64 PidByName(const QString& text);
// Ends the process with that ID when it runs exe, else every process whose name contains exe.
// "excel.exe" stands for our own spreadsheet applications: those are quit instead, and no real
// process is touched. -1 nothing attempted, 0 the last ending succeeded, -2 it failed.
int TermProcess(const QString& exe, const QString& pidText);
// Stable ascending sort by the text of the key column (case-insensitive) from the first row;
// key column 0 sorts column 0 (a list).
void ProcListSort(db::TableArray& table, int keyColumn, int firstRow);
void SwapRow2(db::TableArray& table, int a, int b);
void SwapItem1(db::TableArray& table, int a, int b);

enum : long { HIGH_PRIORITY_CLASS = 0x80, IDLE_PRIORITY_CLASS = 0x40 };
// IDLE lowers the program's priority only when it can be raised again afterwards; HIGH brings it
// back to what it was at start. Nothing is reported.
void SetProcessPriority(long priorityClass);
