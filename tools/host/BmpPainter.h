#pragma once
// The chromatogram picture the host hands over in block 9: a 24-bit BMP drawn from the signal,
// with time and millivolt axes and the retention time over each peak.

#include <QByteArray>
#include <QJsonObject>
#include <cstdint>
#include <string_view>
#include <vector>

namespace host {

/// A white RGB canvas with lines and a small built-in pixel font, saved as a BMP file image.
class BmpPainter {
public:
    BmpPainter(int width, int height);
    int width() const { return width_; }
    int height() const { return height_; }
    void pixel(int x, int y, std::uint32_t rgb);
    void line(int x0, int y0, int x1, int y1, std::uint32_t rgb);
    /// Text in the 5x7 font (digits, ".", "-", space and the letters of "min" and "mV"), left to
    /// right from (x, y) as its top-left corner, or bottom to top when `vertical`.
    void text(int x, int y, std::string_view text, std::uint32_t rgb, bool vertical = false);
    static int textWidth(std::string_view text) { return static_cast<int>(text.size()) * 6; }
    /// The canvas as a BMP file (bottom-up rows padded to four bytes).
    QByteArray bmp() const;

private:
    int width_;
    int height_;
    std::vector<std::uint32_t> rgb_;
};

/**
 * Draws the job's chromatogram: every channel of `signal` scaled to the plot, the time axis in
 * minutes, the millivolt axis of the first channel, and the retention time of each peak of a
 * channel's recipe over its apex. `picture` may give "width" and "height" (default 600 x 300).
 */
QByteArray drawChromatogram(const QJsonObject& job, const std::vector<std::vector<std::int32_t>>& signal,
                            const QJsonObject& picture);

} // namespace host
