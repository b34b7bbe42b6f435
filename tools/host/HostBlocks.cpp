#include "HostBlocks.h"

#include "NamedLock.h"
#include "SharedMemory.h"

#include <cstring>

namespace host {

namespace {
constexpr const char* kHeaderObject = "TarvexConfigFile";

constexpr HostKind kTable[] = {
    {1, "TarvexChrFile", 4, 35},          {2, "TarvexMethodFile", 0, 34},
    {3, "TarvexStatistFile", 16, 33},     {4, "TarvexNoiseFile", 12, 32},
    {5, "TarvexRTLFile", 24, 37},         {6, "TarvexGradFile", 28, 38},
    {7, "TarvexProtocolFile", 48, 52},    {8, kHeaderObject, -1, -1},
    {9, "TarvexBitmapFile", 8, 36},       {10, "TarvexPrintInfoFile", 20, -1},
    {11, "TarvexGradBitmapFile", 40, 44}, {12, "TarvexGradBitmapFile2", 60, 64},
    {13, "TarvexBitmapRTL", 68, 65},      {14, "TarvexProtocolFile", 76, 72},
    {15, "TarvexShodFile", 84, 80},       {16, "TarvexPeakFile", 92, 88},
};
} // namespace

const HostKind* hostKind(int kind) {
    for (const HostKind& k : kTable)
        if (k.kind == kind)
            return &k;
    return nullptr;
}

std::int32_t headerInt(const std::array<std::uint8_t, kHeaderBytes>& header, int offset) {
    const auto* p = header.data() + offset;
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
                                     static_cast<std::uint32_t>(p[2]) << 16 |
                                     static_cast<std::uint32_t>(p[3]) << 24);
}

void setHeaderInt(std::array<std::uint8_t, kHeaderBytes>& header, int offset, std::int32_t value) {
    const auto v = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        header[static_cast<std::size_t>(offset + i)] = static_cast<std::uint8_t>(v >> (8 * i));
}

std::array<std::uint8_t, kHeaderBytes> readHeader(bool* exists) {
    std::array<std::uint8_t, kHeaderBytes> header {};
    tarvex::SharedMemory object = tarvex::SharedMemory::open(kHeaderObject);
    const std::uint8_t* view = object.isOpen() ? object.map() : nullptr;
    if (exists)
        *exists = view && object.viewSize() >= kHeaderBytes;
    if (view && object.viewSize() >= kHeaderBytes)
        std::memcpy(header.data(), view, kHeaderBytes);
    return header;
}

namespace {
bool writeObject(const char* name, const QByteArray& bytes, QString* error) {
    tarvex::ShmError code = tarvex::ShmError::None;
    std::string detail;
    tarvex::SharedMemory object =
        tarvex::SharedMemory::create(name, static_cast<std::size_t>(bytes.size()), &code, &detail);
    if (!object.isOpen()) {
        *error = QString::fromStdString(detail);
        return false;
    }
    if (bytes.isEmpty())
        return true;
    std::uint8_t* view = object.map();
    if (!view) {
        *error = QStringLiteral("cannot map %1").arg(QString::fromLatin1(name));
        return false;
    }
    tarvex::NamedLock lock;
    tarvex::NamedLockGuard guard(lock);
    std::memcpy(view, bytes.constData(), static_cast<std::size_t>(bytes.size()));
    return true;
}
} // namespace

bool writeHeader(const std::array<std::uint8_t, kHeaderBytes>& header, QString* error) {
    return writeObject(kHeaderObject, QByteArray(reinterpret_cast<const char*>(header.data()), kHeaderBytes),
                       error);
}

bool publishBlock(int kind, const QByteArray& bytes, QString* error) {
    const HostKind* k = hostKind(kind);
    if (!k) {
        *error = QStringLiteral("no block kind %1 (kinds are 1 to 16)").arg(kind);
        return false;
    }
    if (kind == 8) {
        if (bytes.size() != kHeaderBytes) {
            *error = QStringLiteral("the header is %1 bytes, not %2").arg(kHeaderBytes).arg(bytes.size());
            return false;
        }
        return writeObject(kHeaderObject, bytes, error);
    }
    if (!writeObject(k->object, bytes, error))
        return false;
    auto header = readHeader();
    setHeaderInt(header, k->sizeAt, static_cast<std::int32_t>(bytes.size()));
    if (k->markAt >= 0)
        header[static_cast<std::size_t>(k->markAt)] = 1;
    return writeHeader(header, error);
}

int clearAll() {
    int removed = 0;
    for (const HostKind& k : kTable)
        if (k.kind != 14 && tarvex::SharedMemory::unlink(k.object)) // 14 shares 7's object
            ++removed;
    if (tarvex::NamedLock::unlink())
        ++removed;
    return removed;
}

QString describeHeader(const std::array<std::uint8_t, kHeaderBytes>& header) {
    QString out;
    for (const HostKind& k : kTable) {
        if (k.kind == 8)
            continue;
        out += QStringLiteral("kind %1 %2 size %3")
                   .arg(k.kind, 2)
                   .arg(QString::fromLatin1(k.object), -22)
                   .arg(headerInt(header, k.sizeAt), 9);
        if (k.markAt >= 0)
            out += QStringLiteral(" unread %1").arg(header[static_cast<std::size_t>(k.markAt)]);
        out += QLatin1Char('\n');
    }
    out += QStringLiteral("protocol kind (offset 56): %1\n").arg(headerInt(header, 56));
    return out;
}

} // namespace host
