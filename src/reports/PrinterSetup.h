#pragma once
// Which printer and page a report goes to: the settings group a report's block carries, the
// choice among them when several reports are selected, and the page width tables scale to.

#include <array>
#include <cstddef>
#include <cstdint>

/// Printer and page settings as the host sends them (36 bytes in the auxiliary records).
struct TPageSetup {
    std::int32_t printerIndex = 0; ///< >= 0 a printer of the list, -1 keep the current, -2 none installed
    std::int32_t orientation = 0;  ///< 1 landscape, anything else portrait
    std::uint8_t mono = 0;         ///< monochrome print
    std::int32_t fieldMask = 0;    ///< page-setup field mask, carried along
    /// p1 paper size, p2 paper length, p3 paper width, p5 duplex, p9 copies (index 0 is p1).
    std::array<std::int16_t, 12> params {};

    std::int16_t param(int n) const { return n >= 1 && n <= 12 ? params[static_cast<std::size_t>(n - 1)] : 0; }
};

/// Reads a group at `offset` of `record` (`size` bytes). Groups of the usual layout have the
/// monochrome byte after the orientation; the repeatability record's group has none and its
/// field mask follows the orientation directly. Bytes beyond the record read as zero.
TPageSetup ReadPageSetupGroup(const std::uint8_t* record, std::size_t size, std::size_t offset, bool hasMonoByte = true);

/// The reports a job selects, as far as the choice of printer settings cares.
struct TPrinterChoiceInput {
    bool usesPrintSettings = false; ///< chromatogram, method, graduation or packet
    bool statistics = false, rtl = false, noise = false, repeatability = false, peakProperty = false;
    TPageSetup printSettings, statisticsGroup, rtlGroup, noiseGroup, repeatabilityGroup, peakPropertyGroup;
};

/// Starts from printer 0, portrait; each selected source overrides the earlier ones in this order:
/// print settings, statistics, retention-time lock, noise, repeatability, peak property.
TPageSetup ChoosePageSetup(const TPrinterChoiceInput& in);

/// Width of the printable table area in report units: 880 landscape, 630 portrait, 10000 for the
/// column-aligned text export (format 7), where nothing must wrap.
int PageWidthFor(int orientation, bool exportFlag, int exportFormat);
