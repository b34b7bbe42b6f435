#pragma once
// The switches of optional report sections: one-row sources that a template binds a section's
// band to by user name. A count of 1 prints the section, 0 leaves it out.

#include <span>

struct TVisibilitySourceInfo {
    const char* name;     ///< the source's name in the program
    const char* userName; ///< the name templates bind to (literal; external templates use it too)
};

/// Chromatogram, method and packet sections (76 sources).
std::span<const TVisibilitySourceInfo> ReportVisiblesSources();
/// Method sections and per-row method switches (54 sources).
std::span<const TVisibilitySourceInfo> MethodReportVisiblesSources();
/// Noise pages and statistics sections (15 sources).
std::span<const TVisibilitySourceInfo> NoiseReportVisiblesSources();
/// Retention-time-lock calibration sections (12 sources).
std::span<const TVisibilitySourceInfo> RTLVisiblesSources();
