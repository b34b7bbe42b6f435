#include "ValueFormat.h"

#include "Bilingual.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

// Digits and decimal exponent of |value| rounded to `precision` significant digits:
// value = 0.d1d2d3... * 10^exponent. printf does the rounding, so ties go as the C library goes.
struct Digits {
    QString digits; // without trailing zeros, at least one digit
    int exponent = 0;
};

Digits significant(double value, int precision) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*e", precision - 1, std::fabs(value));
    // buf: d.dddde[+-]xx
    Digits d;
    const char* p = buf;
    for (; *p && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9')
            d.digits += QLatin1Char(*p);
    d.exponent = (*p == 'e') ? std::atoi(p + 1) + 1 : 1;
    while (d.digits.size() > 1 && d.digits.endsWith(QLatin1Char('0')))
        d.digits.chop(1);
    return d;
}

QString withSeparator(QString text, const QLocale& locale) {
    return text.replace(QLatin1Char('.'), locale.decimalPoint());
}

QString sign(double value) { return std::signbit(value) && value != 0 ? QStringLiteral("-") : QString(); }

// Scientific text: d.ddd, "E", the exponent's sign ("+" only when `plus`), at least `minDigits`
// exponent digits.
QString scientific(const Digits& d, bool keepZeros, int precision, int minDigits, bool plus, const QLocale& locale) {
    QString mantissa = d.digits;
    if (keepZeros)
        mantissa = mantissa.leftJustified(precision, QLatin1Char('0'));
    QString text = mantissa.left(1);
    if (mantissa.size() > 1)
        text += locale.decimalPoint() + mantissa.mid(1);
    const int e = d.exponent - 1;
    text += QLatin1Char('E');
    if (e < 0)
        text += QLatin1Char('-');
    else if (plus)
        text += QLatin1Char('+');
    text += QString::number(std::abs(e)).rightJustified(minDigits, QLatin1Char('0'));
    return text;
}

} // namespace

QLocale ReportNumberLocale() {
    QLocale locale = QLocale::system();
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale;
}

QString QuoteText(const QString& text) {
    QString out = text;
    out.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + out + QLatin1Char('\'');
}

QString GeneralNumber(double value, int precision, int digits, const QLocale& locale) {
    if (!std::isfinite(value))
        return QStringLiteral("0");
    if (precision < 1)
        precision = 1;
    if (precision > 18)
        precision = 18;
    if (value == 0)
        return QStringLiteral("0");
    const Digits d = significant(value, precision);
    if (d.exponent > precision || std::fabs(value) < 1e-5)
        return sign(value) + scientific(d, false, precision, digits, false, locale);
    QString text;
    if (d.exponent <= 0) {
        text = QStringLiteral("0.") + QString(-d.exponent, QLatin1Char('0')) + d.digits;
    } else if (d.digits.size() <= d.exponent) {
        text = d.digits + QString(d.exponent - d.digits.size(), QLatin1Char('0'));
    } else {
        text = d.digits.left(d.exponent) + QLatin1Char('.') + d.digits.mid(d.exponent);
    }
    return sign(value) + withSeparator(text, locale);
}

QString FormatByCode(int code, bool forceGeneral, double value, const QLocale& locale) {
    if (!std::isfinite(value))
        return QStringLiteral("0");
    if (forceGeneral)
        return GeneralNumber(value, 15, 0, locale);
    if (code >= 0 && code <= 5) {
        // Rounded to 12 significant digits first; a number with more integer digits than that
        // cannot be shown in fixed form and takes the general form instead.
        if (std::fabs(value) >= 1e12)
            return GeneralNumber(value, 12, 0, locale);
        const double rounded = QString::number(value, 'g', 12).toDouble();
        QString text = QString::number(rounded, 'f', code + 1);
        if (text.startsWith(QLatin1Char('-')) && text.mid(1).count(QLatin1Char('0')) == text.size() - 2)
            text.remove(0, 1); // -0.00 is 0.00
        return withSeparator(text, locale);
    }
    if (code >= 6 && code <= 10) {
        if (value == 0)
            return QStringLiteral("00") + locale.decimalPoint() + QStringLiteral("00");
        const int precision = code - 3;
        return sign(value) + scientific(significant(value, precision), true, precision, 2, true, locale);
    }
    return {};
}

QString FormatGeneral(int precision, int digits, bool dashForZero, double value, const QLocale& locale) {
    if (dashForZero && value == 0)
        return QuoteText(QStringLiteral("-"));
    return QuoteText(GeneralNumber(value, precision, digits, locale));
}

QString YesNo(int flag) {
    return QuoteText(tarvex::Pick(flag != 0 ? QStringLiteral("Да\r\nYes") : QStringLiteral("Нет\r\nNo")));
}
