#pragma once
// The print side of a run: decodes the job mask and runs the one selected report.

#include "JobMask.h"
#include "TemplateSettings.h"

#include <QString>

class TReportPrintModule {
public:
    /// Decodes `argument` into the job flags; the first step of the dispatch.
    void DecodeJobMask(const QString& argument);
    const TJobFlags& flags() const { return flags_; }

    /// The template settings, read once at start-up and saved after the assignment dialog.
    void ReadSettings() { ReadTemplateSettings(templates_); }
    bool SaveSettings() { return SaveTemplateSettings(templates_); }
    TTemplateSettings& templateSettings() { return templates_; }

    /// Runs once per print-mode run, after start-up.
    void Dispatch(const QString& argument);

private:
    void TakeBlocks(const int* kinds, int count, int settingsKind);

    TJobFlags flags_;
    TTemplateSettings templates_;
};
