#pragma once
// Synthetic print jobs of a chosen size, up to the capacities of the print-job record, for
// benchmarks and load tests.

#include <QJsonObject>

namespace host {

struct SynthSize {
    int channels = 2;
    int points = 6000;       // per channel
    int peaks = 30;          // over all channels
    int ident = 20;          // identification records (and component statistics)
    int components = 20;
    int calibPoints = 3;     // per component and group
    int groups = 4;
    int groupResults = 4;
    int journal = 3;
    int graphs = 1;
    int graphPoints = 20;
};

/// A complete job (signal as a recipe, so the file stays small) with the given sizes.
QJsonObject synthJob(const SynthSize& size);

} // namespace host
