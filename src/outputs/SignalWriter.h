#pragma once
// The raw chromatogram signal as text: the table of every channel written beside an exported
// report, and the first channel with its acquisition parameters for other programs to read.

#include <QString>
#include <cstdint>
#include <span>

class TChromModule;

/**
 * Signal table: one line per point, every channel's sample right-aligned in 11 characters and
 * followed by a tab, lines ended by CR LF. The file is created or replaced; the old file stays
 * untouched when anything fails. Failures are told to the user (prompt layer); returns success.
 */
bool WriteSignalTable(const QString& fileName, const TChromModule& rec);

/// The same for channels given directly (all of the first channel's length or longer; extra
/// samples of longer channels are not written).
bool WriteSignalTable(const QString& fileName, std::span<const std::span<const std::int32_t>> channels);

/**
 * Signal file with a header: the point count, the actual interval (1 / sampling rate), the
 * converter step (1 / scale), the unit and "DATA:", then the first channel one sample a line.
 * Numbers use "." whatever the regional settings, which stay as they were. Texts are Windows-1251,
 * lines end with CR LF. Failures are told to the user; returns success.
 */
bool WriteSignalFile(const QString& fileName, const TChromModule& rec);

/// Formats points [from, to) of the signal table into `out`, which holds (to - from) lines of
/// SignalTableLineSize(channels.size()) bytes. Shared with the benchmark.
void FormatSignalTableLines(std::span<const std::span<const std::int32_t>> channels, std::size_t from,
                            std::size_t to, char* out);
constexpr std::size_t SignalTableLineSize(std::size_t channels) { return channels * 12 + 2; }
