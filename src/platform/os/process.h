#pragma once
// The system's process table and the two things the program does to processes: end them and
// change its own priority.
#include <QString>
#include <functional>
#include <vector>

namespace os {

struct ProcessInfo {
    QString name;  // the executable's file name (the kernel's short name when that is hidden)
    qint64 pid = 0;
    qint64 parentPid = 0;
    int threads = 0;
};

// Every live process in the table's order (ascending pid); ended (zombie) ones are left out.
// procRoot is the folder of the process table (/proc), replaceable for tests.
std::vector<ProcessInfo> listProcesses(const QString& procRoot = QStringLiteral("/proc"));
// Asks the process to end, and forces it when it has not ended within graceMs. False when the
// signal could not be sent (no such process, no permission).
bool terminateProcess(qint64 pid, int graceMs = 1000);
// True while the process exists and has not ended.
bool processAlive(qint64 pid);
qint64 currentPid();
// Whether the process runs the very file this process runs (the same file under any path; not a
// file that has since replaced it). False when that cannot be seen (another user's process).
bool runsOwnExecutable(qint64 pid, const QString& procRoot = QStringLiteral("/proc"));

// An exclusive lock on a file, held until release or until the process ends however it ends (the
// system drops it then). Of two holders trying at the same moment, in two processes or in one,
// exactly one gets it. Processes started meanwhile do not inherit it.
class InstanceLock {
public:
    InstanceLock() = default;
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;
    // Takes the lock on the file (made when missing) without waiting. Busy: someone else holds
    // it; Unavailable: the file cannot be opened, so nothing is known.
    enum Result { Taken, Busy, Unavailable };
    Result tryLock(const QString& path);
    void release();
    bool held() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

// The nice value of this process.
int currentNice();
// Sets this process's nice value; false when refused.
bool setNice(int nice);
// The lowest nice value this process may set itself (RLIMIT_NICE; -20 when privileged).
int lowestAllowedNice();

// In-process stand-ins for programs the roster code treats as separate processes ("excel.exe"
// is our own spreadsheet application). The spreadsheet layer registers each live instance with a
// function that quits it (true when it did) and unregisters it when it goes away.
int registerInProcessApp(const QString& exeName, std::function<bool()> quit);
void unregisterInProcessApp(int id);
int inProcessAppCount(const QString& exeName);
// Quits every registered instance of exeName (case-insensitive): -1 when there was none, 0 when
// all quit, -2 when one of them did not.
int quitInProcessApps(const QString& exeName);

}  // namespace os
