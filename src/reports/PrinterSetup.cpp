#include "PrinterSetup.h"

#include <cstring>

namespace {
template <class T> T at(const std::uint8_t* record, std::size_t size, std::size_t offset) {
    T value {};
    if (record && offset + sizeof(T) <= size)
        std::memcpy(&value, record + offset, sizeof(T));
    return value;
}
} // namespace

TPageSetup ReadPageSetupGroup(const std::uint8_t* record, std::size_t size, std::size_t offset, bool hasMonoByte) {
    TPageSetup s;
    s.printerIndex = at<std::int32_t>(record, size, offset);
    s.orientation = at<std::uint8_t>(record, size, offset + 4);
    const std::size_t rest = offset + (hasMonoByte ? 6 : 5);
    if (hasMonoByte)
        s.mono = at<std::uint8_t>(record, size, offset + 5);
    s.fieldMask = at<std::int32_t>(record, size, rest);
    for (std::size_t i = 0; i < s.params.size(); ++i)
        s.params[i] = at<std::int16_t>(record, size, rest + 6 + 2 * i);
    return s;
}

TPageSetup ChoosePageSetup(const TPrinterChoiceInput& in) {
    TPageSetup chosen;
    const std::pair<bool, const TPageSetup*> order[] = {
        {in.usesPrintSettings, &in.printSettings}, {in.statistics, &in.statisticsGroup},
        {in.rtl, &in.rtlGroup},                    {in.noise, &in.noiseGroup},
        {in.repeatability, &in.repeatabilityGroup}, {in.peakProperty, &in.peakPropertyGroup},
    };
    for (const auto& [selected, source] : order)
        if (selected)
            chosen = *source;
    return chosen;
}

int PageWidthFor(int orientation, bool exportFlag, int exportFormat) {
    if (exportFlag && exportFormat == 7)
        return 10000;
    return orientation == 1 ? 880 : 630;
}
