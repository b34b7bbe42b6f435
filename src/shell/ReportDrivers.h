#pragma once
// Connects the dispatch's branches to the report drivers this program has.

class TChromModule;
class TDataModule1;
class TReportPrintModule;

/// Loads the built-in templates into the report components and installs the drivers.
void InstallReportDrivers(TReportPrintModule& dispatch, TDataModule1& data, TChromModule& chrom);
