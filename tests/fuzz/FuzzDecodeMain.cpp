// libFuzzer entry for the chromatogram and method decoders.

#include "DecodeFuzzEntry.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (TarvexDecodeOne(data, size) != 0)
        std::abort();
    return 0;
}
