#include "ColumnTextWriter.h"

#include "Bilingual.h"
#include "CodePage.h"
#include "OutputFile.h"
#include "ResultTables.h"
#include "TChromModule.h"
#include "TPrintSettings.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace {

QString pick(const char16_t* text) { return tarvex::Pick(QString::fromUtf16(text)); }

constexpr int kFirstColumnWidth = 5;
constexpr int kLabelWidth = 40;
// No listing column is wider than a line can sensibly be; a damaged width must not make the
// program build gigabytes of blanks.
constexpr int kWidestColumn = 1000;

// A stored width in characters, truncated toward zero and kept within 0..kWidestColumn.
int columnWidth(float stored) {
    if (!std::isfinite(stored) || stored <= 0)
        return 0;
    return static_cast<int>(std::min<float>(stored, kWidestColumn));
}

// One line of a table: the fields of the columns that are on, in column order.
QString tableLine(int columns, const std::function<bool(int)>& on, const std::function<float(int)>& width,
                  const std::function<QString(int)>& text) {
    QString line;
    for (int c = 1; c <= columns; ++c)
        if (on(c - 1))
            line += PadField(text(c), c == 1 ? kFirstColumnWidth : columnWidth(width(c - 1)));
    return line;
}

} // namespace

QString PadField(const QString& text, int width) {
    width = std::max(width, 0);
    QString field = text.trimmed();
    const qsizetype length = text.size();
    if (width > length)
        field += QString(width - length + 1, QLatin1Char(' '));
    else if (width < length)
        field = text.left(width);
    return field + QStringLiteral("  ");
}

QStringList ColumnTextLines(const TChromModule& rec, const TPrintSettings& settings, const TTableTexts& tables,
                            const TResultContext& context) {
    QStringList lines;
    const QList<TPassportItem> passport = ResultPassport(rec, context);
    for (int i = 0; i < passport.size(); ++i)
        if (i != kPassportAddCalcItem || rec.bChr_HasAddCalc())
            lines << PadField(passport[i].label, kLabelWidth) + passport[i].value;

    const QLocale& numbers = context.locale;
    if (rec.PrintedPeakCount() > 0 && rec.bPrn_Peaks()) {
        lines << QString() << pick(u"Пики\r\nPeaks");
        const auto on = [&](int i) { return settings.bPeakCol_On(i) != 0; };
        const auto width = [&](int i) { return settings.fPeakCol_Width(i); };
        for (int k = 0; k < rec.iDet_Count(); ++k) {
            const TDetectorEntry& entry = rec.DetectorEntry(k);
            lines << QString();
            lines << tableLine(TResultTables::kPeakColumns, on, width,
                               [&](int c) { return tables.PeakColumnHeader(c); });
            for (int r = 0; r < entry.iDet_PeakCount; ++r)
                lines << tableLine(TResultTables::kPeakColumns, on, width, [&](int c) {
                    return tables.PeakValue(r, entry.iDet_FirstPeak, false, entry.szDet_Name, c, numbers);
                });
        }
    }
    if (rec.iIdent_Last() >= 0 && rec.bPrn_Ident()) {
        const auto on = [&](int i) { return settings.bIdentCol_On(i) != 0; };
        const auto width = [&](int i) { return settings.fIdentCol_Width(i); };
        lines << tableLine(TResultTables::kIdentColumns, on, width, [&](int c) { return tables.IdentColumnHeader(c); });
        const int last = std::min(rec.iIdent_Last(), TChromModule::kMaxIdent - 1);
        for (int r = 0; r <= last; ++r)
            lines << tableLine(TResultTables::kIdentColumns, on, width,
                               [&](int c) { return tables.IdentValue(r, c, false, numbers); });
    }
    if (rec.iGroupRes_Last() >= 0 && rec.bPrn_Groups()) {
        lines << QString() << pick(u"Группы\r\nGroups") << QString();
        const auto on = [&](int i) { return settings.bGroupCol_On(i) != 0; };
        const auto width = [&](int i) { return settings.fGroupCol_Width(i); };
        lines << tableLine(TResultTables::kGroupColumns, on, width, [&](int c) { return tables.GroupColumnHeader(c); });
        const int last = std::min(rec.iGroupRes_Last(), TChromModule::kMaxGroupRes - 1);
        for (int r = 0; r <= last; ++r)
            lines << tableLine(TResultTables::kGroupColumns, on, width,
                               [&](int c) { return tables.GroupValue(r, c, false, numbers); });
    }
    return lines;
}

bool WriteColumnText(const QString& fileName, bool oem, const TChromModule& rec, const TPrintSettings& settings,
                     const TTableTexts& tables, const TResultContext& context) {
    const QString text =
        ColumnTextLines(rec, settings, tables, context).join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
    return SaveWholeFile(fileName, oem ? tarvex::toCp866(text) : tarvex::toCp1251(text));
}
