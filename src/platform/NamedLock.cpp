#include "NamedLock.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <ctime>
#include <fcntl.h>
#include <pthread.h>
#include <sys/mman.h>
#include <thread>
#include <unistd.h>

namespace tarvex {

// Layout of the lock object. `ready` turns 1 once the creator has initialised the mutex, so a
// second process that opens the object in between waits instead of using a half-made mutex.
struct NamedLock::Shared {
    std::atomic<std::uint32_t> ready;
    pthread_mutex_t mutex;
};

NamedLock::NamedLock(std::string name) : name_(std::move(name)) {}

NamedLock::~NamedLock() { release(); }

NamedLock::Shared* NamedLock::attach() {
    if (object_.view())
        return reinterpret_cast<Shared*>(object_.view());

    const std::string full = shmObjectName(name_);
    int fd = ::shm_open(full.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd >= 0) {
        // We are the creator: size, map and initialise, then publish `ready`.
        ::close(fd);
        object_ = SharedMemory::create(name_, sizeof(Shared));
        auto* shared = reinterpret_cast<Shared*>(object_.map());
        if (!shared)
            return nullptr;
        pthread_mutexattr_t attr;
        pthread_mutexattr_init(&attr);
        pthread_mutexattr_setpshared(&attr, PTHREAD_PROCESS_SHARED);
        pthread_mutexattr_setrobust(&attr, PTHREAD_MUTEX_ROBUST);
        const int rc = pthread_mutex_init(&shared->mutex, &attr);
        pthread_mutexattr_destroy(&attr);
        if (rc != 0)
            return nullptr;
        shared->ready.store(1, std::memory_order_release);
        return shared;
    }
    if (errno != EEXIST)
        return nullptr;

    object_ = SharedMemory::open(name_);
    if (!object_.isOpen())
        return nullptr;
    // The creator may still be between shm_open and the end of initialisation.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(200);
    for (;;) {
        if (object_.objectSize() >= sizeof(Shared)) {
            auto* shared = reinterpret_cast<Shared*>(object_.map());
            if (shared && shared->ready.load(std::memory_order_acquire) == 1)
                return shared;
            object_.unmap();
        }
        if (std::chrono::steady_clock::now() > deadline)
            return nullptr;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

NamedLock::Outcome NamedLock::acquire(int timeoutMs) {
    release();
    Shared* shared = attach();
    if (!shared)
        return Outcome::Failed;

    timespec until {};
    ::clock_gettime(CLOCK_REALTIME, &until);
    until.tv_sec += timeoutMs / 1000;
    until.tv_nsec += static_cast<long>(timeoutMs % 1000) * 1000000L;
    if (until.tv_nsec >= 1000000000L) {
        until.tv_sec += 1;
        until.tv_nsec -= 1000000000L;
    }
    int rc = pthread_mutex_timedlock(&shared->mutex, &until);
    if (rc == EOWNERDEAD) {
        // The previous owner died holding it: the lock is ours, and usable again.
        pthread_mutex_consistent(&shared->mutex);
        rc = 0;
    }
    if (rc == 0) {
        owned_ = true;
        return Outcome::Owned;
    }
    if (rc == ETIMEDOUT)
        return Outcome::TimedOut;
    return Outcome::Failed;
}

void NamedLock::release() {
    if (owned_ && object_.view())
        pthread_mutex_unlock(&reinterpret_cast<Shared*>(object_.view())->mutex);
    owned_ = false;
}

bool NamedLock::unlink(const std::string& name) { return SharedMemory::unlink(name); }

} // namespace tarvex
