#pragma once
// Per report kind, whether an external template file replaces the built-in one, and its path.

#include <QString>
#include <array>

/// Kinds: 1 chromatogram and method, 2 noise, 3 statistics, 4 retention-time lock,
/// 5 graduation, 6 packets. Index 0 is unused.
struct TTemplateSettings {
    static constexpr int kKinds = 6;
    std::array<bool, kKinds + 1> check {};
    std::array<QString, kKinds + 1> file {};
};

/// Reads the settings (organisation Orlend, application TarvexPrint, group Template, keys
/// TemplateCheckN as 0/1 and TemplateFileN). A value that is missing, or stored in a form that
/// does not read back (counted as missing), is written with the value in memory, so the first
/// run stores all twelve defaults and later reads never change a good stored value.
void ReadTemplateSettings(TTemplateSettings& settings);

/// Writes all twelve values. On failure tells the user (both languages) and returns false;
/// values written before the failure stay written.
bool SaveTemplateSettings(const TTemplateSettings& settings);
