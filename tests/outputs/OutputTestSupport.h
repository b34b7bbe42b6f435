#pragma once
// Jobs for the result-file tests: a job file encoded the way tarvex-host publishes it and
// decoded into a print-job record, plus the golden-file comparison.

#include "Prompt.h"
#include "ResultPassport.h"
#include "TChromModule.h"
#include "TPrintSettings.h"

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <array>
#include <memory>

/// A decoded job: the record and the print settings, as the program holds them.
struct TestJob {
    std::unique_ptr<TChromModule> rec = std::make_unique<TChromModule>();
    TPrintSettings settings;
    /// A column width table as the chromatogram driver computes it: character widths of the
    /// peak, identification and group columns at 7.5 report units per character.
    std::array<double, 50> widths {};
};

/// The job file `name` of the source tree (relative to the repository root).
QJsonObject readJobFile(const QString& name);
/// Encodes and decodes `job`; test assertions fail when either step does.
void decodeJob(const QJsonObject& job, TestJob& out);

/// The regional settings the golden files were made with: Russian (decimal comma).
QLocale goldenLocale();
/// A fixed run: chromatogram mode, Russian regional settings, created 11.12.2025 09:30:15.
TResultContext goldenContext();

/// Compares `actual` with golden file `name` (tests/outputs/golden). With TARVEX_UPDATE_GOLDEN
/// set the golden file is written instead, for a person to check before committing it.
::testing::AssertionResult matchesGolden(const QByteArray& actual, const QString& name);

QByteArray readFile(const QString& path);

/// Installs a recording prompt for the lifetime of the object.
class PromptRecorder {
public:
    PromptRecorder();
    ~PromptRecorder();
    QStringList errors() const;
    tarvex::RecordingPrompt* prompt = nullptr;

private:
    std::unique_ptr<tarvex::Prompt> previous_;
};
