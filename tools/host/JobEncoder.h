#pragma once
// Turns a print job described in JSON into the blocks the host publishes: 1 (chromatogram with
// the method embedded), 2 (method), 9 (the chromatogram picture) and 10 (print settings).

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <cstdint>
#include <vector>

namespace host {

/**
 * A job file holds areas named "chromatogram", "method", "printSettings" (objects of field
 * name -> value), "peaks", "ident", "groupResults", "compStat", "journal", "graphs",
 * "components", "groups" (rows: an array of objects, or an object of per-row arrays), "comment"
 * (text), "signal" (an array of channels of samples, or a recipe) and "picture" (size of the
 * drawn chromatogram, or false for none). Field names are the record's; a field not given is
 * zero. Counts and record sizes are derived from the rows unless given: giving them exercises
 * the reader's tolerance (iChr_PeakRecSize 140 writes 140-byte peak records).
 */
struct EncodedJob {
    QByteArray chromatogram;  // block 1
    QByteArray method;        // block 2
    QByteArray picture;       // block 9 (empty: none)
    QByteArray printSettings; // block 10 (empty: none)
};

struct EncodeOptions {
    /// Refuse jobs above the capacities of the print-job record (the host never sends them).
    bool refuseOverCapacity = true;
};

/// Builds the blocks of `job`. False, with a message in `error`, for a job that cannot be written.
bool encodeJob(const QJsonObject& job, EncodedJob* out, QString* error, const EncodeOptions& options = {});

/// The samples of every channel as encodeJob writes them (from the arrays or the recipe).
bool jobSignal(const QJsonObject& job, std::vector<std::vector<std::int32_t>>* channels, QString* error);

} // namespace host
