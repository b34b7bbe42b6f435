// The event journal (JournTitle, JournHeader, JournValue), the component statistics (StatHeader,
// StatValue) and the list of the statistics series' chromatograms (StatChromName).

#include "ChromReport.h"
#include "ChromTables.h"
#include "ChromTables_p.h"
#include "TDataModule1.h"
#include "ValueFormat.h"

#include <algorithm>
#include <cmath>

using namespace chromtables;

QString JournalTitle(const TChromModule& chrom) {
    return chrom.iJournal_Count() <= 0 ? pick(u"Событий нет\r\nNo Events") : pick(u"Журнал событий\r\nEvent journal");
}

QString JournalColumnHeader(int column) {
    switch (column) {
    case 1: return QStringLiteral("№");
    case 2: return pick(u"Время,мин\r\nTime,min");
    case 3: return pick(u"Событие\r\nEvent");
    case 4: return pick(u"Тип\r\nType");
    default: return {};
    }
}

QString JournalValue(const TChromModule& chrom, int row, int column) {
    if (row < 0 || row >= std::min(chrom.iJournal_Count(), TChromModule::kMaxJournal))
        return {};
    const TJournalRec event = chrom.JournalRec(row);
    switch (column) {
    case 1: return QString::number(row + 1);
    case 2: return FormatByCode(0, false, event.iJourn_Time() / 60.0); // minutes, one decimal
    case 3: return event.szJourn_Event();
    case 4:
        if (event.bJourn_Kind() == 1)
            return pick(u"Вкл.\r\nEnab.");
        if (event.bJourn_Kind() == 2)
            return pick(u"Выкл.\r\nDisab.");
        return {};
    default: return {};
    }
}

QString CompStatColumnHeader(int column) {
    static const char16_t* const kHeaders[] = {
        u"№\r\n№",
        u"Компонент\r\nComponent",
        u"Среднее 1\r\nAverage 1", u"СКО 1\r\nASS 1", u"Абс.погр.1\r\nAbs.inac.1", u"Отн.погр.1,%\r\nRel.inac.1",
        u"Среднее 2\r\nAverage 2", u"СКО 2\r\nASS 2", u"Абс.погр.2\r\nAbs.inac.2", u"Отн.погр.2,%\r\nRel.inac.2",
        u"Среднее 3\r\nAverage 3", u"СКО 3\r\nASS 3", u"Абс.погр.3\r\nAbs.inac.3", u"Отн.погр.3,%\r\nRel.inac.3"};
    if (column < 1 || column > 14)
        return {};
    return pick(kHeaders[column - 1]);
}

QString CompStatValue(const TChromModule& chrom, const TPrintSettings& settings, int row, int column) {
    if (row < 0 || row > lastRow(chrom.iIdent_Last(), std::min(TChromModule::kMaxIdent, TChromModule::kMaxCompStat)))
        return {};
    if (column == 1)
        return QString::number(row + 1);
    if (column == 2) {
        const int comp = chrom.IdentRec(row).iIdent_Comp();
        if (comp < 0 || comp > chrom.iMax_Comp())
            return {};
        return chrom.CompRec(comp).szComp_Name();
    }
    if (column < 3 || column > 14)
        return {};
    // Columns 3 to 14: for each concentration k, its average, deviation, absolute and relative error.
    const TCompStatRec stat = chrom.CompStatRec(row);
    const int k = (column - 3) / 4;
    double value = 0;
    switch ((column - 3) % 4) {
    case 0: value = stat.fStat_Average(k); break;
    case 1: value = stat.fStat_SKO(k); break;
    case 2: value = stat.fStat_AbsErr(k); break;
    default: value = stat.fStat_RelErr(k); break;
    }
    // The statistics table reads codes above 10 as 10 and leaves a value it cannot print empty.
    if (!std::isfinite(value))
        return {};
    return FormatByCode(std::min<int>(settings.bCompStatCol_Format(column - 1), 10), false, value);
}

namespace chromtables {

void InstallJournalStatSources(TDataModule1& data, TChromModule& chrom) {
    auto journal = [&data, &chrom] {
        if (data.designMode || data.methodMode)
            return;
        const int row = data.rowIndex(QStringLiteral("JournalDataset"));
        const int column = data.rowIndex(QStringLiteral("JournalColumn"));
        tarvex::engine::Report& report = data.CommonReport();
        report.setVariable(QStringLiteral("JournTitle"), QuoteText(JournalTitle(chrom)));
        report.setVariable(QStringLiteral("JournHeader"), QuoteText(JournalColumnHeader(column)));
        report.setVariable(QStringLiteral("JournValue"), QuoteText(JournalValue(chrom, row, column)));
    };
    data.setRefill(QStringLiteral("JournalDataset"), journal);
    data.setRefill(QStringLiteral("JournalColumn"), journal);

    auto stat = [&data, &chrom] {
        if (data.designMode || data.methodMode)
            return;
        const int row = data.rowIndex(QStringLiteral("IdentStatDataSet"));
        const int column = data.rowIndex(QStringLiteral("CompStatColumn"));
        tarvex::engine::Report& report = data.CommonReport();
        report.setVariable(QStringLiteral("StatHeader"), QuoteText(CompStatColumnHeader(column)));
        report.setVariable(QStringLiteral("StatValue"), QuoteText(CompStatValue(chrom, data.printSettings, row, column)));
    };
    data.setRefill(QStringLiteral("IdentStatDataSet"), stat);
    data.setRefill(QStringLiteral("CompStatColumn"), stat);

    data.setRefill(QStringLiteral("CompStatChrom"), [&data, &chrom] {
        if (data.designMode)
            return;
        // The record holds at most ten names; a row past them has none.
        const int row = data.rowIndex(QStringLiteral("CompStatChrom"));
        data.CommonReport().setVariable(QStringLiteral("StatChromName"), QuoteText(chrom.szStatChrom_Name(row)));
    });
}

} // namespace chromtables
