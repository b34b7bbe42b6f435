#pragma once
// The host's side of the shared-memory hand-over: it creates the objects, writes blocks and
// keeps the 96-byte header of sizes and unread marks. Written from the wire layout, apart from
// the program's reader, so that a slip on one side shows up on the other.

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>

namespace host {

constexpr int kHeaderBytes = 96;

struct HostKind {
    int kind;
    const char* object; // object name without prefix
    int sizeAt;         // header offset of the size, -1 for none
    int markAt;         // header offset of the unread mark, -1 for none
};

/// The table of kinds 1..16; nullptr outside.
const HostKind* hostKind(int kind);

/// Reads the published header (96 zero bytes when there is none; `exists` tells which).
std::array<std::uint8_t, kHeaderBytes> readHeader(bool* exists = nullptr);
bool writeHeader(const std::array<std::uint8_t, kHeaderBytes>& header, QString* error);

/// Writes `bytes` as block `kind`, enters its size in the header and sets its unread mark.
bool publishBlock(int kind, const QByteArray& bytes, QString* error);

/// Removes every object of the current prefix (blocks, header, lock); returns how many existed.
int clearAll();

/// Human-readable header: one line per kind with size and mark.
QString describeHeader(const std::array<std::uint8_t, kHeaderBytes>& header);

std::int32_t headerInt(const std::array<std::uint8_t, kHeaderBytes>& header, int offset);
void setHeaderInt(std::array<std::uint8_t, kHeaderBytes>& header, int offset, std::int32_t value);

} // namespace host
