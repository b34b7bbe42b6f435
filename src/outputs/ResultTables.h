#pragma once
// Headers and cell texts of the chromatogram's three result tables (peaks, identification,
// groups), as the printed report shows them and as the result files repeat them.

#include <QLocale>
#include <QString>

class TChromModule;
class TPrintSettings;

/**
 * The cell texts the result files take from the report's tables. Columns count from 1. A
 * `forceGeneral` number ignores the column's format code and gives the shortest exact form
 * (up to 15 significant digits) so that a spreadsheet can format it itself. `numbers` gives
 * the decimal separator of every number written.
 *
 * The report data module may implement this itself; TResultTables reads the print-job record.
 */
class TTableTexts {
public:
    virtual ~TTableTexts() = default;

    virtual QString PeakColumnHeader(int c) const = 0;
    /// Column `c` of the peak `firstPeak + row` (row from 0) of the detector named `detectorName`.
    virtual QString PeakValue(int row, int firstPeak, bool forceGeneral, const QString& detectorName, int c,
                              const QLocale& numbers) const = 0;

    virtual QString IdentColumnHeader(int c) const = 0;
    /// Column `c` of identification row `row` (from 0).
    virtual QString IdentValue(int row, int c, bool forceGeneral, const QLocale& numbers) const = 0;

    virtual QString GroupColumnHeader(int c) const = 0;
    /// Column `c` of group-result row `row` (from 0).
    virtual QString GroupValue(int row, int c, bool forceGeneral, const QLocale& numbers) const = 0;
};

/**
 * The table texts read from the print-job record and the print settings (column format codes
 * and the identification row order). Both are borrowed and must outlive this object. Indexes
 * outside what the record holds read as zero and empty texts.
 */
class TResultTables final : public TTableTexts {
public:
    static constexpr int kPeakColumns = 12;
    static constexpr int kIdentColumns = 10;
    static constexpr int kGroupColumns = 10;

    TResultTables(const TChromModule& rec, const TPrintSettings& settings) : rec_(rec), settings_(settings) {}

    QString PeakColumnHeader(int c) const override;
    QString PeakValue(int row, int firstPeak, bool forceGeneral, const QString& detectorName, int c,
                      const QLocale& numbers) const override;
    QString IdentColumnHeader(int c) const override;
    QString IdentValue(int row, int c, bool forceGeneral, const QLocale& numbers) const override;
    QString GroupColumnHeader(int c) const override;
    QString GroupValue(int row, int c, bool forceGeneral, const QLocale& numbers) const override;

    /// The six-character peak type code of peak flags `flags`.
    static QString PeakTypeCode(unsigned flags);

private:
    /// Index of the last detector entry holding peak list `list`; -1 when none does.
    int detectorOfPeakList(int list) const;
    QString concentrationName(int n) const;

    const TChromModule& rec_;
    const TPrintSettings& settings_;
};
