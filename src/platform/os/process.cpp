#include "platform/os/process.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <QMutex>
#include <algorithm>
#include <map>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace os {

namespace {

struct Stat {
    bool ok = false;
    char state = '?';
    qint64 ppid = 0;
    int threads = 0;
    QString comm;
};

// /proc/<pid>/stat: "pid (comm) state ppid ...", comm may itself hold blanks and parentheses.
Stat readStat(const QString& dir)
{
    Stat s;
    QFile f(dir + QStringLiteral("/stat"));
    if (!f.open(QIODevice::ReadOnly))
        return s;
    const QByteArray text = f.readAll();
    const int open = text.indexOf('(');
    const int close = text.lastIndexOf(')');
    if (open < 0 || close < open)
        return s;
    s.comm = QString::fromUtf8(text.mid(open + 1, close - open - 1));
    const QList<QByteArray> rest = text.mid(close + 1).simplified().split(' ');
    // state ppid pgrp session tty_nr tpgid flags minflt cminflt majflt cmajflt utime stime cutime
    // cstime priority nice num_threads
    if (rest.size() < 18)
        return s;
    s.state = rest[0].isEmpty() ? '?' : rest[0][0];
    s.ppid = rest[1].toLongLong();
    s.threads = rest[17].toInt();
    s.ok = true;
    return s;
}

QString exeName(const QString& dir)
{
    QString target = QFile::symLinkTarget(dir + QStringLiteral("/exe"));
    if (target.isEmpty())
        return {};
    const QString deleted = QStringLiteral(" (deleted)");
    if (target.endsWith(deleted))
        target.chop(deleted.size());
    return QFileInfo(target).fileName();
}

}  // namespace

std::vector<ProcessInfo> listProcesses(const QString& procRoot)
{
    std::vector<ProcessInfo> out;
    const QDir root(procRoot);
    const QStringList entries = root.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& e : entries) {
        bool numeric = false;
        const qint64 pid = e.toLongLong(&numeric);
        if (!numeric || pid <= 0)
            continue;
        const QString dir = root.filePath(e);
        const Stat st = readStat(dir);
        if (!st.ok || st.state == 'Z' || st.state == 'X')
            continue;
        ProcessInfo p;
        p.pid = pid;
        p.parentPid = st.ppid;
        p.threads = st.threads;
        p.name = exeName(dir);
        if (p.name.isEmpty())
            p.name = st.comm;
        out.push_back(std::move(p));
    }
    std::sort(out.begin(), out.end(), [](const ProcessInfo& a, const ProcessInfo& b) { return a.pid < b.pid; });
    return out;
}

bool runsOwnExecutable(qint64 pid, const QString& procRoot)
{
    struct stat other{};
    struct stat own{};
    const QByteArray link = QFile::encodeName(QDir(procRoot).filePath(QString::number(pid) + QStringLiteral("/exe")));
    return ::stat(link.constData(), &other) == 0 && ::stat("/proc/self/exe", &own) == 0 && other.st_dev == own.st_dev
        && other.st_ino == own.st_ino;
}

qint64 currentPid()
{
    return static_cast<qint64>(::getpid());
}

InstanceLock::~InstanceLock()
{
    release();
}

InstanceLock::Result InstanceLock::tryLock(const QString& path)
{
    if (held())
        return Taken;
    const QByteArray name = QFile::encodeName(path);
    // Another user's file can still be locked through a read-only opening.
    int fd = ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return Unavailable;
    int rc;
    do
        rc = ::flock(fd, LOCK_EX | LOCK_NB);
    while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        const bool busy = errno == EWOULDBLOCK;
        ::close(fd);
        return busy ? Busy : Unavailable;
    }
    fd_ = fd;
    return Taken;
}

void InstanceLock::release()
{
    if (fd_ < 0)
        return;
    ::close(fd_);   // closing the only descriptor drops the lock
    fd_ = -1;
}

bool processAlive(qint64 pid)
{
    if (pid <= 0 || ::kill(static_cast<pid_t>(pid), 0) != 0) {
        if (errno != EPERM)
            return false;
    }
    // An ended child stays in the table until its parent collects it.
    const Stat st = readStat(QStringLiteral("/proc/%1").arg(pid));
    return !st.ok || (st.state != 'Z' && st.state != 'X');
}

bool terminateProcess(qint64 pid, int graceMs)
{
    if (pid <= 0 || pid == currentPid())
        return false;
    if (::kill(static_cast<pid_t>(pid), SIGTERM) != 0)
        return false;
    // Real time, whatever clock the program reads: the other process needs its grace.
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < graceMs) {
        if (!processAlive(pid))
            return true;
        QThread::msleep(10);
    }
    if (processAlive(pid))
        ::kill(static_cast<pid_t>(pid), SIGKILL);
    return true;
}

int currentNice()
{
    errno = 0;
    const int n = ::getpriority(PRIO_PROCESS, 0);
    return errno == 0 ? n : 0;
}

bool setNice(int nice)
{
    return ::setpriority(PRIO_PROCESS, 0, nice) == 0;
}

int lowestAllowedNice()
{
    // A process may set any nice value it is allowed to lower to; with the capability (root) all.
    if (::geteuid() == 0)
        return -20;
    rlimit lim{};
    if (::getrlimit(RLIMIT_NICE, &lim) != 0)
        return 20;
    if (lim.rlim_cur == RLIM_INFINITY || lim.rlim_cur >= 40)
        return -20;
    return 20 - static_cast<int>(lim.rlim_cur);
}

namespace {

struct InProcessApp {
    QString exeName;
    std::function<bool()> quit;
};

QMutex appsMutex;
std::map<int, InProcessApp>& apps()
{
    static std::map<int, InProcessApp> all;
    return all;
}
int nextAppId = 1;

}  // namespace

int registerInProcessApp(const QString& exeName, std::function<bool()> quit)
{
    QMutexLocker lock(&appsMutex);
    const int id = nextAppId++;
    apps()[id] = InProcessApp{exeName, std::move(quit)};
    return id;
}

void unregisterInProcessApp(int id)
{
    QMutexLocker lock(&appsMutex);
    apps().erase(id);
}

int inProcessAppCount(const QString& exeName)
{
    QMutexLocker lock(&appsMutex);
    return static_cast<int>(std::count_if(apps().begin(), apps().end(), [&](const auto& a) {
        return a.second.exeName.compare(exeName, Qt::CaseInsensitive) == 0;
    }));
}

int quitInProcessApps(const QString& exeName)
{
    // Quitting an instance unregisters it: work on a copy.
    std::vector<std::function<bool()>> quits;
    {
        QMutexLocker lock(&appsMutex);
        for (const auto& a : apps())
            if (a.second.exeName.compare(exeName, Qt::CaseInsensitive) == 0)
                quits.push_back(a.second.quit);
    }
    if (quits.empty())
        return -1;
    int result = 0;
    for (const auto& quit : quits)
        if (!quit())
            result = -2;
    return result;
}

}  // namespace os
