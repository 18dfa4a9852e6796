#include "instance_lock.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>
#include <QSysInfo>
#include <QThread>

// On Linux and other Unix systems the lock is a file in the user's runtime
// folder. QLockFile writes the owner's details into it (process id and name,
// machine, boot) and keeps it open and locked while it is held, so that
// nobody removes it from under a live owner.

namespace quendril::platform {

namespace {

// A copy writes its details right after creating the file. A file that has
// gone this long without them was left by a copy that is gone.
constexpr int kDetailsWrittenWithinMs = 1000;
// How long a start waits for a file without details to come of age, or for
// its owner's details to show, before it counts the lock as held.
constexpr int kPatienceMs = 3000;
constexpr unsigned long kRetryMs = 50;

QString lockPath(const QString &executable)
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    return QDir(dir).filePath(executable + QStringLiteral(".lock"));
}

// Whether a lock could be taken at this path at all: its folder is one we may
// write in, and at the path stands nothing yet or a regular file we can read.
// Anything else is no sign of a running copy, and is left unread: a named pipe
// would wait for a writer forever. A lock in a folder we may not write in
// could never be taken over, however long its owner has been gone.
bool lockCanBeTaken(const QString &path)
{
    const QFileInfo info(path);
    if (!QFileInfo(info.absolutePath()).isWritable())
        return false;
    if (!info.exists() && !info.isSymLink())
        return true;
    QFile file(path);
    return info.isFile() && file.open(QIODevice::ReadOnly);
}

// The machine's name as QLockFile writes it into the details.
QString thisMachine()
{
    return QSysInfo::machineHostName();
}

bool namesOwnerOnThisMachine(const QLockFile &lock)
{
    qint64 process = 0;
    QString machine;
    QString application;
    return lock.getLockInfo(&process, &machine, &application) && machine == thisMachine();
}

} // namespace

struct InstanceLock::State {
    explicit State(const QString &path)
        : lock(path)
    {
    }
    QLockFile lock;
};

InstanceLock::InstanceLock(const QString &executableName)
    : m_state(std::make_unique<State>(lockPath(executableName)))
{
}

InstanceLock::~InstanceLock() = default;

InstanceLock::Outcome InstanceLock::acquire()
{
    QLockFile &lock = m_state->lock;
    if (lock.isLocked())
        return Outcome::Held;
    if (!lockCanBeTaken(lock.fileName()))
        return Outcome::Unusable;
    const QDeadlineTimer patience(kPatienceMs);
    for (;;) {
        // A file with its owner's details is taken over as soon as that
        // process is gone: Qt looks for it by id and name, in this boot.
        lock.setStaleLockTime(0);
        if (lock.tryLock(0))
            return Outcome::Held;
        if (lock.error() != QLockFile::LockFailedError)
            return Outcome::Unusable;
        // Naming a process on this machine, the file stands because Qt found
        // that process alive, or because another copy is taking it over this
        // moment and will run.
        if (namesOwnerOnThisMachine(lock))
            return Outcome::HeldByOtherCopy;
        // No owner on this machine: the file is empty, cut short, garbled or
        // another machine's, or a copy starting this moment has created it and
        // not yet written its details. Once too old for the last, Qt removes
        // it, unless a live process still holds it open and locked.
        lock.setStaleLockTime(kDetailsWrittenWithinMs);
        if (lock.tryLock(0))
            return Outcome::Held;
        if (lock.error() != QLockFile::LockFailedError)
            return Outcome::Unusable;
        if (patience.hasExpired())
            return Outcome::HeldByOtherCopy;
        QThread::msleep(kRetryMs);
    }
}

} // namespace quendril::platform
