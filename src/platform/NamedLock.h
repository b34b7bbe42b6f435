#pragma once
// The lock shared with the host around every block copy and header write-back.

#include "SharedMemory.h"

#include <string>

namespace tarvex {

/**
 * A process-shared, robust mutex kept in a small shared-memory object of its own, named like
 * the blocks ("/" + prefix + name). Created by whichever side comes first.
 *
 * Acquiring follows the host's rules: a lock whose owner died counts as acquired, and a wait
 * that times out goes on without the lock (the caller copies anyway). Only a lock that cannot
 * be created or opened, or a wait that fails outright, counts as not acquired.
 */
class NamedLock {
public:
    static constexpr const char* kDefaultName = "OrlendPrintLockMutex";
    static constexpr int kDefaultTimeoutMs = 1000;

    enum class Outcome {
        Owned,    ///< we hold the lock (also after taking over from a dead owner)
        TimedOut, ///< the wait ran out; go on without holding it
        Failed    ///< no lock could be had; copy nothing
    };

    explicit NamedLock(std::string name = kDefaultName);
    ~NamedLock();
    NamedLock(const NamedLock&) = delete;
    NamedLock& operator=(const NamedLock&) = delete;

    /// Waits at most `timeoutMs` for the lock. `Owned` and `TimedOut` both count as acquired.
    Outcome acquire(int timeoutMs = kDefaultTimeoutMs);
    /// Releases the lock when this object owns it; otherwise nothing.
    void release();
    bool owned() const { return owned_; }

    /// Removes the lock object (the host's clean-up); returns false when it did not exist.
    static bool unlink(const std::string& name = kDefaultName);

private:
    struct Shared;
    Shared* attach();

    std::string name_;
    SharedMemory object_;
    bool owned_ = false;
};

/// Holds a NamedLock for one scope; `acquired()` tells whether the copy may proceed.
class NamedLockGuard {
public:
    explicit NamedLockGuard(NamedLock& lock, int timeoutMs = NamedLock::kDefaultTimeoutMs)
        : lock_(lock), outcome_(lock.acquire(timeoutMs)) {}
    ~NamedLockGuard() { lock_.release(); }
    NamedLockGuard(const NamedLockGuard&) = delete;
    NamedLockGuard& operator=(const NamedLockGuard&) = delete;

    bool acquired() const { return outcome_ != NamedLock::Outcome::Failed; }
    NamedLock::Outcome outcome() const { return outcome_; }

private:
    NamedLock& lock_;
    NamedLock::Outcome outcome_;
};

} // namespace tarvex
