#pragma once

#include <QString>

#include <memory>

namespace quendril::platform {

// The lock that keeps a second copy of the program out. A running copy holds
// it until it ends; it is named after the executable and counts for this user
// on this machine.
class InstanceLock {
public:
    enum class Outcome {
        Held, // ours, now or from an earlier call
        HeldByOtherCopy, // a live copy holds it
        Unusable, // it cannot be taken here at all, which keeps nobody out
    };

    explicit InstanceLock(const QString &executableName);
    ~InstanceLock();
    InstanceLock(const InstanceLock &) = delete;
    InstanceLock &operator=(const InstanceLock &) = delete;

    // Takes the lock unless a live copy holds it. Whatever is left of a copy
    // that is gone, however little of it was written, is taken over.
    Outcome acquire();

private:
    struct State;
    std::unique_ptr<State> m_state;
};

} // namespace quendril::platform
