#include "SharedMemory.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace tarvex {

std::string shmObjectName(const std::string& mappingName) {
    const char* prefix = std::getenv("TARVEX_SHM_PREFIX");
    std::string name = "/";
    if (prefix)
        name += prefix;
    name += mappingName;
    return name;
}

namespace {
void report(ShmError* error, std::string* detail, ShmError code, std::string text) {
    if (error)
        *error = code;
    if (detail)
        *detail = std::move(text);
}
} // namespace

SharedMemory::~SharedMemory() { close(); }

SharedMemory::SharedMemory(SharedMemory&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), view_(std::exchange(other.view_, nullptr)),
      viewSize_(std::exchange(other.viewSize_, 0)) {}

SharedMemory& SharedMemory::operator=(SharedMemory&& other) noexcept {
    if (this != &other) {
        close();
        fd_ = std::exchange(other.fd_, -1);
        view_ = std::exchange(other.view_, nullptr);
        viewSize_ = std::exchange(other.viewSize_, 0);
    }
    return *this;
}

void SharedMemory::close() {
    unmap();
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

SharedMemory SharedMemory::open(const std::string& mappingName, ShmError* error, std::string* detail) {
    report(error, detail, ShmError::None, {});
    const std::string name = shmObjectName(mappingName);
    int fd = ::shm_open(name.c_str(), O_RDWR | O_CLOEXEC, 0);
    if (fd < 0) {
        report(error, detail, errno == ENOENT ? ShmError::Missing : ShmError::System,
               name + ": " + std::strerror(errno));
        return {};
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        report(error, detail, ShmError::System, name + ": " + std::strerror(errno));
        ::close(fd);
        return {};
    }
    if (st.st_uid != ::geteuid() || (st.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
        report(error, detail, ShmError::Foreign,
               name + ": refused, the object belongs to another user or others may write to it");
        ::close(fd);
        return {};
    }
    return SharedMemory(fd);
}

SharedMemory SharedMemory::create(const std::string& mappingName, std::size_t size, ShmError* error,
                                  std::string* detail) {
    report(error, detail, ShmError::None, {});
    const std::string name = shmObjectName(mappingName);
    int fd = ::shm_open(name.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        report(error, detail, ShmError::System, name + ": " + std::strerror(errno));
        return {};
    }
    // An object left by an earlier run may carry other modes; a job we publish is ours alone.
    if (::fchmod(fd, 0600) != 0 || ::ftruncate(fd, static_cast<off_t>(size)) != 0) {
        report(error, detail, ShmError::System, name + ": " + std::strerror(errno));
        ::close(fd);
        return {};
    }
    return SharedMemory(fd);
}

bool SharedMemory::unlink(const std::string& mappingName) {
    return ::shm_unlink(shmObjectName(mappingName).c_str()) == 0;
}

std::size_t SharedMemory::objectSize() const {
    if (fd_ < 0)
        return 0;
    struct stat st {};
    if (::fstat(fd_, &st) != 0 || st.st_size < 0)
        return 0;
    return static_cast<std::size_t>(st.st_size);
}

std::uint8_t* SharedMemory::map(bool populate) {
    unmap();
    const std::size_t size = objectSize();
    if (size == 0)
        return nullptr;
    int flags = MAP_SHARED;
    if (populate)
        flags |= MAP_POPULATE;
    void* p = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, flags, fd_, 0);
    if (p == MAP_FAILED)
        return nullptr;
    view_ = static_cast<std::uint8_t*>(p);
    viewSize_ = size;
    return view_;
}

void SharedMemory::unmap() {
    if (view_)
        ::munmap(view_, viewSize_);
    view_ = nullptr;
    viewSize_ = 0;
}

} // namespace tarvex
