#pragma once
// The print side of a run: decodes the job mask, checks that the host left what the selected
// report needs, and runs that one report.

#include "JobMask.h"
#include "TemplateSettings.h"

#include <QString>
#include <functional>

class TChromModule;
class TDataModule1;

class TReportPrintModule {
public:
    explicit TReportPrintModule(TDataModule1& data) : data_(data) {}
    /// The print-job record module, created later in start-up.
    void AttachRecord(TChromModule& chrom) { chrom_ = &chrom; }

    /// Decodes `argument` into the job flags; the first step of the dispatch.
    void DecodeJobMask(const QString& argument);
    const TJobFlags& flags() const { return flags_; }

    /// The template settings, read once at start-up and saved after the assignment dialog.
    void ReadSettings() { ReadTemplateSettings(templates_); }
    bool SaveSettings() { return SaveTemplateSettings(templates_); }
    TTemplateSettings& templateSettings() { return templates_; }

    /// Runs once per print-mode run, after start-up: the first selected report, if its data are there.
    void Dispatch(const QString& argument);

    /// Reads the print settings and checks their version; tells the user when they are missing or
    /// of another version.
    bool CheckPrintSettings();

    /// The report drivers, installed by the modules that print each report. A branch whose driver
    /// is not installed ends after its checks. The protocol driver tells whether it printed.
    struct Drivers {
        std::function<void()> chromatogram, method, noise, statistics, rtl, graduation, packet,
            repeatability, peakProperty;
        std::function<bool()> protocol;
    };
    Drivers drivers;

private:
    void run(const std::function<void()>& driver);

    TDataModule1& data_;
    TChromModule* chrom_ = nullptr;
    TJobFlags flags_;
    TTemplateSettings templates_;
};
