#include "TPrintSettings.h"

#include <algorithm>
#include <cstring>

TARVEX_DEFINE_FIELDS(TPrintSettings, TARVEX_PRINT_SETTINGS_FIELDS)

TPrintSettings::TPrintSettings() : bytes_(kFrameSize) {}

void TPrintSettings::assign(const std::uint8_t* data, std::size_t size) {
    if (!data)
        size = 0;
    bytes_.assign(std::max<std::size_t>(size, kFrameSize), 0);
    if (size > 0)
        std::memcpy(bytes_.data(), data, size);
    size_ = size;
}
