#include "instance_lock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>

namespace {

QString lockPath(const QString &executable)
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    return QDir(dir).filePath(executable + QStringLiteral(".lock"));
}

// Whether what stands at the lock file's path could be a lock that a copy
// holds: nothing yet, or a regular file we can read. Anything else (a
// directory, a named pipe, a file we may not read) is no sign of a running
// copy, and is left unread: a named pipe would wait for a writer forever.
bool couldBeHeldLock(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return true;
    QFile file(path);
    return info.isFile() && file.open(QIODevice::ReadOnly);
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
    // A lock left by a copy that died is stale as soon as its process is gone.
    lock.setStaleLockTime(0);
    // Only a lock held by a live copy counts; a lock file we cannot use at all
    // (its folder not writable, something else standing in its place) must not
    // keep the user out of the program.
    if (lock.isLocked())
        return Outcome::Held;
    if (!couldBeHeldLock(lock.fileName()))
        return Outcome::Unusable;
    if (lock.tryLock(0))
        return Outcome::Held;
    return lock.error() == QLockFile::LockFailedError ? Outcome::HeldByOtherCopy : Outcome::Unusable;
}
