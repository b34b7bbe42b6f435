#pragma once
// The report engine's fuzz entry: one input through the template reader (and, when it loads, the writer
// and a short prepare), through the rich-text reader and layout, or through the expression evaluator. Used by the libFuzzer program and by the
// corpus replay test.

#include <cstddef>
#include <cstdint>

namespace enginefuzz {

/// First byte 2: the rest is the content of a rich-text object (RTF or plain text), prepared;
/// other even bytes: the rest is a template; odd: the rest is an expression. Returns 0.
int runOne(const std::uint8_t* data, std::size_t size);

} // namespace enginefuzz
