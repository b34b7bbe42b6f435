#pragma once
// The chromatogram report's tables, picture and object hook: what the engine calls back while it
// builds CommonReport. The driver installs them; they read the print-job record and the data
// module and write CommonReport's variables.

#include <QString>

class TChromModule;
class TDataModule1;
namespace tarvex::engine {
class Object;
}

/// Installs the refill routines of the peak, identification, group, journal, component-statistics,
/// statistics-chromatogram, coefficient, additional-calculation and graph row sources.
void InstallChromatogramSources(TDataModule1& data, TChromModule& chrom);

/// CommonReport's before-print hook: the common adjustment, then the picture strips, the rich-text
/// header, footer and additional calculation, the column widths, the export band rules.
void CommonReportBeforePrint(TDataModule1& data, TChromModule& chrom, tarvex::engine::Object& object);

/// Rotates a picture too wide for the page and frames it.
void FitChromPicture(TDataModule1& data);
/// Puts the whole picture into Picture2 (when the template has it).
void PutWholePicture(TDataModule1& data);
/// Makes the strip of the current strip index (30 rows, white past the picture's end).
void CutStrip(TDataModule1& data);

/// The line printed above the identification table; empty when there is nothing to say.
QString IdentAddOnLine(const TDataModule1& data, const TChromModule& chrom);
/// The row and column counts of the additional-calculation text table.
void SetAddCalcTableCounts(TDataModule1& data, const TChromModule& chrom);
