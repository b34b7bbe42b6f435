#pragma once
// One block read the way every reader of an auxiliary record does it: header, block, copy,
// header written back.

#include <cstddef>
#include <cstdint>
#include <vector>

/**
 * Reads block `kind` into `record`: at most `capacity` bytes of it, the rest of the record
 * zero-filled up to `capacity` (so a short block never leaves stale bytes and a long one never
 * runs past the record). The header is written back (the block's unread mark cleared) unless
 * `writeBack` is false. False, with `record` untouched, when the header or the block is missing.
 * `blockSize` receives the size the header stated.
 */
bool ReadBlockInto(int kind, std::vector<std::uint8_t>& record, std::size_t capacity, bool writeBack = true,
                   std::size_t* blockSize = nullptr);
