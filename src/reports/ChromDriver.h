#pragma once
// The chromatogram report's driver: from the decoded job to a filled CommonReport, then the
// preview, the printer or the result file.

#include <QString>
#include <functional>

class TChromModule;
class TDataModule1;

/// Writes the result file in export mode (installed by the program; formats and files come from
/// the print settings).
using TResultFileWriter = std::function<void(TDataModule1&, TChromModule&)>;

void RunChromatogramReport(TDataModule1& data, TChromModule& chrom, const TResultFileWriter& writeResultFile);

/// Switches every chromatogram and method section of CommonReport for the current mode.
void SetReportSections(TDataModule1& data, const TChromModule& chrom);
void SetDetectorSections(TDataModule1& data, const TChromModule& chrom);
void SetTableRowCounts(TDataModule1& data, const TChromModule& chrom);

enum class TWidthTable { Peak, Ident, Group, Journal, CompStat };
/// The column widths of one table into the data module's width table (report units).
void ComputeColumnWidths(TDataModule1& data, TWidthTable table);

/// The header (0) or footer (1) text file of the print settings; empty when switched off or
/// unreadable (the user is told).
QString LoadTextFile(const TDataModule1& data, int which);
void CollectAddCalcCoefs(TDataModule1& data, const TChromModule& chrom);
