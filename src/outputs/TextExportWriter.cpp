#include "TextExportWriter.h"

#include "Bilingual.h"
#include "CodePage.h"
#include "OutputFile.h"
#include "ResultPassport.h"
#include "TChromModule.h"
#include "TPrintSettings.h"
#include "ValueFormat.h"

#include <algorithm>
#include <array>

namespace TextExport {

QString Join(const QString& text) {
    QString joined;
    QString line;
    bool open = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text[i];
        if (ch == QLatin1Char('\r') || ch == QLatin1Char('\n')) {
            if (ch == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
                ++i;
            joined += line + QLatin1Char(' ');
            line.clear();
            open = false;
        } else {
            line += ch;
            open = true;
        }
    }
    if (open)
        joined += line + QLatin1Char(' ');
    return joined;
}

FitResult Fit(const QString& text, int width) {
    if (text.size() > width)
        return {text.left(width), text.mid(width)};
    if (text.size() < width)
        return {text.leftJustified(width + 1, QLatin1Char(' ')), {}};
    return {text, {}};
}

QString Short(const QString& text, int n) { return text.left(n); }

QString BaseName(const QString& path) {
    // Host paths are Windows paths: a drive colon or either slash ends the directory part.
    qsizetype start = 0;
    for (qsizetype i = 0; i < path.size(); ++i)
        if (path[i] == QLatin1Char('\\') || path[i] == QLatin1Char('/') || path[i] == QLatin1Char(':'))
            start = i + 1;
    const QString name = path.mid(start);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? name : name.left(dot);
}

} // namespace TextExport

namespace {

using namespace TextExport;

// The sample prefix: three characters of the method header that no field accessor reads as
// one text, since a blank slot (a zero) may stand before a used one.
constexpr int kSamplePrefixOffset = 11980;
constexpr int kSamplePrefixLength = 3;
// The reference channel is looked for among the first nine channels only.
constexpr int kReferenceChannels = 9;
constexpr int kRuleLength = 63;

QLocale pointLocale() {
    QLocale locale = QLocale::c();
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale;
}

// Fixed point with `decimals` decimals (12 significant digits at most), "." as separator.
QString fixed(double value, int decimals) { return FormatByCode(decimals - 1, false, value, pointLocale()); }

// Exponent form with 4 significant digits and a two-digit exponent: 1.000E+00.
QString exponent(double value) {
    if (value == 0)
        return QStringLiteral("0.000E+00");
    return FormatByCode(7, false, value, pointLocale());
}

QString dateText(double hostDate) {
    const QDateTime when = HostDateTime(hostDate);
    if (!when.isValid())
        return {};
    return when.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss")).replace(QLatin1Char('.'), QLatin1Char('/'));
}

QString samplePrefix(const TChromModule& rec) {
    QString prefix;
    const std::uint8_t* bytes = rec.methodHeaderBytes() + kSamplePrefixOffset;
    for (int i = 0; i < kSamplePrefixLength; ++i)
        if (bytes[i] >= 20)
            prefix += tarvex::decodeText(reinterpret_cast<const char*>(bytes + i), 1) + QLatin1Char('-');
    return prefix;
}

int referenceChannel(const TChromModule& rec) {
    for (int c = 0; c < kReferenceChannels; ++c)
        if (rec.bMeth_DetOn(c))
            return c + 1;
    return 1;
}

double correctionCoefficient(const TChromModule& rec, int comp) {
    const TCalibRec calib = rec.CompCalib(comp);
    switch (rec.bMeth_CalcMethod()) {
    case 1:
        return calib.dCalib_CoefAdd1();
    case 2:
        return calib.dCalib_CoefAdd2();
    case 3:
        return calib.dCalib_CoefAdd3();
    default:
        return 1;
    }
}

// The index of the detector entry holding peak list `list` (the last such); -1 for none.
int detectorOfPeakList(const TChromModule& rec, int list) {
    int found = -1;
    for (int k = 0; k < rec.iDet_Count(); ++k)
        if (rec.DetectorEntry(k).iDet_PeakList == list)
            found = k;
    return found;
}

void appendTable(QStringList& lines, const TChromModule& rec) {
    enum Column { Number, Time, Height, Area, Coefficient, Concentration, Name, ColumnCount };
    constexpr std::array<int, Name> kMinWidth = {3, 9, 10, 10, 10, 10};
    std::array<QStringList, ColumnCount> cells;
    const auto row = [&cells](const QStringList& values) {
        for (int c = 0; c < ColumnCount; ++c)
            cells[static_cast<std::size_t>(c)] << values.value(c);
    };
    row({QStringLiteral("N"), QStringLiteral("Время"), QStringLiteral("Высота"), QStringLiteral("Площадь"),
         QStringLiteral("Коэф."), QStringLiteral("Конц.%"), QStringLiteral("    Название")});
    row({QString(), QString(), QString(), QString(), QString(), QString(), QStringLiteral("    ")});
    const int last = std::min(rec.iIdent_Last(), TChromModule::kMaxIdent - 1);
    for (int i = 0; i <= last; ++i) {
        const TIdentRec ident = rec.IdentRec(i);
        const TDetectorEntry& entry = rec.DetectorEntry(detectorOfPeakList(rec, ident.bIdent_PeakList()));
        const std::int64_t peakIndex = static_cast<std::int64_t>(entry.iDet_FirstPeak) + ident.iIdent_Peak();
        const TPeakRec peak =
            rec.PeakRec(peakIndex >= 0 && peakIndex < TChromModule::kMaxPeaks ? static_cast<int>(peakIndex) : -1);
        row({QString::number(static_cast<std::int64_t>(ident.iIdent_Peak()) + 1), fixed(peak.fPeak_Time(), 2),
             fixed(peak.fPeak_Height(), 3), fixed(peak.fPeak_Area(), 3),
             exponent(correctionCoefficient(rec, ident.iIdent_Comp())), fixed(ident.fIdent_Conc(0), 2),
             QStringLiteral("    ") + Short(rec.CompRec(ident.iIdent_Comp()).szComp_Name(), 15)});
    }
    row({QString(), fixed(rec.dContr_Times(), 2), fixed(rec.dChr_HeightSum(), 3), fixed(rec.dChr_AreaSum(), 3),
         QString(), QStringLiteral(" ") + fixed(rec.dChr_ConcSum(), 2), QString()});

    // Right-align the number columns to their longest cell; the name column stays as it is.
    for (int c = 0; c < Name; ++c) {
        QStringList& column = cells[static_cast<std::size_t>(c)];
        qsizetype width = kMinWidth[static_cast<std::size_t>(c)];
        for (const QString& cell : column)
            width = std::max(width, cell.size());
        for (QString& cell : column)
            cell = cell.rightJustified(width, QLatin1Char(' '));
    }
    const bool withCoefficient = rec.bMeth_CalcMethod() != 0;
    const qsizetype rows = cells[0].size();
    for (qsizetype r = 0; r < rows; ++r) {
        if (r == rows - 1)
            lines << QString(kRuleLength, QLatin1Char('_'));
        QString line;
        for (int c = 0; c < ColumnCount; ++c)
            if (c != Coefficient || withCoefficient)
                line += cells[static_cast<std::size_t>(c)][r];
        lines << line;
    }
}

} // namespace

QStringList TextExportLines(const TChromModule& rec, const TPrintSettings& settings) {
    QStringList lines;
    lines << QString();

    const FitResult sample = Fit(QStringLiteral("ПРОБА:   ") + Join(samplePrefix(rec) + rec.szChr_SampleName()), 56);
    lines << sample.line;
    if (!sample.rest.isEmpty())
        lines << Fit(QString(9, QLatin1Char(' ')) + Join(sample.rest), 56).line;

    const QString date = dateText(rec.dChr_DateTime());
    lines << Fit(QStringLiteral("Дата/время отбора: ") + date, 56).line;
    lines << Fit(QStringLiteral("MЕТОД: ") + Fit(Short(BaseName(rec.szFileMethod()), 8) + QStringLiteral(".MET"), 12).line +
                     QStringLiteral(";  Оператор: ") + rec.szNameMan(),
                 56)
                 .line;
    lines << Fit(QStringLiteral("Файл ") + Fit(Short(BaseName(settings.szNameFile()), 8) + QStringLiteral(".CHR"), 12).line +
                     QStringLiteral(" дата/время записи ") + date,
                 56)
                 .line;
    lines << QStringLiteral("Опорный канал: ") + QString::number(referenceChannel(rec));
    lines << QStringLiteral(" ");
    lines << QStringLiteral("Метод расчета: ") + rec.CalcMethodNameShort(QString());
    lines << QStringLiteral(" ");

    if (rec.iIdent_Last() >= 0)
        appendTable(lines, rec);
    lines << QString();
    return lines;
}

bool WriteTextExport(const QString& fileName, const TChromModule& rec, const TPrintSettings& settings) {
    const QString text = TextExportLines(rec, settings).join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
    return SaveWholeFile(fileName, tarvex::toCp866(text));
}
