#pragma once
// Named shared-memory objects: the Linux stand-in for the host's named file mappings.

#include <cstddef>
#include <cstdint>
#include <string>

namespace tarvex {

/// Full POSIX object name for a mapping name: "/" + $TARVEX_SHM_PREFIX + name.
/// The prefix keeps several hosts (and parallel tests) on one machine apart.
std::string shmObjectName(const std::string& mappingName);

/// Why an open or create failed; `None` when it succeeded.
enum class ShmError { None, Missing, Foreign, Unmappable, System };

/**
 * One named shared-memory object, opened or created, and at most one mapped view of it.
 * Move-only; the view is unmapped and the descriptor closed on destruction. Unlinking is the
 * creator's business (`unlink`), never done implicitly.
 */
class SharedMemory {
public:
    SharedMemory() = default;
    ~SharedMemory();
    SharedMemory(SharedMemory&& other) noexcept;
    SharedMemory& operator=(SharedMemory&& other) noexcept;
    SharedMemory(const SharedMemory&) = delete;
    SharedMemory& operator=(const SharedMemory&) = delete;

    /// Opens an existing object for reading and writing. Refuses (`Foreign`) an object that
    /// belongs to another user or that group or others may write: a print job must come from
    /// our own host. `error` receives the reason, `detail` a one-line explanation.
    static SharedMemory open(const std::string& mappingName, ShmError* error = nullptr,
                             std::string* detail = nullptr);

    /// Creates (or truncates) an object of `size` bytes with mode 0600.
    static SharedMemory create(const std::string& mappingName, std::size_t size, ShmError* error = nullptr,
                               std::string* detail = nullptr);

    /// Removes the named object from the namespace; returns false when it did not exist.
    static bool unlink(const std::string& mappingName);

    bool isOpen() const { return fd_ >= 0; }
    /// Current size of the object in bytes (fstat), 0 when closed.
    std::size_t objectSize() const;

    /// Maps the whole object read-write; `populate` pre-faults the pages (one bulk copy follows).
    /// Returns nullptr when the object is empty or cannot be mapped.
    std::uint8_t* map(bool populate = false);
    void unmap();
    std::uint8_t* view() const { return view_; }
    std::size_t viewSize() const { return viewSize_; }

private:
    explicit SharedMemory(int fd) : fd_(fd) {}
    void close();

    int fd_ = -1;
    std::uint8_t* view_ = nullptr;
    std::size_t viewSize_ = 0;
};

} // namespace tarvex
