#include "TMemoryWorker.h"

#include "NamedLock.h"
#include "Prompt.h"

#include <QString>
#include <cstring>
#include <sys/mman.h>

namespace {

struct KindInfo {
    const char* mapping;
    int sizeOffset; // -1: none (kind 8 is always 96 bytes)
    int markOffset; // -1: the kind has no unread mark
};

// The wire layout shared with the host, byte for byte.
constexpr KindInfo kKinds[TMemoryWorker::kKindCount + 1] = {
    {nullptr, -1, -1},
    {"TarvexChrFile", 4, 35},
    {"TarvexMethodFile", 0, 34},
    {"TarvexStatistFile", 16, 33},
    {"TarvexNoiseFile", 12, 32},
    {"TarvexRTLFile", 24, 37},
    {"TarvexGradFile", 28, 38},
    {"TarvexProtocolFile", 48, 52},
    {"TarvexConfigFile", -1, -1},
    {"TarvexBitmapFile", 8, 36},
    {"TarvexPrintInfoFile", 20, -1},
    {"TarvexGradBitmapFile", 40, 44},
    {"TarvexGradBitmapFile2", 60, 64},
    {"TarvexBitmapRTL", 68, 65},
    {"TarvexProtocolFile", 76, 72},
    {"TarvexShodFile", 84, 80},
    {"TarvexPeakFile", 92, 88},
};

bool validKind(int kind) { return kind >= 1 && kind <= TMemoryWorker::kKindCount; }

} // namespace

void TMemoryBufferRelease::operator()(std::uint8_t* p) const {
    if (mapped)
        ::munmap(p, bytes);
    else
        delete[] p;
}

void TMemoryBuffer::resize(std::size_t size) {
    if (size > capacity_) {
        data_.reset();
        capacity_ = 0;
        // A large block (the signal of ten channels) gets its pages in one go rather than a
        // fault per page during the copy.
        constexpr std::size_t kBulk = 1u << 20;
        void* p = size >= kBulk ? ::mmap(nullptr, size, PROT_READ | PROT_WRITE,
                                         MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0)
                                : MAP_FAILED;
        if (p != MAP_FAILED)
            data_ = Storage(static_cast<std::uint8_t*>(p), TMemoryBufferRelease {true, size});
        else
            data_ = Storage(new std::uint8_t[size], TMemoryBufferRelease {false, size});
        capacity_ = size;
    }
    size_ = size;
    position_ = 0;
}

TMemoryWorker::TMemoryWorker() = default;
TMemoryWorker::~TMemoryWorker() = default;

const char* TMemoryWorker::mappingName(int kind) { return validKind(kind) ? kKinds[kind].mapping : nullptr; }
int TMemoryWorker::sizeOffset(int kind) { return validKind(kind) ? kKinds[kind].sizeOffset : -1; }
int TMemoryWorker::markOffset(int kind) { return validKind(kind) ? kKinds[kind].markOffset : -1; }

std::int32_t TMemoryWorker::sizeOf(int kind) const {
    if (kind == kHeaderKind)
        return static_cast<std::int32_t>(kHeaderSize);
    const int offset = sizeOffset(kind);
    if (offset < 0)
        return 0;
    std::int32_t value = 0;
    std::memcpy(&value, header_.data() + offset, sizeof value); // host and we are little-endian
    return value;
}

void TMemoryWorker::clearUnreadMark(int kind) {
    const int offset = markOffset(kind);
    if (offset >= 0)
        header_[static_cast<std::size_t>(offset)] = 0;
}

bool TMemoryWorker::readBlock(int kind) {
    if (!validKind(kind))
        return false;
    tarvex::SharedMemory& slot = slots_[static_cast<std::size_t>(kind)];
    slot = {};

    tarvex::ShmError error = tarvex::ShmError::None;
    std::string detail;
    slot = tarvex::SharedMemory::open(mappingName(kind), &error, &detail);
    if (!slot.isOpen()) {
        // A block the host did not publish is not an error here; the caller words its absence.
        if (error == tarvex::ShmError::Foreign)
            tarvex::prompt().log(QString::fromStdString(detail));
        return false;
    }

    const std::int32_t stated = sizeOf(kind);
    if (stated < 0)
        return false;
    const auto size = static_cast<std::size_t>(stated);
    if (kind != kHeaderKind)
        buffer_.resize(size);
    if (size == 0) {
        clearUnreadMark(kind);
        return true;
    }

    std::uint8_t* view = slot.map(/*populate=*/true);
    // The object must hold what the header states; a shorter one is a failed read, never a
    // read past its end.
    if (!view || slot.viewSize() < size) {
        slot.unmap();
        return false;
    }

    bool copied = false;
    {
        tarvex::NamedLock lock;
        tarvex::NamedLockGuard guard(lock);
        if (guard.acquired()) {
            std::memcpy(kind == kHeaderKind ? header_.data() : buffer_.data(), view, size);
            copied = true;
        }
    }
    slot.unmap();
    if (copied && kind != kHeaderKind)
        clearUnreadMark(kind);
    return copied;
}

bool TMemoryWorker::writeHeaderBack() {
    tarvex::SharedMemory& slot = slots_[kHeaderKind];
    if (!slot.isOpen())
        return false;
    std::uint8_t* view = slot.map();
    if (!view || slot.viewSize() < kHeaderSize) {
        slot.unmap();
        return false;
    }
    bool written = false;
    {
        tarvex::NamedLock lock;
        tarvex::NamedLockGuard guard(lock);
        if (guard.acquired()) {
            std::memcpy(view, header_.data(), kHeaderSize);
            written = true;
        }
    }
    slot.unmap();
    return written;
}
