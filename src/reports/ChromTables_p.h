#pragma once
// Helpers shared by the chromatogram report's table files: bilingual literals, detector look-up
// and the per-table installers of refill routines.

#include "Bilingual.h"
#include "TChromModule.h"

#include <QString>
#include <cstdint>
#include <limits>

class TDataModule1;

namespace chromtables {

/// The half of a bilingual literal of the active language.
inline QString pick(const char16_t* text) { return tarvex::Pick(QString::fromUtf16(text)); }

/// Identification modes of the method: retention time, relative volume, retention index.
constexpr int kModeTime = 0;
constexpr int kModeRelVolume = 1;
constexpr int kModeIndex = 2;

/// The last detector entry holding peak list `list`; -1 when none does.
inline int detectorOfPeakList(const TChromModule& chrom, int list) {
    int found = -1;
    for (int k = 0; k < chrom.iDet_Count(); ++k)
        if (chrom.DetectorEntry(k).iDet_PeakList == list)
            found = k;
    return found;
}

/// The record index `first + offset`, or -1 (no record) when the sum leaves the int range.
inline int recordIndex(std::int64_t first, std::int64_t offset) {
    const std::int64_t index = first + offset;
    return index < 0 || index > std::numeric_limits<int>::max() ? -1 : static_cast<int>(index);
}

/// The last row of a table whose host count says `last`, cut to what the record can hold.
inline int lastRow(int last, int capacity) { return last < capacity ? last : capacity - 1; }

// Each table file installs the refill routines of its row sources.
void InstallPeakSources(TDataModule1& data, TChromModule& chrom);
void InstallIdentSources(TDataModule1& data, TChromModule& chrom);
void InstallGroupSources(TDataModule1& data, TChromModule& chrom);
void InstallJournalStatSources(TDataModule1& data, TChromModule& chrom);
void InstallAddCalcSources(TDataModule1& data, TChromModule& chrom);

} // namespace chromtables
