#pragma once
// The print side of a run: decodes the job mask and runs the one selected report.

#include "JobMask.h"

#include <QString>

class TReportPrintModule {
public:
    /// Decodes `argument` into the job flags; the first step of the dispatch.
    void DecodeJobMask(const QString& argument);
    const TJobFlags& flags() const { return flags_; }

    /// Runs once per print-mode run, after start-up.
    void Dispatch(const QString& argument);

private:
    void TakeBlocks(const int* kinds, int count, int settingsKind);

    TJobFlags flags_;
};
