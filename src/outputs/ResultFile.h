#pragma once
// The result file of an exporting run: one file in the format the print settings choose, and
// the signal table beside it when asked for.

#include <QString>

class TChromModule;
class TDataModule1;
class TTableTexts;
namespace tarvex::engine {
class Report;
}

/// The companion signal file's name: the extension replaced by ".chrom" (appended when none).
QString CompanionSignalName(const QString& fileName);

/**
 * Writes the result file of `report` (already filled by its driver) to the file the print
 * settings name, in their format. An existing file is replaced only when the user agrees, and
 * only when it can be opened for writing. `tables` gives the table texts the workbook and the
 * column listing print (null: those formats cannot be written and the user is told).
 * Returns false when nothing was written.
 */
bool WriteResultFile(TDataModule1& data, TChromModule& chrom, tarvex::engine::Report& report,
                     const TTableTexts* tables);
