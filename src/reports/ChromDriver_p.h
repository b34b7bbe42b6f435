#pragma once
// Small steps the chromatogram driver's files share.

#include "TDataModule1.h"
#include "TVisibilityModule.h"

#include <cstdint>

namespace chromdriver {

/// Switches a section of CommonReport on or off.
inline void section(TDataModule1& data, const char* name, bool on) {
    SetSection(data.section(QString::fromLatin1(name)), on ? 1 : 0);
}

/// Gives a row source `count` rows; a negative count is 0, a huge one stops at INT32_MAX.
inline void setCount(TDataModule1& data, const char* name, long long count) {
    if (auto* ds = data.rowSource(QString::fromLatin1(name)))
        ds->setRangeEndCount(count < 0 ? 0 : count > INT32_MAX ? INT32_MAX : static_cast<int>(count));
}

} // namespace chromdriver
