// Installs the refill routines of the chromatogram report's row sources.

#include "ChromReport.h"
#include "ChromTables_p.h"

void InstallChromatogramSources(TDataModule1& data, TChromModule& chrom) {
    chromtables::InstallPeakSources(data, chrom);
    chromtables::InstallIdentSources(data, chrom);
    chromtables::InstallGroupSources(data, chrom);
    chromtables::InstallJournalStatSources(data, chrom);
    chromtables::InstallAddCalcSources(data, chrom);
}
