#pragma once
// A module of section switches: one one-row data set per optional section, bound to reports
// by user name.

#include "UserDataSet.h"
#include "VisibilitySources.h"

#include <QString>
#include <memory>
#include <span>
#include <vector>

namespace tarvex::engine {
class Report;
}

class TVisibilityModule {
public:
    explicit TVisibilityModule(std::span<const TVisibilitySourceInfo> sources);
    ~TVisibilityModule();
    TVisibilityModule(const TVisibilityModule&) = delete;
    TVisibilityModule& operator=(const TVisibilityModule&) = delete;

    /// The switch of that name; null when the module has none.
    tarvex::engine::UserDataSet* source(const QString& name) const;
    /// Binds the named switches (or all, when `names` is empty) to `report`.
    void bindTo(tarvex::engine::Report& report, std::span<const char* const> names = {}) const;
    const std::vector<std::unique_ptr<tarvex::engine::UserDataSet>>& sources() const { return sources_; }

private:
    std::vector<const TVisibilitySourceInfo*> infos_;
    std::vector<std::unique_ptr<tarvex::engine::UserDataSet>> sources_;
};

/// Chromatogram, method and packet sections.
class TReportVisibles : public TVisibilityModule {
public:
    TReportVisibles() : TVisibilityModule(ReportVisiblesSources()) {}
};
/// Method sections and the method tables' per-row switches.
class TMethodReportVisibles : public TVisibilityModule {
public:
    TMethodReportVisibles() : TVisibilityModule(MethodReportVisiblesSources()) {}
};
/// Noise pages and the statistics report's sections.
class TNoiseReportVisiblesModule : public TVisibilityModule {
public:
    TNoiseReportVisiblesModule() : TVisibilityModule(NoiseReportVisiblesSources()) {}
};
/// Retention-time-lock calibration sections.
class TRTLVisibles : public TVisibilityModule {
public:
    TRTLVisibles() : TVisibilityModule(RTLVisiblesSources()) {}
};

/// A section prints when its switch holds one row: 1 for a non-zero flag, else 0.
void SetSection(tarvex::engine::UserDataSet* source, int flag);
