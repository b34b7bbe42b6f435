#pragma once
// Number and date formatting in the notation templates use (the Pascal-style pictures of the original
// report engine): FormatFloat pictures, FormatDateTime pictures and single-argument '%' formats.

#include "Value.h"

#include <QString>

namespace tarvex::engine {

/// Separators used when numbers are written.
struct NumberSeparators {
    QChar decimal = QLatin1Char('.');
    QChar thousands = QLatin1Char(',');
};

/// FormatFloat picture: '0' and '#' digit places, '.' decimal point, ',' thousands, 'E+00' exponent,
/// quoted literals, up to three ';' sections (positive;negative;zero). An empty picture gives the
/// general form with up to 15 digits.
QString formatFloat(const QString& picture, double value, const NumberSeparators& sep = {});

/// FormatDateTime picture: d dd ddd dddd m mm mmm mmmm yy yyyy h hh n nn s ss z zzz am/pm, quoted literals;
/// 'm' directly after an hour counts as minutes. Other characters are copied.
QString formatDateTime(const QString& picture, const QDateTime& value);

/// One-argument '%' format: %d %f %n %e %g %m %s %x with optional width and precision ("%2.2n").
/// Text outside the specifier is copied. Returns the value's text when the format has no specifier.
QString formatPercent(const QString& format, const Value& value, const NumberSeparators& sep = {});

} // namespace tarvex::engine
