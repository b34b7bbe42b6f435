#include "ChromDriver.h"
#include "ChromDriver_p.h"

#include "Bilingual.h"
#include "ChromPassport.h"
#include "ChromReport.h"
#include "Prompt.h"
#include "TChromModule.h"
#include "TDataModule1.h"
#include "TVisibilityModule.h"

#include <QFile>
#include <QRegularExpression>
#include <QTextStream>
#include <cmath>

namespace {

using chromdriver::section;
using chromdriver::setCount;

void rewind(TDataModule1& data, const char* name) {
    if (auto* ds = data.rowSource(QString::fromLatin1(name)))
        ds->first();
}

} // namespace

void SetTableRowCounts(TDataModule1& data, const TChromModule& chrom) {
    setCount(data, "PeakDataSet", chrom.PrintedPeakCount());
    setCount(data, "IdentStatDataSet", static_cast<long long>(chrom.iIdent_Last()) + 1);
    rewind(data, "IdentStatDataSet");
    if (data.printSettings.bIdent_ByComp())
        setCount(data, "IdentDataset", std::max(0, chrom.iMax_Comp()));
    else
        setCount(data, "IdentDataset", static_cast<long long>(chrom.iIdent_Last()) + 1);
    rewind(data, "IdentDataset");
    setCount(data, "GroupDataset", static_cast<long long>(chrom.iGroupRes_Last()) + 1);
    rewind(data, "GroupDataset");
    setCount(data, "MethDetectorDataset", chrom.iDet_Count());
    setCount(data, "PeakDetectorDataset", chrom.iDet_Count());
    setCount(data, "JournalDataset", chrom.iJournal_Count());
    setCount(data, "CompStatChrom", chrom.iStatChrom_Count());
}

void ComputeColumnWidths(TDataModule1& data, TWidthTable table) {
    const TPrintSettings& ps = data.printSettings;
    int n = 0, base = 0;
    std::function<double(int)> width;   // character width of column i (from 1)
    std::function<bool(int)> on = [](int) { return true; }; // the column's switch
    switch (table) {
    case TWidthTable::Peak:
        n = 12, base = 0;
        width = [&](int i) { return double(ps.fPeakCol_Width(i - 1)); };
        on = [&](int i) { return ps.bPeakCol_On(i - 1) != 0; };
        break;
    case TWidthTable::Ident:
        n = 10, base = 12;
        width = [&](int i) { return double(ps.fIdentCol_Width(i - 1)); };
        on = [&](int i) { return ps.bIdentCol_On(i - 1) != 0; };
        break;
    case TWidthTable::Group:
        n = 10, base = 22;
        width = [&](int i) { return double(ps.fGroupCol_Width(i - 1)); };
        on = [&](int i) { return ps.bGroupCol_On(i - 1) != 0; };
        break;
    case TWidthTable::Journal:
        n = 4, base = 32;
        width = [&](int i) { return double(ps.fJournalCol_Width(i - 1)); };
        break;
    case TWidthTable::CompStat:
        n = 14, base = 36;
        width = [&](int i) { return double(ps.fCompStatCol_Width(i - 1)); };
        on = [&](int i) { return ps.bCompStatCol_On(i - 1) != 0; };
        break;
    }
    auto& w = data.columnWidths;
    auto at = [&](int i) -> std::int32_t& { return w[static_cast<std::size_t>(base + i)]; };
    // A width that is not a number, or absurd, ends the computation with what was reached.
    auto ceilOf = [](double v, bool* ok) -> std::int32_t {
        if (!std::isfinite(v) || std::fabs(v) > 1e9) {
            *ok = false;
            return 0;
        }
        return static_cast<std::int32_t>(std::ceil(v));
    };

    const bool switched = table != TWidthTable::Journal; // the journal's columns are always on
    bool ok = true;
    int last = 0;
    for (int i = 1; i <= n; ++i) {
        const std::int32_t value = i == 1 ? 33 : (switched && !on(i)) ? 0 : ceilOf(width(i) * 6.5, &ok);
        if (!ok)
            break;
        at(i) = value;
        if (value > 0)
            last = i;
    }
    if (!ok || (data.exportFlag && ps.bExport_Format() == 7))
        return;

    if (table == TWidthTable::CompStat) {
        long long running = 0;
        for (int i = 1; i <= n; ++i) {
            running += at(i);
            if (running > data.pageWidth)
                at(i) = 0;
        }
        return;
    }
    long long total = 0;
    for (int i = 1; i <= n; ++i)
        total += at(i);
    const long long rest = total - at(1);
    // With every column but the first at 0 the scale is infinite, and 0 times that is not a
    // number: the computation ends with the widths it has.
    if (total > 0 && rest <= 0)
        return;
    const double scale = total <= 0 ? 0.0 : double(data.pageWidth) / double(rest);
    for (int i = 2; i <= n; ++i)
        at(i) = static_cast<std::int32_t>(std::ceil(at(i) * scale));
    if (table == TWidthTable::Journal)
        return;
    long long sum = 0;
    for (int i = 1; i <= n; ++i)
        sum += at(i);
    if (sum < data.pageWidth && last > 0)
        at(last) += static_cast<std::int32_t>(data.pageWidth - sum);
}

QString LoadTextFile(const TDataModule1& data, int which) {
    if (data.designMode)
        return {};
    const TPrintSettings& ps = data.printSettings;
    const bool on = which == 0 ? ps.bPrint_HeaderFile() : ps.bPrint_FooterFile();
    const QString name = which == 0 ? ps.szHeaderFile() : ps.szFooterFile();
    if (!on || name.isEmpty() || !QFile::exists(name))
        return {};
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly)) {
        tarvex::prompt().error(
            tarvex::Pick(QStringLiteral("Невозможно открыть/загрузить файл \r\nIt is impossible to open/load a file")) + name);
        return {};
    }
    // Text files of the host are Windows texts; a file that is valid UTF-8 is taken as such.
    const QByteArray bytes = file.readAll();
    QString text = QString::fromUtf8(bytes);
    if (text.contains(QChar::ReplacementCharacter))
        text = tarvex::decodeText(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    QStringList lines = text.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines.join(QStringLiteral("\r\n")).trimmed();
}

void CollectAddCalcCoefs(TDataModule1& data, const TChromModule& chrom) {
    if (data.designMode)
        return;
    data.addCalcCoefs.clear();
    for (int i = 0; i < 10; ++i)
        if (chrom.bAddCalc_CoefOn(i))
            data.addCalcCoefs.emplace_back(chrom.szAddCalc_CoefName(i), chrom.dAddCalc_Coef(i));
    data.columnWidths[0] = static_cast<std::int32_t>(data.addCalcCoefs.size());
    setCount(data, "AddCalcCoefsDataset", chrom.bChr_HasAddCalc() ? static_cast<long long>(data.addCalcCoefs.size()) : 0);
}

void SetDetectorSections(TDataModule1& data, const TChromModule& chrom) {
    const int device = chrom.bType_Device();
    const int set = chrom.bType_MultiDet();
    bool tcd1 = false, tcd2 = false, ecd = false;
    if (device == 0) {
        ecd = set == 0 || set == 4 || set == 6 || set == 8 || set == 12;
        tcd1 = set == 1 || set == 2 || set == 13 || set == 9 || set == 11;
        tcd2 = set == 9 || set == 11;
    } else if (device == 2) {
        tcd1 = set == 4 || set == 5;
        ecd = set == 2 || set == 7;
    } else if (device == 1 || device == 3 || device == 4 || device == 5 || device == 12) {
        tcd1 = set == 5;
        ecd = set == 0;
    }
    section(data, "DTP1Print", tcd1 && data.methodMode);
    section(data, "DTP2Print", tcd2 && data.methodMode);
    section(data, "EZDPrint", ecd && data.methodMode);
}
