#pragma once
// The passport of the chromatogram and method reports: the variables of their first pages.

#include <QString>

class TChromModule;
class TDataModule1;

/// Sets the passport variables of CommonReport for the mode the data module is in (chromatogram or
/// method). Nothing happens in design mode.
void FillPassport(TDataModule1& data, TChromModule& chrom);

/// The internal-standard component's name (the last flagged one); sets the data module's index of
/// it, -1 when there is none.
QString FindInternalStandard(TDataModule1& data, const TChromModule& chrom);

/// Texts of the identification settings; `current` is returned for a code without a text.
QString IdentModeText(int mode, const QString& current = {});
QString PeakChoiceText(int choice, const QString& current = {});
QString SampleModeText(int k);
QString SolventText(int k);
/// The unit of concentrations (0 to 12), picked; empty for other codes.
QString ConcentrationUnitText(int code);
/// "Азот", "Гелий", "Водород", "Аргон"; larger indices read as the last.
QString GasTypeName(int index);
/// The date and time of a host time stamp (days since 30 December 1899, fraction the time of day).
QString HostDateTimeText(double stamp);
