#pragma once
// The passport that the result files put before the tables: label and value pairs read from
// the print-job record, plus the date and time forms they share.

#include <QDateTime>
#include <QList>
#include <QLocale>
#include <QString>

class TChromModule;

/// One passport line. A number is kept as its decimal text.
struct TPassportItem {
    enum class Kind { Text, Number };
    QString label; // in the active language
    QString value;
    Kind kind = Kind::Text;
};

/// What the result writers need to know about the run beyond the record and the settings.
struct TResultContext {
    /// The data module is in method mode: the device type is the method's.
    bool methodMode = false;
    /// The user's regional settings: date and time forms, and the numbers of printed cells.
    QLocale locale = QLocale::system();
    /// The workbook's creation stamp; invalid means the current local time.
    QDateTime now;
};

/**
 * The fifteen passport items in their fixed order: chromatograph number and type, method file,
 * chromatogram name, sample number and name, operator, additional calculation (empty text when
 * the job has none), printed peak count, identified and group counts, record date and time,
 * calculation type and method name.
 */
QList<TPassportItem> ResultPassport(const TChromModule& rec, const TResultContext& context);

/// Index of the additional-calculation item, which some listings leave out.
constexpr int kPassportAddCalcItem = 7;

/// A host date (days since 30 December 1899, the time of day as fraction); invalid when the
/// value is not a date a calendar can hold.
QDateTime HostDateTime(double days);

/// The locale's short date and long time forms (without a time-zone name, which the host's
/// clock does not have). Empty for an invalid value.
QString ShortDateText(const QDate& date, const QLocale& locale);
QString LongTimeText(const QTime& time, const QLocale& locale);
