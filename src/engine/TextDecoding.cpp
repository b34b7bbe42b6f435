#include "TextDecoding.h"

namespace tarvex::engine {

namespace {

// Windows-1251 code points for bytes 0x80..0xBF; 0xC0..0xFF map to U+0410..U+044F.
constexpr char16_t kCp1251High[64] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039, 0x040A,
    0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0xFFFD, 0x2122,
    0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6,
    0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456,
    0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457};

constexpr char16_t kCp1252High[32] = {0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD,
                                      0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

} // namespace

QChar decodeSingleByte(char byte, int codePage)
{
    const auto b = static_cast<unsigned char>(byte);
    if (b < 0x80)
        return QChar(char16_t(b));
    if (codePage == 1251) {
        if (b >= 0xC0)
            return QChar(static_cast<char16_t>(0x0410 + (b - 0xC0)));
        return QChar(kCp1251High[b - 0x80]);
    }
    if (codePage == 1252 && b < 0xA0)
        return QChar(kCp1252High[b - 0x80]);
    return QChar(char16_t(b));
}

QString decodeLenientUtf8(const QByteArray& bytes)
{
    QString out;
    out.reserve(bytes.size());
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    if (n >= 3 && p[0] == 0xEF && p[1] == 0xBB && p[2] == 0xBF)
        i = 3;
    while (i < n) {
        const unsigned char c = p[i];
        if (c < 0x80) {
            out += QChar(char16_t(c));
            ++i;
            continue;
        }
        int len = 0;
        char32_t cp = 0;
        if ((c & 0xE0) == 0xC0) {
            len = 2;
            cp = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            len = 3;
            cp = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            len = 4;
            cp = c & 0x07;
        }
        bool valid = len > 0 && i + len <= n;
        for (int k = 1; valid && k < len; ++k) {
            if ((p[i + k] & 0xC0) != 0x80)
                valid = false;
            else
                cp = (cp << 6) | (p[i + k] & 0x3F);
        }
        // Overlong forms, surrogates and out-of-range values are not valid UTF-8 either.
        if (valid) {
            const char32_t minimum = len == 2 ? 0x80 : (len == 3 ? 0x800 : 0x10000);
            if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
                valid = false;
        }
        if (!valid) {
            out += decodeSingleByte(static_cast<char>(c), 1251);
            ++i;
            continue;
        }
        if (cp >= 0x10000) {
            out += QChar(static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)));
            out += QChar(static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
        } else {
            out += QChar(static_cast<char16_t>(cp));
        }
        i += len;
    }
    return out;
}

} // namespace tarvex::engine
