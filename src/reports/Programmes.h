#pragma once
// The time programmes of the method: the oven temperature steps, the two column pressure
// programmes and the programmable injector, printed as small tables in both the chromatogram and
// the method report.

class TChromModule;
class TDataModule1;

/// Sets the programme variables of CommonReport for the current programme row.
void FillProgrammeRow(TDataModule1& data, const TChromModule& chrom);
/// Installs FillProgrammeRow as the refill of both programme row sources.
void InstallProgrammeSources(TDataModule1& data, const TChromModule& chrom);
