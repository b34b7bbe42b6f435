#pragma once
// A bounds-checked cursor over one block's bytes: the only way the decoders touch host data.

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

/// A block that cannot be decoded: a negative size or offset where the format has none.
class TDecodeError : public std::runtime_error {
public:
    TDecodeError(std::size_t offset, const std::string& what)
        : std::runtime_error(what + " at offset " + std::to_string(offset)), offset_(offset) {}
    std::size_t offset() const { return offset_; }

private:
    std::size_t offset_;
};

/**
 * Reads records the way the host writes them: the host states each record's size, we keep a
 * local size, and a read copies the common prefix, zero-fills the rest and moves on by the
 * host's size. The position never leaves [0, size]: reads at the end give zero records, and
 * moving past the end stops at the end. Negative sizes and offsets throw TDecodeError.
 * The bytes are not owned and must outlive the reader.
 */
class TByteReader {
public:
    TByteReader(const std::uint8_t* data, std::size_t size, std::size_t position = 0);

    const std::uint8_t* data() const { return data_; }
    std::size_t size() const { return size_; }
    std::size_t position() const { return position_; }
    std::size_t remaining() const { return size_ - position_; }

    /// Moves to `offset` from the start of the block; beyond the end means the end.
    void seek(std::int64_t offset);
    /// Moves on by `count` records of `recordSize` bytes each (both at least 0).
    void skip(std::int64_t count, std::int64_t recordSize = 1);
    /**
     * Fills `localSize` bytes at `local` with zeros, copies up to `hostSize` bytes of the block
     * into it, and moves on by `hostSize`.
     */
    void readPart(void* local, std::size_t localSize, std::int64_t hostSize);

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t position_;
};
