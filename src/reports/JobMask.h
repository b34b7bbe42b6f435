#pragma once
// The job mask the host starts us with, decoded into one flag per meaningful bit.

#include <QString>

struct TJobFlags {
    bool chromatogram = false;   // bit 0
    bool method = false;         // bit 1
    bool statistics = false;     // bit 2
    bool noise = false;          // bit 3
    bool rtl = false;            // bit 4, retention-time-lock calibration
    bool graduation = false;     // bit 5
    bool protocol = false;       // bit 6
    bool packet = false;         // bit 7
    bool repeatability = false;  // bit 8
    bool peakProperty = false;   // bit 9
    bool exportToFile = false;   // bit 13
    bool printerDialog = false;  // bit 15
    bool preview = false;        // bit 16

    bool anyReport() const;
    bool operator==(const TJobFlags&) const = default;
};

/// Decodes argument 1: a signed 32-bit decimal integer. An empty or non-numeric argument, a
/// number out of range, or 0 clears every flag; bits 10-12, 14 and 17-31 mean nothing.
TJobFlags DecodeJobMask(const QString& argument);

/// "chromatogram, export" style list of the flags set, for traces.
QString DescribeJobFlags(const TJobFlags& flags);
