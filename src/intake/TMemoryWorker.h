#pragma once
// Transport of one print-job block from the host's shared memory into our own memory.

#include "SharedMemory.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

/// Frees a buffer's bytes the way they were obtained (mapped pages or the heap).
struct TMemoryBufferRelease {
    bool mapped = false;
    std::size_t bytes = 0;
    void operator()(std::uint8_t* p) const;
};

/// Bytes of the last block read. Growable, never zero-filled (the copy overwrites every byte),
/// with a read position that decoders move.
class TMemoryBuffer {
public:
    const std::uint8_t* data() const { return data_.get(); }
    std::uint8_t* data() { return data_.get(); }
    std::size_t size() const { return size_; }
    std::size_t position() const { return position_; }
    void setPosition(std::size_t pos) { position_ = pos > size_ ? size_ : pos; }
    /// Sets the size, reallocating only when the capacity is too small; position goes to 0.
    void resize(std::size_t size);

private:
    using Storage = std::unique_ptr<std::uint8_t, TMemoryBufferRelease>;
    Storage data_;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
    std::size_t position_ = 0;
};

/**
 * Opens one block kind, copies its bytes under the shared lock, and lets go of the view again.
 * A reader makes a fresh worker for every read: read kind 8 (the header of sizes), read the
 * data kind, decode from `buffer()`, write the header back, destroy the worker.
 *
 * Kinds are 1 to 16; 7 and 14 share one object but have their own size and mark fields.
 */
class TMemoryWorker {
public:
    static constexpr int kHeaderKind = 8;
    static constexpr std::size_t kHeaderSize = 96;
    static constexpr int kKindCount = 16;

    TMemoryWorker();
    ~TMemoryWorker();
    TMemoryWorker(const TMemoryWorker&) = delete;
    TMemoryWorker& operator=(const TMemoryWorker&) = delete;

    /// Object name of a kind without prefix ("TarvexChrFile"); nullptr outside 1..16.
    static const char* mappingName(int kind);
    /// Header offsets of a kind's size and unread mark; -1 where the kind has none.
    static int sizeOffset(int kind);
    static int markOffset(int kind);

    /**
     * Copies block `kind`: the header into the header copy (kind 8), any other kind into the
     * buffer, whose size is then the size the header states. False, with nothing copied, when
     * the object is missing, not ours, smaller than stated, the stated size is negative, or the
     * lock could not be had. A wait for the lock that times out copies anyway.
     */
    bool readBlock(int kind);

    /// The size the header copy states for `kind`; 96 for kind 8, 0 outside 1..16.
    std::int32_t sizeOf(int kind) const;
    void clearUnreadMark(int kind);
    /// Writes the 96-byte header copy into the header object under the lock. Nothing happens
    /// (and false is returned) when the header was never opened by this worker.
    bool writeHeaderBack();

    TMemoryBuffer& buffer() { return buffer_; }
    const std::array<std::uint8_t, kHeaderSize>& header() const { return header_; }

private:
    std::array<tarvex::SharedMemory, kKindCount + 1> slots_;
    std::array<std::uint8_t, kHeaderSize> header_ {};
    TMemoryBuffer buffer_;
};
