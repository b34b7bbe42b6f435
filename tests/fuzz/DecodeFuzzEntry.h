#pragma once
// One decode of outside bytes, shared by the libFuzzer program and the corpus replay test.

#include <cstddef>
#include <cstdint>

/**
 * Byte 0 chooses what is decoded, the rest is the block: bit 0 set decodes a method (block 2),
 * clear a chromatogram (block 1); bit 1 says the chromatogram holds additional-calculation
 * graphs; bit 2 leaves the signal out. After the decode the record's invariants are checked and
 * every table is walked through its accessors. Returns the number of broken invariants, each
 * also told on standard error.
 */
int TarvexDecodeOne(const std::uint8_t* data, std::size_t size);
