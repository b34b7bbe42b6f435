#pragma once
// The shared rules by which every value reaches a report: texts as quoted string expressions,
// table numbers by the column's format code, other numbers in general notation.

#include <QLocale>
#include <QString>

/// Numbers follow the user's regional settings, without thousands separators.
QLocale ReportNumberLocale();

/// 'text' with every apostrophe doubled: the string expression of a report variable.
QString QuoteText(const QString& text);

/**
 * A table cell by its column's format code: 0..5 fixed with code+1 decimals (12 significant
 * digits), 6..10 exponent form with code-3 significant digits and a two-digit signed exponent
 * (0 prints as "00.00"), any other code an empty cell. `forceGeneral` ignores the code and gives
 * the shortest exact form (up to 15 significant digits). A value that cannot be printed (NaN,
 * infinity) gives "0".
 */
QString FormatByCode(int code, bool forceGeneral, double value, const QLocale& locale = ReportNumberLocale());

/// General notation: fixed when the integer part has at most `precision` digits and the value
/// is at least 1e-5 in size, scientific otherwise with at least `digits` exponent digits;
/// trailing zeros dropped. Not quoted.
QString GeneralNumber(double value, int precision, int digits, const QLocale& locale = ReportNumberLocale());

/// GeneralNumber quoted; with `dashForZero` a value of exactly 0 (or -0.0) gives '-'.
QString FormatGeneral(int precision, int digits, bool dashForZero, double value,
                      const QLocale& locale = ReportNumberLocale());

/// 'Да' / 'Yes' for non-zero, 'Нет' / 'No' for zero, in the active language, quoted.
QString YesNo(int flag);
