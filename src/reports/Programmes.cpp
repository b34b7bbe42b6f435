#include "Programmes.h"

#include "TChromModule.h"
#include "TDataModule1.h"
#include "ValueFormat.h"

namespace {
QString G(double v) { return FormatGeneral(8, 5, false, v); }
} // namespace

void FillProgrammeRow(TDataModule1& data, const TChromModule& chrom) {
    if (data.designMode)
        return;
    tarvex::engine::Report& report = data.CommonReport();
    auto set = [&report](const char* name, const QString& value) {
        report.setVariable(QString::fromLatin1(name), value);
    };
    const int r = data.rowIndex(QStringLiteral("TempProgrDataSet"));
    if (r < 0)
        return;
    // The oven: five temperatures, the last of which has no hold time or rate after it.
    set("PrgrColumnTemp", r < 5 ? G(chrom.PrgrColumnTemp(r)) : QuoteText(QString()));
    set("PrgrColumnTime", r < 4 ? G(chrom.PrgrColumnTime(r)) : QuoteText(QString()));
    set("PrgrColumnSpeed", r < 4 ? G(chrom.PrgrColumnSpeed(r)) : QuoteText(QString()));

    // Two-step programmes: the initial value with its hold time and rate, then the final value.
    if (r == 0) {
        set("PrgrIspTemp", G(chrom.PrgrIsp(0)));
        set("PrgrIspTime", G(chrom.PrgrIsp(2)));
        set("PrgrIspSpeed", G(chrom.PrgrIsp(3)));
        set("PrgrPressPressure1", G(chrom.PrgrPress1(0)));
        set("PrgrPressTime1", G(chrom.PrgrPress1(2)));
        set("PrgrPressSpeed1", G(chrom.PrgrPress1(3)));
        set("PrgrPressPressure2", G(chrom.PrgrPress2(0)));
        set("PrgrPressTime2", G(chrom.PrgrPress2(2)));
        set("PrgrPressSpeed2", G(chrom.PrgrPress2(3)));
    } else if (r == 1) {
        set("PrgrIspTemp", G(chrom.PrgrIsp(1)));
        set("PrgrIspTime", QuoteText(QStringLiteral("-")));
        set("PrgrIspSpeed", QStringLiteral("0"));
        set("PrgrPressPressure1", G(chrom.PrgrPress1(1)));
        set("PrgrPressTime1", QuoteText(QStringLiteral("-")));
        set("PrgrPressSpeed1", QStringLiteral("0"));
        set("PrgrPressPressure2", G(chrom.PrgrPress2(1)));
        set("PrgrPressTime2", QuoteText(QStringLiteral("-")));
        set("PrgrPressSpeed2", QStringLiteral("0"));
    }
}

void InstallProgrammeSources(TDataModule1& data, const TChromModule& chrom) {
    for (const char* name : {"TempProgrDataSet", "PressProgrDataSet"})
        data.setRefill(QString::fromLatin1(name), [&data, &chrom] { FillProgrammeRow(data, chrom); });
}
