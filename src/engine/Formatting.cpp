#include "Formatting.h"

#include <algorithm>

#include <cmath>

namespace tarvex::engine {

namespace {

QString groupThousands(const QString& digits, QChar thousands)
{
    QString out;
    const int n = int(digits.size());
    for (int i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out += thousands;
        out += digits[i];
    }
    return out;
}

// Splits a FormatFloat picture into sections, respecting quoted literals.
QStringList pictureSections(const QString& picture)
{
    QStringList sections;
    QString cur;
    QChar quote;
    for (QChar c : picture) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            cur += c;
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            quote = c;
            cur += c;
        } else if (c == QLatin1Char(';')) {
            sections << cur;
            cur.clear();
        } else {
            cur += c;
        }
    }
    sections << cur;
    return sections;
}

QString formatSection(const QString& pic, double value, const NumberSeparators& sep)
{
    // Analyse the picture: digit places before and after the point, thousands, exponent.
    int intZeros = 0, intPlaces = 0, fracZeros = 0, fracPlaces = 0;
    bool seenPoint = false, thousands = false;
    int expPos = -1, expDigits = 0;
    bool expPlus = false;
    QChar quote;
    for (int i = 0; i < pic.size(); ++i) {
        const QChar c = pic[i];
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            continue;
        }
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            quote = c;
        } else if (c == QLatin1Char('0') || c == QLatin1Char('#')) {
            if (expPos >= 0)
                continue;
            if (seenPoint) {
                ++fracPlaces;
                if (c == QLatin1Char('0'))
                    fracZeros = fracPlaces;
            } else {
                ++intPlaces;
                if (c == QLatin1Char('0'))
                    ++intZeros;
            }
        } else if (c == QLatin1Char('.') && expPos < 0) {
            seenPoint = true;
        } else if (c == QLatin1Char(',') && expPos < 0) {
            thousands = true;
        } else if ((c == QLatin1Char('E') || c == QLatin1Char('e')) && expPos < 0 && i + 1 < pic.size()
                   && (pic[i + 1] == QLatin1Char('+') || pic[i + 1] == QLatin1Char('-'))) {
            expPos = i;
            expPlus = pic[i + 1] == QLatin1Char('+');
            int j = i + 2;
            while (j < pic.size() && pic[j] == QLatin1Char('0')) {
                ++expDigits;
                ++j;
            }
        }
    }
    if (intPlaces == 0 && fracPlaces == 0 && expPos < 0)
        return pic; // A picture without digit places is a literal.

    double v = std::fabs(value);
    int exponent = 0;
    if (expPos >= 0 && v != 0.0) {
        exponent = static_cast<int>(std::floor(std::log10(v))) - (std::max(intPlaces, 1) - 1);
        v /= std::pow(10.0, exponent);
        // Rounding can carry into a new digit (9.99 -> 10.0).
        const double r = std::round(v * std::pow(10.0, fracPlaces)) / std::pow(10.0, fracPlaces);
        if (r >= std::pow(10.0, std::max(intPlaces, 1))) {
            v /= 10.0;
            ++exponent;
        }
    }
    QString fixed = QString::number(v, 'f', fracPlaces);
    QString intPart = fixed.section(QLatin1Char('.'), 0, 0);
    QString fracPart = fixed.section(QLatin1Char('.'), 1, 1);
    // Optional fractional digits ('#') are dropped when they are trailing zeros.
    while (fracPart.size() > fracZeros && fracPart.endsWith(QLatin1Char('0')))
        fracPart.chop(1);
    if (intPart == QLatin1String("0") && intZeros == 0)
        intPart.clear();
    while (intPart.size() < intZeros)
        intPart.prepend(QLatin1Char('0'));
    if (thousands)
        intPart = groupThousands(intPart, sep.thousands);
    QString number = intPart;
    if (!fracPart.isEmpty())
        number += sep.decimal + fracPart;
    if (expPos >= 0) {
        QString e = QString::number(std::abs(exponent));
        while (e.size() < expDigits)
            e.prepend(QLatin1Char('0'));
        number += pic[expPos];
        if (exponent < 0)
            number += QLatin1Char('-');
        else if (expPlus)
            number += QLatin1Char('+');
        number += e;
    }

    // Put the number where the digit places are and copy literals around them.
    QString out;
    bool placed = false;
    quote = QChar();
    for (int i = 0; i < pic.size(); ++i) {
        const QChar c = pic[i];
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            else
                out += c;
            continue;
        }
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            quote = c;
            continue;
        }
        const bool numberChar = c == QLatin1Char('0') || c == QLatin1Char('#') || c == QLatin1Char('.')
                                || c == QLatin1Char(',');
        if (expPos >= 0 && i >= expPos) {
            if (i == expPos || pic[i] == QLatin1Char('+') || pic[i] == QLatin1Char('-') || c == QLatin1Char('0'))
                continue;
        }
        if (numberChar) {
            if (!placed) {
                out += number;
                placed = true;
            }
            continue;
        }
        out += c;
    }
    if (!placed)
        out += number;
    return out;
}

} // namespace

QString formatFloat(const QString& picture, double value, const NumberSeparators& sep)
{
    if (!std::isfinite(value))
        return std::isnan(value) ? QStringLiteral("NAN") : (value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF"));
    if (picture.isEmpty()) {
        QString s = Value(value).toString();
        s.replace(QLatin1Char('.'), sep.decimal);
        return s;
    }
    const QStringList sections = pictureSections(picture);
    if (value == 0.0 && sections.size() >= 3 && !sections[2].isEmpty())
        return formatSection(sections[2], value, sep);
    if (value < 0 && sections.size() >= 2 && !sections[1].isEmpty())
        return formatSection(sections[1], value, sep);
    QString s = formatSection(sections[0], value, sep);
    if (value < 0) {
        // A negative value rounded to zero prints without the sign.
        bool allZero = true;
        for (QChar c : s)
            if (c.isDigit() && c != QLatin1Char('0'))
                allZero = false;
        if (!allZero)
            s.prepend(QLatin1Char('-'));
    }
    return s;
}

QString formatDateTime(const QString& picture, const QDateTime& value)
{
    static const char* const shortDays[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
    static const char* const longDays[] = {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"};
    static const char* const shortMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    static const char* const longMonths[] = {"January", "February", "March",     "April",   "May",      "June",
                                             "July",    "August",   "September", "October", "November", "December"};
    const QDate d = value.date();
    const QTime t = value.time();
    QString out;
    bool lastWasHour = false;
    const int n = int(picture.size());
    int i = 0;
    auto runLength = [&](QChar c) {
        int k = i;
        while (k < n && picture[k].toLower() == c)
            ++k;
        return k - i;
    };
    auto pad = [](int v, int w) { return QString::number(v).rightJustified(w, QLatin1Char('0')); };
    while (i < n) {
        const QChar c = picture[i].toLower();
        if (picture[i] == QLatin1Char('\'') || picture[i] == QLatin1Char('"')) {
            const QChar q = picture[i++];
            while (i < n && picture[i] != q)
                out += picture[i++];
            ++i;
            continue;
        }
        if (picture.mid(i, 5).compare(QLatin1String("am/pm"), Qt::CaseInsensitive) == 0) {
            out += t.hour() < 12 ? QStringLiteral("am") : QStringLiteral("pm");
            i += 5;
            continue;
        }
        if (c == QLatin1Char('d')) {
            const int len = runLength(c);
            if (len == 1)
                out += QString::number(d.day());
            else if (len == 2)
                out += pad(d.day(), 2);
            else if (len == 3)
                out += QLatin1String(d.isValid() ? shortDays[d.dayOfWeek() - 1] : "");
            else
                out += QLatin1String(d.isValid() ? longDays[d.dayOfWeek() - 1] : "");
            i += len;
            lastWasHour = false;
        } else if (c == QLatin1Char('m')) {
            const int len = runLength(c);
            if (lastWasHour && len <= 2)
                out += len == 1 ? QString::number(t.minute()) : pad(t.minute(), 2);
            else if (len == 1)
                out += QString::number(d.month());
            else if (len == 2)
                out += pad(d.month(), 2);
            else if (len == 3)
                out += QLatin1String(d.isValid() ? shortMonths[d.month() - 1] : "");
            else
                out += QLatin1String(d.isValid() ? longMonths[d.month() - 1] : "");
            i += len;
            lastWasHour = false;
        } else if (c == QLatin1Char('y')) {
            const int len = runLength(c);
            out += len <= 2 ? pad(d.year() % 100, 2) : pad(d.year(), 4);
            i += len;
            lastWasHour = false;
        } else if (c == QLatin1Char('h')) {
            const int len = runLength(c);
            out += len == 1 ? QString::number(t.hour()) : pad(t.hour(), 2);
            i += len;
            lastWasHour = true;
        } else if (c == QLatin1Char('n')) {
            const int len = runLength(c);
            out += len == 1 ? QString::number(t.minute()) : pad(t.minute(), 2);
            i += len;
            lastWasHour = false;
        } else if (c == QLatin1Char('s')) {
            const int len = runLength(c);
            out += len == 1 ? QString::number(t.second()) : pad(t.second(), 2);
            i += len;
            lastWasHour = false;
        } else if (c == QLatin1Char('z')) {
            const int len = runLength(c);
            out += len >= 3 ? pad(t.msec(), 3) : QString::number(t.msec());
            i += len;
        } else {
            out += picture[i++];
        }
    }
    return out;
}

QString formatPercent(const QString& format, const Value& value, const NumberSeparators& sep)
{
    const int pct = int(format.indexOf(QLatin1Char('%')));
    if (pct < 0)
        return format.isEmpty() ? value.toString() : format;
    int i = pct + 1;
    const int n = int(format.size());
    auto readInt = [&](int& out) {
        int v = 0;
        bool any = false;
        while (i < n && format[i].isDigit() && v < 1000) {
            v = v * 10 + format[i].digitValue();
            ++i;
            any = true;
        }
        if (any)
            out = v;
        return any;
    };
    if (i < n && format[i] == QLatin1Char('-'))
        ++i;
    int width = 0, prec = -1;
    readInt(width);
    if (i < n && (format[i] == QLatin1Char('.') || format[i] == QLatin1Char(','))) {
        ++i;
        int p = 0;
        if (readInt(p))
            prec = p;
    }
    if (i >= n)
        return value.toString();
    const QChar kind = format[i].toLower();
    const QString before = format.left(pct);
    const QString after = format.mid(i + 1);
    QString body;
    const double d = value.toReal();
    switch (kind.unicode()) {
    case 'd': body = QString::number(value.toInt()); if (prec > 0) body = body.rightJustified(prec, QLatin1Char('0')); break;
    case 'f':
    case 'm': body = QString::number(d, 'f', prec < 0 ? 2 : std::min(prec, 18)); body.replace(QLatin1Char('.'), sep.decimal); break;
    case 'n': {
        const QString fixed = QString::number(std::fabs(d), 'f', prec < 0 ? 2 : std::min(prec, 18));
        const QString ip = fixed.section(QLatin1Char('.'), 0, 0);
        const QString fp = fixed.section(QLatin1Char('.'), 1, 1);
        body = groupThousands(ip, sep.thousands);
        if (!fp.isEmpty())
            body += sep.decimal + fp;
        if (d < 0 && std::any_of(fixed.begin(), fixed.end(), [](QChar c) { return c.isDigit() && c != QLatin1Char('0'); }))
            body.prepend(QLatin1Char('-'));
        break;
    }
    case 'e': body = QString::number(d, 'E', prec < 0 ? 14 : std::max(0, std::min(prec, 18) - 1)); body.replace(QLatin1Char('.'), sep.decimal); break;
    case 'g': body = QString::number(d, 'g', prec < 0 ? 15 : std::max(1, std::min(prec, 18))); body.replace(QLatin1Char('.'), sep.decimal); break;
    case 'x': body = QString::number(value.toInt(), 16).toUpper(); break;
    default: body = value.toString(); break;
    }
    if (body.size() < width)
        body = body.rightJustified(width, QLatin1Char(' '));
    return before + body + after;
}

} // namespace tarvex::engine
