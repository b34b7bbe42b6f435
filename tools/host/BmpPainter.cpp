#include "BmpPainter.h"

#include <QJsonArray>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace host {

namespace {

struct Glyph {
    char c;
    std::uint8_t rows[7]; // five columns each, bit 4 leftmost
};

constexpr Glyph kFont[] = {
    {'0', {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}}, {'1', {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    {'2', {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}}, {'3', {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E}},
    {'4', {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}}, {'5', {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E}},
    {'6', {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}}, {'7', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08}},
    {'8', {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}}, {'9', {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C}},
    {'.', {0x00, 0x00, 0x00, 0x00, 0x00, 0x0C, 0x0C}}, {'-', {0x00, 0x00, 0x00, 0x1F, 0x00, 0x00, 0x00}},
    {' ', {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}}, {'m', {0x00, 0x00, 0x1A, 0x15, 0x15, 0x11, 0x11}},
    {'i', {0x04, 0x00, 0x0C, 0x04, 0x04, 0x04, 0x0E}}, {'n', {0x00, 0x00, 0x16, 0x19, 0x11, 0x11, 0x11}},
    {'V', {0x11, 0x11, 0x11, 0x11, 0x11, 0x0A, 0x04}},
};

const Glyph* glyph(char c) {
    for (const Glyph& g : kFont)
        if (g.c == c)
            return &g;
    return nullptr;
}

constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kGrid = 0xC8C8C8;
constexpr std::uint32_t kChannelColours[] = {0x000000, 0x0000C0, 0xC00000, 0x008000, 0x806000,
                                             0x800080, 0x008080, 0x404040, 0xC06000, 0x6060C0};

void putLE(QByteArray& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.append(static_cast<char>((value >> (8 * i)) & 0xFF));
}

std::string number(double value, int decimals) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    return buffer;
}

/// A tick step of 1, 2 or 5 times a power of ten that gives at most `most` ticks over `range`.
double tickStep(double range, int most) {
    if (range <= 0)
        return 1;
    const double raw = range / most;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double m : {1.0, 2.0, 5.0, 10.0})
        if (m * power >= raw)
            return m * power;
    return 10 * power;
}

} // namespace

BmpPainter::BmpPainter(int width, int height)
    : width_(std::max(width, 1)), height_(std::max(height, 1)),
      rgb_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), 0xFFFFFF) {}

void BmpPainter::pixel(int x, int y, std::uint32_t rgb) {
    if (x >= 0 && y >= 0 && x < width_ && y < height_)
        rgb_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)] = rgb;
}

void BmpPainter::line(int x0, int y0, int x1, int y1, std::uint32_t rgb) {
    const int dx = std::abs(x1 - x0);
    const int dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1;
    const int sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
        pixel(x0, y0, rgb);
        if (x0 == x1 && y0 == y1)
            break;
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
}

void BmpPainter::text(int x, int y, std::string_view text, std::uint32_t rgb, bool vertical) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const Glyph* g = glyph(text[i]);
        if (!g)
            continue;
        const int advance = static_cast<int>(i) * 6;
        for (int row = 0; row < 7; ++row)
            for (int col = 0; col < 5; ++col) {
                if (!(g->rows[row] & (0x10 >> col)))
                    continue;
                if (vertical) // turned a quarter to the left: reads from bottom to top
                    pixel(x + row, y - advance - col, rgb);
                else
                    pixel(x + advance + col, y + row, rgb);
            }
    }
}

QByteArray BmpPainter::bmp() const {
    const int rowBytes = (width_ * 3 + 3) / 4 * 4;
    const std::uint32_t imageSize = static_cast<std::uint32_t>(rowBytes * height_);
    QByteArray out;
    out.reserve(static_cast<qsizetype>(54 + imageSize));
    out.append("BM", 2);
    putLE(out, 54 + imageSize, 4);
    putLE(out, 0, 4);
    putLE(out, 54, 4);
    putLE(out, 40, 4);
    putLE(out, static_cast<std::uint32_t>(width_), 4);
    putLE(out, static_cast<std::uint32_t>(height_), 4);
    putLE(out, 1, 2);
    putLE(out, 24, 2);
    putLE(out, 0, 4);
    putLE(out, imageSize, 4);
    putLE(out, 2835, 4); // 72 dots per inch
    putLE(out, 2835, 4);
    putLE(out, 0, 4);
    putLE(out, 0, 4);
    for (int y = height_ - 1; y >= 0; --y) {
        for (int x = 0; x < width_; ++x) {
            const std::uint32_t c = rgb_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                                         static_cast<std::size_t>(x)];
            out.append(static_cast<char>(c & 0xFF));
            out.append(static_cast<char>((c >> 8) & 0xFF));
            out.append(static_cast<char>((c >> 16) & 0xFF));
        }
        for (int pad = width_ * 3; pad < rowBytes; ++pad)
            out.append('\0');
    }
    return out;
}

QByteArray drawChromatogram(const QJsonObject& job, const std::vector<std::vector<std::int32_t>>& signal,
                            const QJsonObject& picture) {
    BmpPainter canvas(picture.value(QStringLiteral("width")).toInt(600),
                      picture.value(QStringLiteral("height")).toInt(300));
    const QJsonObject chrom = job.value(QStringLiteral("chromatogram")).toObject();
    const double rate = chrom.value(QStringLiteral("fChr_Rate")).toDouble(10);
    const double scale = chrom.value(QStringLiteral("dChr_AdcScale")).toDouble(1);
    const int left = 46, right = canvas.width() - 10, top = 40, bottom = canvas.height() - 24;
    if (right <= left || bottom <= top)
        return canvas.bmp();
    const std::size_t points = signal.empty() ? 0 : signal[0].size();
    const double minutes = points > 1 && rate > 0 ? static_cast<double>(points - 1) / rate / 60.0 : 1.0;
    const auto xOf = [&](double t) { return left + static_cast<int>(std::lround(t / minutes * (right - left))); };

    // Time axis with its grid, then the millivolt axis of the first channel.
    const double step = tickStep(minutes, 10);
    for (double t = 0; t <= minutes + 1e-9; t += step) {
        canvas.line(xOf(t), top, xOf(t), bottom, kGrid);
        canvas.line(xOf(t), bottom, xOf(t), bottom + 3, kBlack);
        const std::string label = number(t, step < 1 ? 1 : 0);
        canvas.text(xOf(t) - BmpPainter::textWidth(label) / 2, bottom + 6, label, kBlack);
    }
    canvas.text(right - BmpPainter::textWidth("min"), bottom + 15, "min", kBlack);
    canvas.line(left, bottom, right, bottom, kBlack);
    canvas.line(left, top, left, bottom, kBlack);

    std::vector<std::pair<double, double>> ranges;
    for (const auto& channel : signal) {
        const auto [lo, hi] = std::minmax_element(channel.begin(), channel.end());
        const double a = channel.empty() ? 0 : *lo, b = channel.empty() ? 1 : *hi;
        ranges.emplace_back(a, b > a ? b : a + 1);
    }
    const auto yOf = [&](std::size_t c, double raw) {
        const auto [lo, hi] = ranges[c];
        return bottom - static_cast<int>(std::lround((raw - lo) / (hi - lo) * (bottom - top)));
    };
    if (!signal.empty()) {
        const double loMv = ranges[0].first * scale, hiMv = ranges[0].second * scale;
        const double mvStep = tickStep(hiMv - loMv, 5);
        for (double v = std::ceil(loMv / mvStep) * mvStep; v <= hiMv; v += mvStep) {
            const int y = yOf(0, v / scale);
            canvas.line(left - 3, y, left, y, kBlack);
            const std::string label = number(v, mvStep < 1 ? 1 : 0);
            canvas.text(left - 5 - BmpPainter::textWidth(label), y - 3, label, kBlack);
        }
        canvas.text(4, top - 10, "mV", kBlack);
    }

    for (std::size_t c = 0; c < signal.size(); ++c) {
        const std::uint32_t colour = kChannelColours[c % std::size(kChannelColours)];
        for (std::size_t p = 1; p < points; ++p)
            canvas.line(xOf((p - 1) / rate / 60.0), yOf(c, signal[c][p - 1]), xOf(p / rate / 60.0),
                        yOf(c, signal[c][p]), colour);
    }

    // Retention times over the apexes of the peaks each channel was made from.
    const QJsonValue recipe = job.value(QStringLiteral("signal"));
    const QJsonValue peaksValue = job.value(QStringLiteral("peaks"));
    if (recipe.isObject() && points > 0) {
        const QJsonArray channels = recipe.toObject().value(QStringLiteral("channels")).toArray();
        const QJsonArray times = peaksValue.isObject()
                                     ? peaksValue.toObject().value(QStringLiteral("fPeak_Time")).toArray()
                                     : QJsonArray();
        const QJsonArray rows = peaksValue.isArray() ? peaksValue.toArray() : QJsonArray();
        for (qsizetype c = 0; c < channels.size() && static_cast<std::size_t>(c) < signal.size(); ++c) {
            const QJsonArray span = channels[c].toObject().value(QStringLiteral("peaks")).toArray();
            const int first = span.size() > 0 ? span[0].toInt() : 0;
            const int count = span.size() > 1 ? span[1].toInt() : 0;
            for (int k = first; k < first + count; ++k) {
                const double t = rows.isEmpty() ? times.at(k).toDouble()
                                                : rows.at(k).toObject().value(QStringLiteral("fPeak_Time")).toDouble();
                const std::size_t p = std::min(points - 1, static_cast<std::size_t>(std::lround(t * 60 * rate)));
                const std::string label = number(t, 2);
                const int y = std::max(top - 2 + BmpPainter::textWidth(label), yOf(static_cast<std::size_t>(c), signal[static_cast<std::size_t>(c)][p]) - 4);
                canvas.text(xOf(t) - 3, y, label, kChannelColours[static_cast<std::size_t>(c) % std::size(kChannelColours)], true);
            }
        }
    }
    return canvas.bmp();
}

} // namespace host
