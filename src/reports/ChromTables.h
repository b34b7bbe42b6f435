#pragma once
// The texts of the chromatogram report's tables, cell by cell: what the refill routines put into
// CommonReport's variables. Columns count from 1, rows from 0. Every function reads only what the
// print-job record holds: a row or column outside its table gives an empty text.

#include <QString>
#include <QStringList>
#include <vector>

class TChromModule;
class TPrintSettings;
class TGroupRec;

// --- peak table (12 columns)
QString PeakColumnHeader(const TChromModule& chrom, int column);
/// Column `column` of peak `firstPeak + row` (row from 0 within its detector) of the detector named
/// `detectorName`; numbers by the column's format code unless `forceGeneral`.
QString PeakValue(const TChromModule& chrom, const TPrintSettings& settings, int row, int firstPeak,
                  bool forceGeneral, const QString& detectorName, int column);
/// The footer cell of a column for the detector on channel `channel`: height and area sums of its
/// peak list, the detected share for the per-cent columns, empty for the others.
QString PeakColumnSum(const TChromModule& chrom, const TPrintSettings& settings, int column, int channel);
/// The six-character type code of peak flags: "Б-" (2), "-Б" (1), "*" (256), "Н" (64) or "Х" (128).
QString PeakTypeCode(unsigned flags);

// --- identification table (10 columns)
QString IdentColumnHeader(const TChromModule& chrom, int column);
/// Row `row`: identification record `row`, or with `byComponent` method component `row` (the first
/// identification record that names it, dashes for the results when none does).
QString IdentValue(const TChromModule& chrom, const TPrintSettings& settings, int row, int column, bool forceGeneral);
QString IdentColumnSum(const TChromModule& chrom, const TPrintSettings& settings, int column);

// --- group table (10 columns)
QString GroupColumnHeader(const TChromModule& chrom, int column);
QString GroupValue(const TChromModule& chrom, const TPrintSettings& settings, int row, int column,
                   bool forceGeneral, int methodGroupRow);
/// The retention interval of a method group (time, or index in index identification).
struct TGroupInterval {
    double start = 0;
    double end = 0;
    QString text = QStringLiteral("-"); ///< "start - end", or the member's retention, or "-"
};
/// Group `group`, numbered `n` (from 1); `methodGroupRow` is the method group table's row index.
/// A gasoline group sent without an interval stands at the retention of its first member.
TGroupInterval GroupInterval(const TChromModule& chrom, const TGroupRec& group, int n, int methodGroupRow);

// --- journal (4 columns) and component statistics (14 columns)
QString JournalTitle(const TChromModule& chrom);
QString JournalColumnHeader(int column);
QString JournalValue(const TChromModule& chrom, int row, int column);
QString CompStatColumnHeader(int column);
QString CompStatValue(const TChromModule& chrom, const TPrintSettings& settings, int row, int column);

// --- the additional-calculation free text read as a table
/// Lines are rows; tab-separated fields are cells, empty fields dropped, each cell trimmed.
std::vector<QStringList> AddCalcTable(const QString& text);
int AddCalcTableRowCount(const TChromModule& chrom);
int AddCalcTableColumnCount(const TChromModule& chrom);
/// Cell (column, row), both from 0; empty outside the table.
QString AddCalcTableCell(const TChromModule& chrom, int column, int row);

/// Concentration name n (1 to 3) as the host stored it; empty for other n.
QString ConcentrationName(const TChromModule& chrom, int n);
