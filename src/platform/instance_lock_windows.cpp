#include "instance_lock.h"

#include "product/product.h"

#include <windows.h>

#include <lmcons.h>

// On Windows the lock is a named mutex in the session's own namespace, named
// after the user and the executable. The system closes it with the last
// process that holds it, however that process ends, so nothing is left over
// that could keep the user out; and it needs no file.

namespace quendril::platform {

namespace {

QString userName()
{
    wchar_t name[UNLEN + 1];
    DWORD size = UNLEN + 1;
    return GetUserNameW(name, &size) ? QString::fromWCharArray(name) : QString();
}

// Backslashes separate a namespace from a name; Windows file names are the
// same in any case.
QString mutexName(const QString &executable)
{
    QString user = userName();
    return QStringLiteral("Local\\" QUENDRIL_APP_ID ".%1.%2")
        .arg(user.replace(u'\\', u'_'), executable.toLower().replace(u'\\', u'_'));
}

} // namespace

struct InstanceLock::State {
    QString name;
    HANDLE mutex = nullptr;
};

InstanceLock::InstanceLock(const QString &executableName)
    : m_state(std::make_unique<State>())
{
    m_state->name = mutexName(executableName);
}

InstanceLock::~InstanceLock()
{
    if (m_state->mutex)
        CloseHandle(m_state->mutex);
}

InstanceLock::Outcome InstanceLock::acquire()
{
    if (m_state->mutex)
        return Outcome::Held;
    HANDLE mutex = CreateMutexW(nullptr, FALSE, reinterpret_cast<const wchar_t *>(m_state->name.utf16()));
    if (!mutex) {
        // A copy with higher rights, started elevated (as the setup program
        // can start it for an administrator), made the mutex at a higher
        // integrity level: it exists, and we may not open it. That copy runs.
        return GetLastError() == ERROR_ACCESS_DENIED ? Outcome::HeldByOtherCopy : Outcome::Unusable;
    }
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(mutex);
        return Outcome::HeldByOtherCopy;
    }
    m_state->mutex = mutex;
    return Outcome::Held;
}

} // namespace quendril::platform
