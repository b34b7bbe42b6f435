#include "TByteReader.h"

#include <algorithm>
#include <cstring>
#include <limits>

TByteReader::TByteReader(const std::uint8_t* data, std::size_t size, std::size_t position)
    : data_(data), size_(data ? size : 0), position_(std::min(position, size_)) {}

void TByteReader::seek(std::int64_t offset) {
    if (offset < 0)
        throw TDecodeError(position_, "offset " + std::to_string(offset) + " before the start of the block");
    position_ = static_cast<std::uint64_t>(offset) > size_ ? size_ : static_cast<std::size_t>(offset);
}

void TByteReader::skip(std::int64_t count, std::int64_t recordSize) {
    if (count < 0 || recordSize < 0)
        throw TDecodeError(position_, "negative record size " + std::to_string(recordSize) + " or count " +
                                          std::to_string(count));
    if (count == 0 || recordSize == 0)
        return;
    const std::int64_t left = static_cast<std::int64_t>(remaining());
    if (count > left / recordSize) { // also keeps count * recordSize from overflowing
        position_ = size_;
        return;
    }
    position_ += static_cast<std::size_t>(count * recordSize);
}

void TByteReader::readPart(void* local, std::size_t localSize, std::int64_t hostSize) {
    if (hostSize < 0)
        throw TDecodeError(position_, "negative record size " + std::to_string(hostSize));
    if (localSize > 0)
        std::memset(local, 0, localSize);
    const std::size_t n =
        std::min({static_cast<std::size_t>(std::min<std::int64_t>(hostSize, std::numeric_limits<int>::max())),
                  localSize, remaining()});
    if (n > 0)
        std::memcpy(local, data_ + position_, n);
    skip(1, hostSize);
}
