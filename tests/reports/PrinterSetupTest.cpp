// Printer settings: reading the groups and choosing among selected reports.

#include "PrinterSetup.h"

#include <cstring>
#include <gtest/gtest.h>
#include <vector>

namespace {

std::vector<std::uint8_t> groupAt(std::size_t offset, std::int32_t printer, std::uint8_t orientation, bool mono) {
    std::vector<std::uint8_t> record(offset + 36, 0);
    std::memcpy(record.data() + offset, &printer, 4);
    record[offset + 4] = orientation;
    const std::size_t rest = offset + (mono ? 6 : 5);
    if (mono)
        record[offset + 5] = 1;
    const std::int32_t mask = 0x1234;
    std::memcpy(record.data() + rest, &mask, 4);
    for (std::int16_t p = 1; p <= 12; ++p)
        std::memcpy(record.data() + rest + 6 + 2 * (p - 1), &p, 2);
    return record;
}

TEST(PrinterSetup, ReadsBothGroupLayouts) {
    auto usual = groupAt(290, 3, 1, true); // noise record layout
    TPageSetup s = ReadPageSetupGroup(usual.data(), usual.size(), 290);
    EXPECT_EQ(s.printerIndex, 3);
    EXPECT_EQ(s.orientation, 1);
    EXPECT_EQ(s.mono, 1);
    EXPECT_EQ(s.fieldMask, 0x1234);
    EXPECT_EQ(s.param(1), 1);
    EXPECT_EQ(s.param(9), 9);

    auto packed = groupAt(3008, -1, 0, false); // repeatability: no monochrome byte
    s = ReadPageSetupGroup(packed.data(), packed.size(), 3008, false);
    EXPECT_EQ(s.printerIndex, -1);
    EXPECT_EQ(s.mono, 0);
    EXPECT_EQ(s.fieldMask, 0x1234);
    EXPECT_EQ(s.param(12), 12);

    // A record cut short reads zeros for what it does not hold, never past its end.
    s = ReadPageSetupGroup(usual.data(), 300, 290);
    EXPECT_EQ(s.printerIndex, 3);
    EXPECT_EQ(s.param(1), 0);
}

TEST(PrinterSetup, LaterSelectedSourcesOverrideEarlierOnes) {
    TPrinterChoiceInput in;
    in.printSettings.printerIndex = 1;
    in.statisticsGroup.printerIndex = 2;
    in.noiseGroup.printerIndex = 4;
    in.noiseGroup.orientation = 1;
    in.peakPropertyGroup.printerIndex = 6;

    EXPECT_EQ(ChoosePageSetup(in).printerIndex, 0); // nothing selected: printer 0, portrait
    in.statistics = in.noise = true;
    EXPECT_EQ(ChoosePageSetup(in).printerIndex, 4); // noise comes after statistics
    EXPECT_EQ(ChoosePageSetup(in).orientation, 1);
    in.usesPrintSettings = true;
    EXPECT_EQ(ChoosePageSetup(in).printerIndex, 4);
    in.peakProperty = true;
    EXPECT_EQ(ChoosePageSetup(in).printerIndex, 6);
}

TEST(PrinterSetup, PageWidth) {
    EXPECT_EQ(PageWidthFor(0, false, 7), 630);
    EXPECT_EQ(PageWidthFor(1, false, 6), 880);
    EXPECT_EQ(PageWidthFor(2, true, 6), 630);
    EXPECT_EQ(PageWidthFor(1, true, 7), 10000);
}

} // namespace
