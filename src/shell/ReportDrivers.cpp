#include "ReportDrivers.h"

#include "ChromDriver.h"
#include "ChromReport.h"
#include "Programmes.h"
#include "Report.h"
#include "ResultFile.h"
#include "ResultTables.h"
#include "TChromModule.h"
#include "TDataModule1.h"
#include "TReportPrintModule.h"
#include "templates.h"

void InstallReportDrivers(TReportPrintModule& dispatch, TDataModule1& data, TChromModule& chrom) {
    data.SetBuiltInTemplate(data.CommonReport(), tarvex::templates::bytes(QStringLiteral("CommonReport.fr3")));

    dispatch.drivers.chromatogram = [&data, &chrom] {
        InstallChromatogramSources(data, chrom);
        InstallProgrammeSources(data, chrom);
        data.CommonReport().onBeforePrint = [&data, &chrom](tarvex::engine::Object& object) {
            CommonReportBeforePrint(data, chrom, object);
        };
        RunChromatogramReport(data, chrom, [](TDataModule1& d, TChromModule& c) {
            const TResultTables tables(c, d.printSettings);
            WriteResultFile(d, c, d.CommonReport(), &tables);
        });
    };
}
