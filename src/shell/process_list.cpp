#include "shell/process_list.h"

#include "platform/os/clock.h"
#include "platform/os/process.h"
#include "platform/text/vb.h"

#include <QDir>
#include <QStringList>

namespace {

const QString kExcel = QStringLiteral("excel.exe");

// The termination family's own cache.
ProcessListCache& termCache()
{
    static ProcessListCache cache;
    return cache;
}

// PidListByName's cache.
ProcessListCache& pidCache()
{
    static ProcessListCache cache;
    return cache;
}

os::InstanceLock& instanceLock()
{
    static os::InstanceLock lock;
    return lock;
}

bool sameText(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

}  // namespace

void resetProcessState()
{
    ProcRoot = QStringLiteral("/proc");
    termCache() = {};
    pidCache() = {};
    instanceLock().release();
}

db::TableArray ProcessList(bool sort, ProcessListCache& cache)
{
    const qint64 age = os::elapsedMs() - cache.lastCall;
    // A negative age: the clock was replaced (tests), so the table is read again.
    const bool fresh = cache.lastCall >= 0 && age >= 0 && age < 1000 && cache.root == ProcRoot;
    if (!fresh) {
        const auto processes = os::listProcesses(ProcRoot);
        db::TableArray t(static_cast<int>(processes.size()), 10);
        int k = 0;
        for (const auto& p : processes) {
            ++k;
            t(k, 1) = p.name;
            t(k, 3) = p.pid;
            t(k, 5) = p.threads;
            t(k, 6) = p.parentPid;
        }
        if (sort)
            ProcListSort(t, 1, 1);
        cache.table = std::move(t);
        cache.root = ProcRoot;
    }
    cache.lastCall = os::elapsedMs();
    return cache.table;
}

QString PidListByName(const QString& exe, qint64 ownPid)
{
    const db::TableArray t = ProcessList(false, pidCache());
    QStringList pids;
    for (int i = 1; i <= t.UBound(1); ++i) {
        const qint64 pid = t(i, 3).toLongLong();
        if (sameText(t(i, 1).toString(), exe) && pid != ownPid && ownPid != 0)
            pids << QString::number(pid);
    }
    return pids.join(QLatin1Char(','));
}

QString InstanceLockPath(const QString& exe)
{
    // Not below the user's home: every instance on the machine, of any user, sees this one.
    return QDir(QDir::tempPath()).filePath(exe + QStringLiteral(".lock"));
}

bool ClaimOneInstance(const QString& exe, qint64 ownPid)
{
    switch (instanceLock().tryLock(InstanceLockPath(exe))) {
    case os::InstanceLock::Taken:
        break;
    case os::InstanceLock::Busy:
        return false;
    case os::InstanceLock::Unavailable:
        return PidListByName(exe, ownPid).isEmpty();
    }
    // A process running this very file takes the lock before anything else, so with the lock
    // held here it is a start that loses. Any other process of that name (another build, or one
    // whose file cannot be seen) may run without the lock: it counts as running.
    for (const os::ProcessInfo& p : os::listProcesses(ProcRoot)) {
        if (p.pid == ownPid || !sameText(p.name, exe) || os::runsOwnExecutable(p.pid, ProcRoot))
            continue;
        instanceLock().release();
        return false;
    }
    return true;
}

QString ProcNameByPid(qint64 pid)
{
    const db::TableArray t = ProcessList(true, termCache());
    for (int i = 1; i <= t.UBound(1); ++i)
        if (t(i, 3).toLongLong() == pid)
            return t(i, 1).toString();
    return {};
}

qint64 PidByName(const QString& text)
{
    const db::TableArray t = ProcessList(true, termCache());
    for (int i = 1; i <= t.UBound(1); ++i)
        if (t(i, 1).toString().contains(text, Qt::CaseInsensitive))
            return t(i, 3).toLongLong();
    return -1;
}

int TermProcess(const QString& exe, const QString& pidText)
{
    const QString name = exe.trimmed();
    // Every name contains the empty text: without a name nothing is meant.
    if (name.isEmpty())
        return -1;
    if (sameText(name, kExcel))
        return pidText.isEmpty() ? os::quitInProcessApps(kExcel) : -1;
    int result = -1;
    if (!pidText.isEmpty()) {
        const qint64 pid = static_cast<qint64>(Val(pidText));
        if (pid > 0 && sameText(ProcNameByPid(pid), name))
            result = os::terminateProcess(pid) ? 0 : -2;
        return result;
    }
    for (int attempt = 0; attempt < 10; ++attempt) {
        // Each try looks at the table afresh, so that it finds the next process, not the last one.
        termCache().lastCall = -1;
        const qint64 pid = PidByName(name);
        if (pid <= 0)
            break;
        result = os::terminateProcess(pid) ? 0 : -2;
    }
    return result;
}

void SwapRow2(db::TableArray& table, int a, int b)
{
    for (int c = 0; c <= table.UBound(2); ++c)
        std::swap(table(a, c), table(b, c));
}

void SwapItem1(db::TableArray& table, int a, int b)
{
    std::swap(table(a, 0), table(b, 0));
}

void ProcListSort(db::TableArray& table, int keyColumn, int firstRow)
{
    const int last = table.UBound(1);
    for (int i = firstRow; i <= last; ++i) {
        for (int j = last; j >= i + 1; --j) {
            if (table(j, keyColumn).toString().compare(table(j - 1, keyColumn).toString(), Qt::CaseInsensitive) < 0) {
                if (keyColumn == 0)
                    SwapItem1(table, j, j - 1);
                else
                    SwapRow2(table, j, j - 1);
            }
        }
    }
}

void SetProcessPriority(long priorityClass)
{
    static const int startNice = os::currentNice();
    // Lowering is one-way for an unprivileged process: do it only when we may come back.
    const bool canComeBack = os::lowestAllowedNice() <= startNice;
    if (priorityClass == IDLE_PRIORITY_CLASS) {
        if (canComeBack)
            os::setNice(19);
    } else if (priorityClass == HIGH_PRIORITY_CLASS) {
        if (os::currentNice() != startNice && canComeBack)
            os::setNice(startNice);
    }
}
