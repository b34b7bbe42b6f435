#pragma once
// Fixed-capacity storage of one kind of host record, plus the read-only view over one record.

#include <cstdint>
#include <vector>

/// `capacity` records of `recordSize` bytes each, zeroed at creation.
class TRecordTable {
public:
    TRecordTable(int recordSize, int capacity)
        : recordSize_(recordSize), capacity_(capacity),
          bytes_(static_cast<std::size_t>(recordSize) * static_cast<std::size_t>(capacity)) {}

    int recordSize() const { return recordSize_; }
    int capacity() const { return capacity_; }
    /// Record `i`, or nullptr outside the capacity.
    const std::uint8_t* record(int i) const { return i >= 0 && i < capacity_ ? at(i) : nullptr; }
    std::uint8_t* record(int i) { return i >= 0 && i < capacity_ ? at(i) : nullptr; }

private:
    std::uint8_t* at(int i) const {
        return const_cast<std::uint8_t*>(bytes_.data()) + static_cast<std::size_t>(i) * static_cast<std::size_t>(recordSize_);
    }
    int recordSize_;
    int capacity_;
    std::vector<std::uint8_t> bytes_;
};

/**
 * A read-only view of one record of `Size` bytes. A view of no record (null) reads every field
 * as zero or empty, so an index past what the host sent never reads outside the record.
 */
template <int Size> class TRecordView {
public:
    static constexpr int kSize = Size;
    explicit TRecordView(const std::uint8_t* bytes = nullptr) : bytes_(bytes) {}
    const std::uint8_t* bytes() const { return bytes_; }
    bool isNull() const { return bytes_ == nullptr; }

protected:
    const std::uint8_t* fieldBase() const { return bytes_; }

private:
    const std::uint8_t* bytes_;
};
